#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"
#include "tests/support/MovieProbe.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using platform::PixelBuffer;
using platform::VideoWriter;

namespace {

void fill(PixelBuffer& buffer, int y0, int y1, uint8_t r, uint8_t g, uint8_t b)
{
    for (int y = y0; y < y1; ++y) {
        for (int x = 0; x < buffer.width(); ++x) {
            uint8_t* pixel = buffer.row(y) + x * 4;
            pixel[0] = 255;
            pixel[1] = r;
            pixel[2] = g;
            pixel[3] = b;
        }
    }
}

class VideoWriterTest : public testing::Test {
protected:
    QString path() const { return m_directory.filePath("movie.mp4"); }

    QTemporaryDir m_directory;
};

// Rows are padded with bright garbage: a writer that stepped by width × 4
// would slant the picture and let the garbage in.
TEST_F(VideoWriterTest, WritesOneBt709H264TrackWithFrameKAtKOver24Seconds)
{
    const int width = 64, height = 48, frames = 26;
    VideoWriter writer(path(), width, height, 24);
    ASSERT_TRUE(writer.start()) << qPrintable(writer.errorMessage());
    for (int k = 0; k < frames; ++k) {
        auto frame = PixelBuffer::create(width, height, width * 4 + 36);
        std::memset(frame->data(), 0xff, frame->byteCount());
        fill(*frame, 0, height, 0, 0, 0);
        // A grey bar whose height tells the frames apart, over red.
        fill(*frame, 0, 8 + 4 * (k % 6), 160, 160, 160);
        fill(*frame, 32, height, 255, 0, 0);
        ASSERT_TRUE(writer.append(*frame, k)) << qPrintable(writer.errorMessage());
    }
    ASSERT_TRUE(writer.finish()) << qPrintable(writer.errorMessage());
    EXPECT_EQ(writer.status(), VideoWriter::Status::Completed);

    const auto probe = probeMovie(path(), true);
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->streams, 1);
    EXPECT_TRUE(probe->isH264);
    EXPECT_EQ(probe->width, width);
    EXPECT_EQ(probe->height, height);
    EXPECT_EQ(probe->frameRate, 24.0);
    ASSERT_EQ(probe->presentationTimes.size(), size_t(frames));
    for (int k = 0; k < frames; ++k)
        EXPECT_TRUE(probe->isAtSeconds(probe->presentationTimes[k], k, 24)) << "frame " << k;
    EXPECT_TRUE(probe->isAtSeconds(probe->duration, frames, 24));
    EXPECT_TRUE(probe->indexBeforeData);
    EXPECT_TRUE(probe->taggedBt709);

    ASSERT_EQ(probe->lumaPictures.size(), size_t(frames));
    for (int k = 0; k < frames; ++k) {
        const int barEnd = 8 + 4 * (k % 6);
        for (int x : { 2, width / 2, width - 3 }) {
            SCOPED_TRACE(testing::Message() << "frame " << k << " x " << x);
            auto luma = [&](int y) { return probe->lumaPictures[k][y * width + x]; };
            // Grey 160 is 16 + 219 × 160/255 ≈ 153 and black 16; pure red is
            // 63 under BT.709 as tagged (81 under BT.601).
            EXPECT_NEAR(luma(barEnd - 2), 153, 6);
            EXPECT_NEAR(luma(barEnd + 2), 16, 6);
            EXPECT_NEAR(luma(40), 63, 5);
        }
    }
}

TEST_F(VideoWriterTest, SizesTheEncoderCannotTakeAndUnwritableFilesFailAtStart)
{
    const struct {
        int width, height;
    } sizes[] = { { 0, 0 }, { -64, 48 }, { 63, 48 }, { 64, 47 }, { 16400, 16 }, { 16, 16400 } };
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " × " << size.height);
        VideoWriter writer(path(), size.width, size.height, 24);
        EXPECT_FALSE(writer.start());
        EXPECT_EQ(writer.status(), VideoWriter::Status::Failed);
        EXPECT_FALSE(writer.errorMessage().isEmpty());
        EXPECT_FALSE(writer.isReadyForMoreMediaData());
        EXPECT_FALSE(QFile::exists(path()));
    }
    VideoWriter writer(m_directory.filePath("no such folder/movie.mp4"), 64, 48, 24);
    EXPECT_FALSE(writer.start());
    EXPECT_FALSE(writer.errorMessage().isEmpty());
}

TEST_F(VideoWriterTest, FailedAppendsCancellingAndDroppingUnfinishedWritersRemoveTheFile)
{
    auto good = PixelBuffer::create(64, 48);
    auto wrongSize = PixelBuffer::create(32, 48);
    const std::function<bool(VideoWriter&)> faults[] = {
        [&](VideoWriter& w) { return w.append(*wrongSize, 1); },
        [&](VideoWriter& w) { return w.append(*good, 0); }, // indexes must rise
        [&](VideoWriter& w) { return w.append(good->data(), 64 * 4 - 4, 1); },
        [&](VideoWriter& w) { return w.append(nullptr, 64 * 4, 1); },
    };
    for (size_t i = 0; i < std::size(faults); ++i) {
        SCOPED_TRACE(i);
        VideoWriter writer(path(), 64, 48, 24);
        ASSERT_TRUE(writer.start());
        ASSERT_TRUE(writer.append(*good, 0));
        EXPECT_FALSE(faults[i](writer));
        EXPECT_EQ(writer.status(), VideoWriter::Status::Failed);
        EXPECT_FALSE(QFile::exists(path()));
        EXPECT_FALSE(writer.append(*good, 2));
        EXPECT_FALSE(writer.finish());
    }

    VideoWriter cancelled(path(), 64, 48, 24);
    ASSERT_TRUE(cancelled.start());
    ASSERT_TRUE(cancelled.append(*good, 0));
    EXPECT_TRUE(QFile::exists(path()));
    cancelled.cancel();
    EXPECT_EQ(cancelled.status(), VideoWriter::Status::Cancelled);
    EXPECT_FALSE(QFile::exists(path()));
    {
        VideoWriter dropped(path(), 64, 48, 24);
        ASSERT_TRUE(dropped.start());
        ASSERT_TRUE(dropped.append(*good, 0));
    }
    EXPECT_FALSE(QFile::exists(path()));
}

}

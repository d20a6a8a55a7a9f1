#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"
#include "tests/support/MovieProbe.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

using platform::PixelBuffer;
using platform::VideoWriter;

namespace {

void fill(PixelBuffer& buffer, int x0, int y0, int x1, int y1, uint8_t r, uint8_t g, uint8_t b)
{
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
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
    QString path(const char* name = "movie.mp4") const { return m_directory.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_directory;
};

TEST_F(VideoWriterTest, WritesOneH264TrackWithFrameKAtKOver24Seconds)
{
    VideoWriter writer(path(), 64, 48, 24);
    ASSERT_TRUE(writer.start()) << qPrintable(writer.errorMessage());
    auto frame = PixelBuffer::create(64, 48);
    const int frames = 30;
    for (int k = 0; k < frames; ++k) {
        fill(*frame, 0, 0, 64, 48, uint8_t(k * 8), 20, 40);
        ASSERT_TRUE(writer.append(*frame, k)) << qPrintable(writer.errorMessage());
    }
    ASSERT_TRUE(writer.finish()) << qPrintable(writer.errorMessage());
    EXPECT_EQ(writer.status(), VideoWriter::Status::Completed);

    const auto probe = probeMovie(path());
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->videoStreams, 1);
    EXPECT_EQ(probe->otherStreams, 0);
    EXPECT_TRUE(probe->isH264);
    EXPECT_EQ(probe->width, 64);
    EXPECT_EQ(probe->height, 48);
    EXPECT_EQ(probe->frameRateNumerator, 24);
    EXPECT_EQ(probe->frameRateDenominator, 1);
    ASSERT_EQ(probe->presentationTimes.size(), size_t(frames));
    for (int k = 0; k < frames; ++k)
        EXPECT_TRUE(probe->isAtSeconds(probe->presentationTimes[k], k, 24)) << "frame " << k;
    EXPECT_TRUE(probe->isAtSeconds(probe->presentationTimes[24], 1, 1));
    EXPECT_TRUE(probe->isAtSeconds(probe->duration, frames, 24));
    EXPECT_TRUE(probe->indexBeforeData);
    EXPECT_TRUE(probe->taggedBt709);
}

// Rows padded with bright garbage: a writer that stepped by width × 4 would
// slant the picture and let the garbage in. The colours must come out as the
// stream's BT.709 tag says.
TEST_F(VideoWriterTest, HonoursPaddedRowsAndKeepsPicturesAndColoursInOrder)
{
    const int width = 64, height = 48, frames = 6;
    VideoWriter writer(path(), width, height, 24);
    ASSERT_TRUE(writer.start());
    for (int k = 0; k < frames; ++k) {
        auto frame = PixelBuffer::create(width, height, width * 4 + 36);
        ASSERT_TRUE(frame);
        std::memset(frame->data(), 0xff, frame->byteCount());
        fill(*frame, 0, 0, width, height, 0, 0, 0);
        // A grey bar whose height tells the frame apart, over red.
        fill(*frame, 0, 0, width, 8 + 4 * k, 160, 160, 160);
        fill(*frame, 0, 32, width, height, 255, 0, 0);
        ASSERT_TRUE(writer.append(*frame, k));
    }
    ASSERT_TRUE(writer.finish());

    const auto pictures = decodeMovie(path());
    ASSERT_EQ(pictures.size(), size_t(frames));
    for (int k = 0; k < frames; ++k) {
        const DecodedPicture& picture = pictures[k];
        const int barEnd = 8 + 4 * k;
        for (int x : { 2, width / 2, width - 3 }) {
            // Grey 160 is luma 16 + 219 × 160/255 ≈ 153; black is 16.
            EXPECT_NEAR(picture.y(x, barEnd - 2), 153, 6) << "frame " << k << " x " << x;
            EXPECT_NEAR(picture.y(x, barEnd + 2), 16, 6) << "frame " << k << " x " << x;
            // Pure red under BT.709: Y ≈ 63, Cr ≈ 240 (BT.601 would give Y ≈ 81).
            EXPECT_NEAR(picture.y(x, 40), 63, 5) << "frame " << k << " x " << x;
            EXPECT_NEAR(picture.v(x, 40), 240, 6) << "frame " << k << " x " << x;
        }
    }
}

TEST_F(VideoWriterTest, SizesTheEncoderCannotTakeFailAtStartWithoutAFile)
{
    const struct {
        int width, height;
    } sizes[] = { { 0, 0 }, { 64, 0 }, { -64, 48 }, { 63, 48 }, { 64, 47 }, { 16400, 16 }, { 16, 16400 } };
    for (const auto& size : sizes) {
        VideoWriter writer(path(), size.width, size.height, 24);
        EXPECT_FALSE(writer.start()) << size.width << " × " << size.height;
        EXPECT_EQ(writer.status(), VideoWriter::Status::Failed);
        EXPECT_FALSE(writer.errorMessage().isEmpty());
        EXPECT_FALSE(writer.isReadyForMoreMediaData());
        EXPECT_FALSE(QFile::exists(path())) << size.width << " × " << size.height;
    }
}

TEST_F(VideoWriterTest, AFileThatCannotBeMadeFailsAtStart)
{
    VideoWriter writer(path("no such folder/movie.mp4"), 64, 48, 24);
    EXPECT_FALSE(writer.start());
    EXPECT_FALSE(writer.errorMessage().isEmpty());
}

TEST_F(VideoWriterTest, AFailedAppendEndsWritingAndRemovesTheFile)
{
    auto good = PixelBuffer::create(64, 48);
    auto wrongSize = PixelBuffer::create(32, 48);

    VideoWriter wrong(path(), 64, 48, 24);
    ASSERT_TRUE(wrong.start());
    ASSERT_TRUE(wrong.append(*good, 0));
    EXPECT_FALSE(wrong.append(*wrongSize, 1));
    EXPECT_EQ(wrong.status(), VideoWriter::Status::Failed);
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_FALSE(wrong.append(*good, 2));
    EXPECT_FALSE(wrong.finish());

    VideoWriter backwards(path(), 64, 48, 24);
    ASSERT_TRUE(backwards.start());
    ASSERT_TRUE(backwards.append(*good, 3));
    EXPECT_FALSE(backwards.append(*good, 3));
    EXPECT_FALSE(QFile::exists(path()));

    VideoWriter shortRows(path(), 64, 48, 24);
    ASSERT_TRUE(shortRows.start());
    EXPECT_FALSE(shortRows.append(good->data(), 64 * 4 - 4, 0));
    EXPECT_FALSE(shortRows.append(nullptr, 64 * 4, 0));
}

TEST_F(VideoWriterTest, CancellingOrDroppingAnUnfinishedWriterRemovesTheFile)
{
    auto frame = PixelBuffer::create(64, 48);
    {
        VideoWriter writer(path(), 64, 48, 24);
        ASSERT_TRUE(writer.start());
        ASSERT_TRUE(writer.append(*frame, 0));
        EXPECT_TRUE(QFile::exists(path()));
        writer.cancel();
        EXPECT_EQ(writer.status(), VideoWriter::Status::Cancelled);
        EXPECT_FALSE(QFile::exists(path()));
    }
    {
        VideoWriter writer(path(), 64, 48, 24);
        ASSERT_TRUE(writer.start());
        ASSERT_TRUE(writer.append(*frame, 0));
    }
    EXPECT_FALSE(QFile::exists(path()));
}

// The MPEG-4 writer leaves out a track without samples, so an empty movie is
// a valid file with nothing in it.
TEST_F(VideoWriterTest, AMovieWithoutFramesIsAValidFileWithoutATrack)
{
    VideoWriter writer(path(), 64, 48, 24);
    ASSERT_TRUE(writer.start());
    ASSERT_TRUE(writer.finish()) << qPrintable(writer.errorMessage());
    const auto probe = probeMovie(path());
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->videoStreams, 0);
    EXPECT_TRUE(probe->presentationTimes.empty());
    EXPECT_FALSE(writer.start());
    EXPECT_EQ(writer.status(), VideoWriter::Status::Completed);
}

TEST(PixelBufferTest, PadsRowsAndRefusesSizesNoFrameCanHave)
{
    auto buffer = PixelBuffer::create(10, 3);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(buffer->bytesPerRow(), 64);
    EXPECT_EQ(buffer->row(2) - buffer->data(), 128);
    EXPECT_EQ(buffer->data()[buffer->byteCount() - 1], 0);
    EXPECT_EQ(PixelBuffer::create(10, 3, 100)->bytesPerRow(), 100);
    EXPECT_FALSE(PixelBuffer::create(10, 3, 39));
    EXPECT_FALSE(PixelBuffer::create(0, 3));
    EXPECT_FALSE(PixelBuffer::create(10, -1));
    EXPECT_FALSE(PixelBuffer::create(PixelBuffer::maximumDimension + 1, 2));
}

}

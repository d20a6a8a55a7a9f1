#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"
#include "tests/support/MovieProbe.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using platform::PixelBuffer;
using platform::VideoWriter;

// Rows are padded with bright garbage: a writer that stepped by width × 4
// would slant the picture and let the garbage in.
TEST(VideoWriter, WritesOneBt709H264TrackWithFrameKAtKOver24Seconds)
{
    QTemporaryDir directory;
    const QString path = directory.filePath("movie.mp4");
    const int width = 64, height = 48, frames = 26;
    auto fill = [](PixelBuffer& frame, int top, int bottom, uint32_t argb) {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < frame.width(); ++x)
                qToBigEndian(argb, frame.row(y) + x * 4);
    };
    VideoWriter writer(path, width, height, 24);
    ASSERT_TRUE(writer.start()) << qPrintable(writer.errorMessage());
    for (int k = 0; k < frames; ++k) {
        auto frame = PixelBuffer::create(width, height, width * 4 + 36);
        std::memset(frame->data(), 0xff, frame->byteCount());
        // A grey bar whose height tells the frames apart, black, then red.
        fill(*frame, 0, height, 0xff000000);
        fill(*frame, 0, 8 + 4 * (k % 6), 0xffa0a0a0);
        fill(*frame, 32, height, 0xffff0000);
        ASSERT_TRUE(writer.append(*frame, k)) << qPrintable(writer.errorMessage());
    }
    ASSERT_TRUE(writer.finish()) << qPrintable(writer.errorMessage());
    EXPECT_EQ(writer.status(), VideoWriter::Status::Completed);

    const auto probe = probeMovie(path, true);
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

TEST(VideoWriter, EveryFailureIsReportedAndLeavesNoFile)
{
    QTemporaryDir directory;
    auto good = PixelBuffer::create(64, 48), narrow = PixelBuffer::create(32, 48);
    using Fault = std::function<bool(VideoWriter&)>;
    const struct {
        const char* name;
        int width, height;
        const char* file;
        Fault fault; // after a good first frame; none: starting fails
    } cases[] = {
        { "no size", 0, 0, "movie.mp4", nullptr },
        { "negative width", -64, 48, "movie.mp4", nullptr },
        { "odd width", 63, 48, "movie.mp4", nullptr },
        { "odd height", 64, 47, "movie.mp4", nullptr },
        { "too wide", 16400, 16, "movie.mp4", nullptr },
        { "too tall", 16, 16400, "movie.mp4", nullptr },
        { "missing folder", 64, 48, "no such folder/movie.mp4", nullptr },
        { "frame of another size", 64, 48, "movie.mp4", [&](VideoWriter& w) { return w.append(*narrow, 1); } },
        { "frame index not rising", 64, 48, "movie.mp4", [&](VideoWriter& w) { return w.append(*good, 0); } },
        { "short rows", 64, 48, "movie.mp4", [&](VideoWriter& w) { return w.append(good->data(), 64 * 4 - 4, 1); } },
        { "no pixels", 64, 48, "movie.mp4", [&](VideoWriter& w) { return w.append(nullptr, 64 * 4, 1); } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = directory.filePath(c.file);
        VideoWriter writer(path, c.width, c.height, 24);
        if (c.fault) {
            ASSERT_TRUE(writer.start() && writer.append(*good, 0));
            EXPECT_FALSE(c.fault(writer));
        } else {
            EXPECT_FALSE(writer.start());
        }
        EXPECT_EQ(writer.status(), VideoWriter::Status::Failed);
        EXPECT_FALSE(writer.errorMessage().isEmpty());
        EXPECT_FALSE(writer.isReadyForMoreMediaData());
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_FALSE(writer.append(*good, 2));
        EXPECT_FALSE(writer.finish());
    }
}

TEST(VideoWriter, CancellingOrDroppingAnUnfinishedWriterRemovesTheFile)
{
    QTemporaryDir directory;
    const QString path = directory.filePath("movie.mp4");
    auto frame = PixelBuffer::create(64, 48);
    for (bool cancel : { true, false }) {
        {
            VideoWriter writer(path, 64, 48, 24);
            ASSERT_TRUE(writer.start() && writer.append(*frame, 0));
            EXPECT_TRUE(QFile::exists(path));
            if (cancel)
                writer.cancel();
            EXPECT_EQ(writer.status(), cancel ? VideoWriter::Status::Cancelled : VideoWriter::Status::Writing);
            EXPECT_EQ(QFile::exists(path), !cancel);
        }
        EXPECT_FALSE(QFile::exists(path)) << cancel;
    }
}

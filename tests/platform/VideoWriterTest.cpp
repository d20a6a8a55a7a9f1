#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"
#include "tests/support/MovieProbe.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using platform::PixelBuffer;
using platform::VideoWriter;

TEST(VideoWriter, WritesOneBt709H264TrackWithFrameKAtKOver24Seconds)
{
    QTemporaryDir directory;
    const QString path = directory.filePath("movie.mp4");
    const int width = 64, height = 48, frames = 26;
    VideoWriter writer(path, width, height, 24);
    ASSERT_TRUE(writer.start()) << qPrintable(writer.errorMessage());
    const auto frame = PixelBuffer::create(width, height);
    for (int k = 0; k < frames; ++k)
        ASSERT_TRUE(writer.append(*frame, k)) << qPrintable(writer.errorMessage());
    ASSERT_TRUE(writer.finish()) << qPrintable(writer.errorMessage());
    EXPECT_EQ(writer.status(), VideoWriter::Status::Completed);

    const auto probe = probeMovie(path);
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->streams, 1);
    EXPECT_TRUE(probe->isH264);
    EXPECT_EQ(probe->width, width);
    EXPECT_EQ(probe->height, height);
    ASSERT_EQ(probe->presentationTimes.size(), size_t(frames));
    for (int k = 0; k < frames; ++k)
        EXPECT_TRUE(probe->isAtSeconds(probe->presentationTimes[k], k, 24)) << "frame " << k;
    EXPECT_TRUE(probe->isAtSeconds(probe->duration, frames, 24));
    EXPECT_TRUE(probe->indexBeforeData);
    EXPECT_TRUE(probe->taggedBt709);
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
        { "odd width", 63, 48, "movie.mp4", nullptr },
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

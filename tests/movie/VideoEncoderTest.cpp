#include "Classes/movie/VideoEncoder.h"
#include "platform/system/DispatchQueue.h"
#include "gallery/GalleryTestSupport.h"
#include "tests/support/MovieProbe.h"

#include <QFile>
#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using gallerytest::ScopedDocuments;
using platform::PixelBuffer;

namespace {

// A source of blank 64 × 48 frames that records how and where it was called.
class FrameSource final : public VideoEncoderDelegate {
public:
    std::unique_ptr<PixelBuffer> getPixelBufferOfNextFrame() override
    {
        const int index = note(requested);
        return index < frames ? PixelBuffer::create(index == wrongSizeAt ? 66 : 64, 48) : nullptr;
    }
    void videoEncoderDidFinish() override { note(finished); }
    void videoEncoderDidFail() override { note(failed); }

    int frames { 0 };
    int wrongSizeAt { -1 };
    std::atomic<int> requested { 0 };
    std::atomic<int> finished { 0 };
    std::atomic<int> failed { 0 };
    bool calledOffTheEncoderQueue { false };
    // Whether the idle timer was off, at each call.
    std::vector<bool> idleTimerOff;

private:
    int note(std::atomic<int>& count)
    {
        calledOffTheEncoderQueue = calledOffTheEncoderQueue || platform::DispatchQueue::isMainThread()
            || platform::DispatchQueue::currentLabel() != "videoEncoderQueue";
        idleTimerOff.push_back(VideoEncoder::isIdleTimerDisabled());
        return count++;
    }
};

}

TEST(VideoEncoder, PullsFramesIntoAMovieForTheAlbumOrFailsWithoutOne)
{
    const struct {
        const char* name;
        platform::Size size;
        int frames, wrongSizeAt;
        bool starts, finishes;
        int requested, albumMovies;
    } cases[] = {
        { "30 frames", { 64, 48 }, 30, -1, true, true, 31, 1 },
        { "no frames", { 64, 48 }, 0, -1, true, true, 1, 0 }, // the album declines an empty movie
        { "fourth frame of the wrong size", { 64, 48 }, 10, 3, true, false, 4, 0 },
        // The writer's own limits are checked with the writer.
        { "fractional height", { 64, 47.5f }, 5, -1, false, false, 0, 0 },
        { "no number", { NAN, 16 }, 5, -1, false, false, 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedDocuments folders;
        FrameSource source;
        source.frames = c.frames;
        source.wrongSizeAt = c.wrongSizeAt;
        {
            VideoEncoder encoder(c.size);
            QString error;
            EXPECT_EQ(encoder.startEncodingUsingPullWithDelegate(&source, &error), c.starts);
            EXPECT_EQ(error.isEmpty(), c.starts);
            EXPECT_FALSE(c.starts && encoder.startEncodingUsingPullWithDelegate(&source)); // one movie per encoder
            ASSERT_TRUE(encoder.dispatchQueue()->waitUntilIdle());
        }
        EXPECT_EQ(source.finished, c.finishes ? 1 : 0);
        EXPECT_EQ(source.failed, c.finishes ? 0 : 1);
        EXPECT_EQ(source.requested, c.requested);
        EXPECT_FALSE(source.calledOffTheEncoderQueue);
        // Off while frames are pulled, back on before the delegate hears the end.
        EXPECT_EQ(std::count(source.idleTimerOff.begin(), source.idleTimerOff.end(), true), c.requested);
        EXPECT_FALSE(source.idleTimerOff.back());
        EXPECT_EQ(folders.albumMovies().size(), c.albumMovies);
        const auto probe = probeMovie(folders.folder.filePath("video.mp4"));
        ASSERT_EQ(probe.has_value(), c.finishes);
        if (!probe)
            continue;
        // Frame k at k/24 s, as the writer's own tests check in full.
        ASSERT_EQ(probe->presentationTimes.size(), size_t(c.frames));
        EXPECT_TRUE(c.frames < 25 || probe->isAtSeconds(probe->presentationTimes[24], 1, 1));
        EXPECT_TRUE(probe->isAtSeconds(probe->duration, c.frames, 24));
        // The next encoder removes the previous movie as soon as it is made.
        VideoEncoder next({ 32, 32 });
        EXPECT_EQ(next.videoFilePath(), folders.folder.filePath("video.mp4"));
        EXPECT_FALSE(QFile::exists(folders.folder.filePath("video.mp4")));
    }
}

TEST(VideoEncoder, ReleasingTheEncoderMidPullStopsWithoutCallingTheDelegateAgain)
{
    ScopedDocuments folders;
    FrameSource source;
    source.frames = INT_MAX;
    {
        VideoEncoder encoder({ 64, 48 });
        ASSERT_TRUE(encoder.startEncodingUsingPullWithDelegate(&source));
        for (int i = 0; i < 6000 && source.requested < 5; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_GE(source.requested, 5);
    }
    const int requested = source.requested;
    EXPECT_EQ(source.finished + source.failed, 0);
    EXPECT_FALSE(VideoEncoder::isIdleTimerDisabled());
    EXPECT_FALSE(QFile::exists(folders.folder.filePath("video.mp4")));
    EXPECT_EQ(folders.albumMovies().size(), 0);
    EXPECT_EQ(source.requested, requested);
}

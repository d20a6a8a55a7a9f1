#include "Classes/movie/VideoEncoder.h"
#include "platform/media/PhotoAlbum.h"
#include "platform/system/DispatchQueue.h"
#include "tests/support/MovieProbe.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

using platform::PixelBuffer;

namespace {

// A source of blank frames that records how and where it was called.
class FrameSource final : public VideoEncoderDelegate {
public:
    FrameSource(int width, int height, int frames)
        : m_width(width)
        , m_height(height)
        , m_frames(frames)
    {
    }

    std::unique_ptr<PixelBuffer> getPixelBufferOfNextFrame() override
    {
        std::lock_guard lock(m_mutex);
        noteCall();
        idleTimerOffWhilePulling = idleTimerOffWhilePulling && VideoEncoder::isIdleTimerDisabled();
        const int index = requested++;
        m_changed.notify_all();
        return index < m_frames ? PixelBuffer::create(index == wrongSizeAt ? m_width + 2 : m_width, m_height) : nullptr;
    }
    void videoEncoderDidFinish() override { end(finished); }
    void videoEncoderDidFail() override { end(failed); }

    // Waits for the end, or for `requests` frames to have been asked for.
    bool wait(int requests = INT_MAX)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(60), [&] { return finished + failed > 0 || requested >= requests; });
    }

    int wrongSizeAt { -1 };
    int requested { 0 };
    int finished { 0 };
    int failed { 0 };
    bool calledOffTheEncoderQueue { false };
    bool idleTimerOffWhilePulling { true };
    bool idleTimerOffAtEnd { true };

private:
    void noteCall()
    {
        calledOffTheEncoderQueue = calledOffTheEncoderQueue || platform::DispatchQueue::isMainThread()
            || platform::DispatchQueue::currentLabel() != "videoEncoderQueue";
    }
    void end(int& count)
    {
        std::lock_guard lock(m_mutex);
        noteCall();
        idleTimerOffAtEnd = VideoEncoder::isIdleTimerDisabled();
        ++count;
        m_changed.notify_all();
    }

    int m_width;
    int m_height;
    int m_frames;
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

class VideoEncoderTest : public testing::Test {
protected:
    void SetUp() override
    {
        qputenv("PINTARO_DOCUMENTS", m_documents.path().toUtf8());
        qputenv("PINTARO_ALBUM", m_album.path().toUtf8());
    }
    void TearDown() override
    {
        qunsetenv("PINTARO_DOCUMENTS");
        qunsetenv("PINTARO_ALBUM");
    }

    QString videoPath() const { return m_documents.filePath("video.mp4"); }
    // Every file in the album's movie folder, hidden ones included.
    QStringList albumMovies() const { return QDir(platform::PhotoAlbum::videosDirectory()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir m_documents;
    QTemporaryDir m_album;
};

TEST_F(VideoEncoderTest, PulledFramesBecomeA24FpsMovieCopiedWholeToTheAlbum)
{
    FrameSource source(64, 48, 30);
    {
        VideoEncoder encoder({ 64, 48 });
        QString error;
        ASSERT_TRUE(encoder.startEncodingUsingPullWithDelegate(&source, &error)) << qPrintable(error);
        EXPECT_FALSE(encoder.startEncodingUsingPullWithDelegate(&source)); // one movie per encoder
        ASSERT_TRUE(source.wait());
    }
    EXPECT_EQ(source.finished, 1);
    EXPECT_EQ(source.requested, 31);
    EXPECT_FALSE(source.calledOffTheEncoderQueue);
    EXPECT_TRUE(source.idleTimerOffWhilePulling);
    EXPECT_FALSE(source.idleTimerOffAtEnd);

    const auto probe = probeMovie(videoPath());
    ASSERT_TRUE(probe);
    EXPECT_TRUE(probe->isH264);
    EXPECT_EQ(probe->width, 64);
    EXPECT_EQ(probe->frameRateNumerator, 24 * probe->frameRateDenominator);
    ASSERT_EQ(probe->presentationTimes.size(), 30u);
    EXPECT_TRUE(probe->isAtSeconds(probe->presentationTimes[24], 1, 1));
    EXPECT_TRUE(probe->isAtSeconds(probe->duration, 30, 24));
    EXPECT_TRUE(probe->indexBeforeData);

    const QStringList movies = albumMovies();
    ASSERT_EQ(movies.size(), 1) << qPrintable(movies.join(", "));
    QFile original(videoPath()), copy(platform::PhotoAlbum::videosDirectory() + '/' + movies[0]);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), copy.readAll());

    // The next encoder removes the previous movie as soon as it is made.
    VideoEncoder next({ 32, 32 });
    EXPECT_EQ(next.videoFilePath(), videoPath());
    EXPECT_FALSE(QFile::exists(videoPath()));
}

// The album declines a movie without frames; the export still ends as finished.
TEST_F(VideoEncoderTest, ADelegateWithNoFramesGivesAnEmptyMovieThatStillFinishes)
{
    FrameSource source(64, 48, 0);
    VideoEncoder encoder({ 64, 48 });
    ASSERT_TRUE(encoder.startEncodingUsingPullWithDelegate(&source));
    ASSERT_TRUE(source.wait());
    EXPECT_EQ(source.finished, 1);
    EXPECT_EQ(source.requested, 1);
    const auto probe = probeMovie(videoPath());
    ASSERT_TRUE(probe);
    EXPECT_TRUE(probe->presentationTimes.empty());
    EXPECT_TRUE(albumMovies().isEmpty());
    EXPECT_FALSE(source.idleTimerOffAtEnd);
}

TEST_F(VideoEncoderTest, UnusableSizesAndFailedAppendsFailWithoutAMovie)
{
    for (const platform::Size size : { platform::Size { 63, 48 }, { 64, 47.5f }, { 16400, 16 }, { NAN, 16 } }) {
        SCOPED_TRACE(testing::Message() << size.width << " × " << size.height);
        FrameSource source(16, 16, 5);
        VideoEncoder encoder(size);
        QString error;
        EXPECT_FALSE(encoder.startEncodingUsingPullWithDelegate(&source, &error));
        EXPECT_FALSE(error.isEmpty());
        ASSERT_TRUE(source.wait());
        EXPECT_EQ(source.failed, 1);
        EXPECT_EQ(source.requested, 0);
        EXPECT_FALSE(source.idleTimerOffAtEnd);
    }
    FrameSource source(64, 48, 10);
    source.wrongSizeAt = 3;
    VideoEncoder encoder({ 64, 48 });
    ASSERT_TRUE(encoder.startEncodingUsingPullWithDelegate(&source));
    ASSERT_TRUE(source.wait());
    EXPECT_EQ(source.failed, 1);
    EXPECT_EQ(source.finished, 0);
    EXPECT_EQ(source.requested, 4);
    EXPECT_EQ(encoder.frame(), 3);
    EXPECT_FALSE(source.idleTimerOffAtEnd);
    EXPECT_FALSE(QFile::exists(videoPath()));
    EXPECT_TRUE(albumMovies().isEmpty());
}

TEST_F(VideoEncoderTest, ReleasingTheEncoderMidPullStopsWithoutCallingTheDelegateAgain)
{
    FrameSource source(32, 32, INT_MAX);
    {
        VideoEncoder encoder({ 32, 32 });
        ASSERT_TRUE(encoder.startEncodingUsingPullWithDelegate(&source));
        ASSERT_TRUE(source.wait(5));
    }
    const int requested = source.requested;
    EXPECT_EQ(source.finished + source.failed, 0);
    EXPECT_FALSE(VideoEncoder::isIdleTimerDisabled());
    EXPECT_FALSE(QFile::exists(videoPath()));
    EXPECT_TRUE(albumMovies().isEmpty());
    EXPECT_EQ(source.requested, requested);
}

}

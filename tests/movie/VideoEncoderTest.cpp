#include "Classes/movie/VideoEncoder.h"
#include "platform/media/PhotoAlbum.h"
#include "platform/media/VideoWriter.h"
#include "platform/system/DispatchQueue.h"
#include "tests/support/MovieProbe.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <string>

using platform::PixelBuffer;

namespace {

// A frame source of a fixed number of frames, recording where and how it was
// called.
class FrameSource final : public VideoEncoderDelegate {
public:
    FrameSource(int width, int height, int frames)
        : m_width(width)
        , m_height(height)
        , m_frames(frames)
    {
    }

    // The frame at this index comes out in the wrong size.
    int wrongSizeAt { -1 };
    // Never runs out of frames.
    bool endless { false };

    std::unique_ptr<PixelBuffer> getPixelBufferOfNextFrame() override
    {
        std::lock_guard lock(m_mutex);
        noteCall();
        idleTimerDisabledWhilePulling = idleTimerDisabledWhilePulling && VideoEncoder::isIdleTimerDisabled();
        const int index = requested++;
        m_changed.notify_all();
        if (!endless && index >= m_frames)
            return nullptr;
        auto buffer = index == wrongSizeAt ? PixelBuffer::create(m_width + 2, m_height) : PixelBuffer::create(m_width, m_height);
        for (int y = 0; y < buffer->height(); ++y) {
            for (int x = 0; x < buffer->width(); ++x) {
                uint8_t* pixel = buffer->row(y) + x * 4;
                pixel[0] = 255;
                pixel[1] = uint8_t(x * 4 + index);
                pixel[2] = uint8_t(y * 4);
                pixel[3] = 40;
            }
        }
        return buffer;
    }

    void videoEncoderDidFinish() override
    {
        std::lock_guard lock(m_mutex);
        noteCall();
        idleTimerDisabledAtEnd = VideoEncoder::isIdleTimerDisabled();
        ++finished;
        m_changed.notify_all();
    }

    void videoEncoderDidFail() override
    {
        std::lock_guard lock(m_mutex);
        noteCall();
        idleTimerDisabledAtEnd = VideoEncoder::isIdleTimerDisabled();
        ++failed;
        m_changed.notify_all();
    }

    bool waitForEnd()
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(60), [&] { return finished + failed > 0; });
    }

    bool waitForRequests(int count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(60), [&] { return requested >= count; });
    }

    int requested { 0 };
    int finished { 0 };
    int failed { 0 };
    bool calledOnMainThread { false };
    bool calledOutsideEncoderQueue { false };
    bool idleTimerDisabledWhilePulling { true };
    bool idleTimerDisabledAtEnd { true };

private:
    void noteCall()
    {
        calledOnMainThread = calledOnMainThread || platform::DispatchQueue::isMainThread();
        calledOutsideEncoderQueue = calledOutsideEncoderQueue || platform::DispatchQueue::currentLabel() != "videoEncoderQueue";
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
        ASSERT_TRUE(m_documents.isValid() && m_album.isValid());
        qputenv("PINTARO_DOCUMENTS", m_documents.path().toUtf8());
        qputenv("PINTARO_ALBUM", m_album.path().toUtf8());
    }

    void TearDown() override
    {
        qunsetenv("PINTARO_DOCUMENTS");
        qunsetenv("PINTARO_ALBUM");
    }

    QString videoPath() const { return m_documents.filePath(QStringLiteral("video.mp4")); }

    // Every file in the album's movie folder, hidden ones included.
    QStringList albumMovies() const
    {
        return QDir(platform::PhotoAlbum::videosDirectory()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    std::unique_ptr<FrameSource> exportMovie(platform::Size size, int frames)
    {
        auto source = std::make_unique<FrameSource>(int(size.width), int(size.height), frames);
        VideoEncoder encoder(size);
        QString error;
        EXPECT_TRUE(encoder.startEncodingUsingPullWithDelegate(source.get(), &error)) << qPrintable(error);
        EXPECT_TRUE(source->waitForEnd());
        return source;
    }

    QTemporaryDir m_documents;
    QTemporaryDir m_album;
};

TEST_F(VideoEncoderTest, PulledFramesBecomeAMovieAt24FramesPerSecondInTheAlbum)
{
    const int frames = 30;
    auto source = exportMovie({ 64, 48 }, frames);
    EXPECT_EQ(source->finished, 1);
    EXPECT_EQ(source->failed, 0);
    EXPECT_EQ(source->requested, frames + 1);

    const auto probe = probeMovie(videoPath());
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->videoStreams, 1);
    EXPECT_EQ(probe->otherStreams, 0);
    EXPECT_TRUE(probe->isH264);
    EXPECT_EQ(probe->width, 64);
    EXPECT_EQ(probe->height, 48);
    EXPECT_EQ(probe->frameRateNumerator, 24);
    EXPECT_EQ(probe->frameRateDenominator, 1);
    ASSERT_EQ(probe->presentationTimes.size(), size_t(frames));
    EXPECT_TRUE(probe->isAtSeconds(probe->presentationTimes[0], 0, 1));
    EXPECT_TRUE(probe->isAtSeconds(probe->presentationTimes[24], 1, 1));
    EXPECT_TRUE(probe->isAtSeconds(probe->duration, frames, 24));
    EXPECT_TRUE(probe->indexBeforeData);

    // The album holds one whole copy and nothing half-written.
    const QStringList movies = albumMovies();
    ASSERT_EQ(movies.size(), 1) << qPrintable(movies.join(", "));
    EXPECT_TRUE(movies[0].endsWith(".mp4"));
    EXPECT_FALSE(movies[0].startsWith('.'));
    QFile original(videoPath()), copy(platform::PhotoAlbum::videosDirectory() + '/' + movies[0]);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), copy.readAll());
}

TEST_F(VideoEncoderTest, TheDelegateIsCalledOnTheEncoderQueueOnlyWithTheIdleTimerOff)
{
    auto source = exportMovie({ 32, 32 }, 3);
    EXPECT_FALSE(source->calledOnMainThread);
    EXPECT_FALSE(source->calledOutsideEncoderQueue);
    EXPECT_TRUE(source->idleTimerDisabledWhilePulling);
    EXPECT_FALSE(source->idleTimerDisabledAtEnd);
    EXPECT_FALSE(VideoEncoder::isIdleTimerDisabled());
}

TEST_F(VideoEncoderTest, SevenHundredTwentyFramesMakeAThirtySecondMovie)
{
    auto source = exportMovie({ 16, 16 }, 720);
    ASSERT_EQ(source->finished, 1);
    const auto probe = probeMovie(videoPath());
    ASSERT_TRUE(probe);
    ASSERT_EQ(probe->presentationTimes.size(), 720u);
    EXPECT_TRUE(probe->isAtSeconds(probe->presentationTimes[719], 719, 24));
    EXPECT_TRUE(probe->isAtSeconds(probe->duration, 30, 1));
}

// The platform's album declines a movie without frames; the export still ends
// as finished, and nothing reaches the album.
TEST_F(VideoEncoderTest, ADelegateWithNoFramesGivesAnEmptyMovieThatStillFinishes)
{
    auto source = exportMovie({ 64, 48 }, 0);
    EXPECT_EQ(source->finished, 1);
    EXPECT_EQ(source->failed, 0);
    EXPECT_EQ(source->requested, 1);
    ASSERT_TRUE(QFile::exists(videoPath()));
    const auto probe = probeMovie(videoPath());
    ASSERT_TRUE(probe);
    EXPECT_TRUE(probe->presentationTimes.empty());
    EXPECT_FALSE(platform::PhotoAlbum::isVideoCompatible(videoPath()));
    EXPECT_TRUE(albumMovies().isEmpty());
    EXPECT_FALSE(source->idleTimerDisabledAtEnd);
}

TEST_F(VideoEncoderTest, EachExportReplacesVideoMp4)
{
    exportMovie({ 32, 32 }, 10);
    ASSERT_EQ(probeMovie(videoPath())->presentationTimes.size(), 10u);
    {
        // The previous movie goes as soon as the next encoder is made.
        VideoEncoder encoder({ 32, 32 });
        EXPECT_FALSE(QFile::exists(videoPath()));
        EXPECT_EQ(encoder.videoFilePath(), videoPath());
    }
    exportMovie({ 32, 32 }, 5);
    EXPECT_EQ(probeMovie(videoPath())->presentationTimes.size(), 5u);
    // Both movies are in the album under names of their own.
    EXPECT_EQ(albumMovies().size(), 2);
}

TEST_F(VideoEncoderTest, AFrameSizeTheEncoderCannotTakeFailsWithoutAskingForFrames)
{
    const platform::Size sizes[] = { { 0, 0 }, { 63, 48 }, { 64, 47.5f }, { 16400, 16 }, { -8, 8 }, { NAN, 16 } };
    for (const platform::Size& size : sizes) {
        FrameSource source(16, 16, 5);
        VideoEncoder encoder(size);
        QString error;
        EXPECT_FALSE(encoder.startEncodingUsingPullWithDelegate(&source, &error)) << size.width << " × " << size.height;
        EXPECT_FALSE(error.isEmpty());
        ASSERT_TRUE(source.waitForEnd());
        EXPECT_EQ(source.failed, 1);
        EXPECT_EQ(source.finished, 0);
        EXPECT_EQ(source.requested, 0);
        EXPECT_FALSE(source.idleTimerDisabledAtEnd);
        EXPECT_FALSE(QFile::exists(videoPath()));
    }
    EXPECT_TRUE(albumMovies().isEmpty());
}

TEST_F(VideoEncoderTest, AFailedAppendCancelsTheMovieAndKeepsItOutOfTheAlbum)
{
    FrameSource source(64, 48, 10);
    source.wrongSizeAt = 3;
    VideoEncoder encoder({ 64, 48 });
    ASSERT_TRUE(encoder.startEncodingUsingPullWithDelegate(&source));
    ASSERT_TRUE(source.waitForEnd());
    EXPECT_EQ(source.failed, 1);
    EXPECT_EQ(source.finished, 0);
    EXPECT_EQ(source.requested, 4);
    EXPECT_EQ(encoder.frame(), 3);
    EXPECT_FALSE(source.idleTimerDisabledAtEnd);
    EXPECT_FALSE(QFile::exists(videoPath()));
    EXPECT_TRUE(albumMovies().isEmpty());
}

TEST_F(VideoEncoderTest, AnEncoderPullsOneMovieOnly)
{
    FrameSource source(32, 32, 2);
    VideoEncoder encoder({ 32, 32 });
    ASSERT_TRUE(encoder.startEncodingUsingPullWithDelegate(&source));
    EXPECT_FALSE(encoder.startEncodingUsingPullWithDelegate(&source));
    ASSERT_TRUE(source.waitForEnd());
    ASSERT_TRUE(encoder.dispatchQueue()->waitUntilIdle());
    EXPECT_EQ(source.finished, 1);
    EXPECT_EQ(source.failed, 0);
    EXPECT_EQ(source.requested, 3);
}

TEST_F(VideoEncoderTest, ReleasingTheEncoderMidPullStopsWithoutCallingTheDelegateAgain)
{
    FrameSource source(32, 32, 0);
    source.endless = true;
    {
        VideoEncoder encoder({ 32, 32 });
        ASSERT_TRUE(encoder.startEncodingUsingPullWithDelegate(&source));
        ASSERT_TRUE(source.waitForRequests(5));
    }
    const int requested = source.requested;
    EXPECT_EQ(source.finished + source.failed, 0);
    EXPECT_FALSE(VideoEncoder::isIdleTimerDisabled());
    EXPECT_FALSE(QFile::exists(videoPath()));
    EXPECT_TRUE(albumMovies().isEmpty());
    EXPECT_EQ(source.requested, requested);
}

TEST_F(VideoEncoderTest, PushedFramesAreTimedByTheirCount)
{
    VideoEncoder encoder({ 32, 32 });
    EXPECT_FALSE(encoder.isReadyForMediaData());
    ASSERT_TRUE(encoder.startEncoding());
    EXPECT_TRUE(encoder.isReadyForMediaData());
    auto frame = PixelBuffer::create(32, 32);
    for (int k = 0; k < 25; ++k)
        ASSERT_TRUE(encoder.encodeFrameWithPixelBuffer(*frame));
    EXPECT_EQ(encoder.frame(), 25);
    EXPECT_EQ(encoder.fps(), 24);
    ASSERT_TRUE(encoder.finishEncoding());
    EXPECT_FALSE(encoder.isReadyForMediaData());
    EXPECT_FALSE(encoder.encodeFrameWithPixelBuffer(*frame));

    const auto probe = probeMovie(videoPath());
    ASSERT_TRUE(probe);
    ASSERT_EQ(probe->presentationTimes.size(), 25u);
    EXPECT_TRUE(probe->isAtSeconds(probe->presentationTimes[24], 1, 1));
    EXPECT_EQ(albumMovies().size(), 1);
}

}

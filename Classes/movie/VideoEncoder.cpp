#include "Classes/movie/VideoEncoder.h"

#include "platform/media/PhotoAlbum.h"
#include "platform/media/VideoWriter.h"
#include "platform/system/DispatchQueue.h"
#include "platform/system/FileLocations.h"

#include <QFile>
#include <QtGlobal>
#include <cmath>

namespace {

std::atomic<bool> s_idleTimerDisabled { false };

void setIdleTimerDisabled(bool disabled)
{
    s_idleTimerDisabled.store(disabled);
}

// The integer part of a dimension; nonsense (negative, not a number, beyond
// any int) becomes 0, which the writer refuses.
int pixels(float dimension)
{
    if (!(dimension >= 0 && dimension < 1e9f))
        return 0;
    return static_cast<int>(dimension);
}

void reportFailure(const platform::VideoWriter& writer)
{
    qWarning("Movie writing failed: %s", qUtf8Printable(writer.errorMessage()));
}

}

VideoEncoder::VideoEncoder(platform::Size frameSize)
    : m_dispatchQueue(platform::DispatchQueue::createSerial("videoEncoderQueue"))
{
    m_videoFilePath = getVideoFilePath();
    m_assetWriter = std::make_unique<platform::VideoWriter>(m_videoFilePath, pixels(frameSize.width), pixels(frameSize.height), m_fps);
}

VideoEncoder::~VideoEncoder()
{
    m_abandoned.store(true);
    // From a delegate operation the pull is already on its way out and touches
    // nothing of the encoder after that call.
    if (!m_dispatchQueue->isCurrent())
        m_dispatchQueue->waitUntilIdle();
}

QString VideoEncoder::getVideoFilePath()
{
    const QString path = platform::FileLocations::documentPath(QStringLiteral("video.mp4"));
    // A file that cannot be removed makes the writer fail later, visibly.
    if (!path.isEmpty())
        QFile::remove(path);
    return path;
}

bool VideoEncoder::startEncodingUsingPullWithDelegate(VideoEncoderDelegate* delegate, QString* outError)
{
    // An encoder makes one movie; a second pull would report on a finished one.
    if (m_pullRequested || !delegate) {
        if (outError)
            *outError = QStringLiteral("the encoder has already been used or has no delegate");
        return false;
    }
    m_pullRequested = true;
    m_frame.store(0);
    const bool started = m_assetWriter->start();
    setIdleTimerDisabled(true);
    m_dispatchQueue->async([this, delegate] { pull(delegate); });
    if (outError)
        *outError = started ? QString() : m_assetWriter->errorMessage();
    return started;
}

void VideoEncoder::pull(VideoEncoderDelegate* delegate)
{
    // A writer that did not start cannot take frames; say so without asking
    // the delegate to render any.
    if (!m_assetWriter->isReadyForMoreMediaData()) {
        reportFailure(*m_assetWriter);
        m_assetWriter->cancel();
        setIdleTimerDisabled(false);
        delegate->videoEncoderDidFail();
        return;
    }
    for (;;) {
        if (m_abandoned.load()) {
            m_assetWriter->cancel();
            setIdleTimerDisabled(false);
            return;
        }
        std::unique_ptr<platform::PixelBuffer> buffer = delegate->getPixelBufferOfNextFrame();
        if (!buffer) {
            // A movie that could not be completed is not handed to the album.
            if (!m_assetWriter->finish()) {
                reportFailure(*m_assetWriter);
                setIdleTimerDisabled(false);
                delegate->videoEncoderDidFail();
                return;
            }
            saveToPhotoAlbum(m_videoFilePath);
            setIdleTimerDisabled(false);
            delegate->videoEncoderDidFinish();
            return;
        }
        if (!m_assetWriter->append(*buffer, m_frame.load())) {
            reportFailure(*m_assetWriter);
            buffer.reset();
            m_assetWriter->cancel();
            setIdleTimerDisabled(false);
            delegate->videoEncoderDidFail();
            return;
        }
        ++m_frame;
        delegate->recyclePixelBuffer(std::move(buffer));
    }
}

void VideoEncoder::saveToPhotoAlbum(const QString& path)
{
    // The album copies the movie at once: the next export deletes this file.
    if (platform::PhotoAlbum::isVideoCompatible(path))
        m_savedToPhotoAlbum.store(platform::PhotoAlbum::saveVideo(path).has_value());
}

bool VideoEncoder::startEncoding()
{
    m_frame.store(0);
    return m_assetWriter->start();
}

bool VideoEncoder::isReadyForMediaData() const
{
    return m_assetWriter->isReadyForMoreMediaData();
}

bool VideoEncoder::encodeFrameWithPixelBuffer(const platform::PixelBuffer& buffer)
{
    if (!m_assetWriter->append(buffer, m_frame.load()))
        return false;
    ++m_frame;
    return true;
}

bool VideoEncoder::finishEncoding()
{
    if (!m_assetWriter->finish())
        return false;
    saveToPhotoAlbum(m_videoFilePath);
    return true;
}

bool VideoEncoder::isIdleTimerDisabled()
{
    return s_idleTimerDisabled.load();
}

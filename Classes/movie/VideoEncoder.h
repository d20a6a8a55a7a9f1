#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/media/PixelBuffer.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>

namespace platform {
class DispatchQueue;
class VideoWriter;
}

// The source of a movie's frames. All three operations are called on the
// encoder's queue, never on the main thread.
class VideoEncoderDelegate {
public:
    virtual ~VideoEncoderDelegate() = default;
    // The next frame, of the encoder's frame size, now owned by the caller; or
    // nothing when the movie is complete.
    virtual std::unique_ptr<platform::PixelBuffer> getPixelBufferOfNextFrame() = 0;
    // The movie is complete and has been handed to the photo album.
    virtual void videoEncoderDidFinish() = 0;
    // Writing failed and was cancelled; no movie goes to the album.
    virtual void videoEncoderDidFail() = 0;
    // Hands back a frame once it has been written, so that the next frame can
    // be drawn into the same memory; by default it is freed.
    virtual void recyclePixelBuffer(std::unique_ptr<platform::PixelBuffer> buffer) { buffer.reset(); }
};

// Writes frames into "video.mp4" in the Documents directory as an MPEG-4 movie
// with one H.264 track, frame k shown at k/24 s, and hands the finished movie
// to the photo album. One encoder makes one movie.
class VideoEncoder final {
public:
    // The frame size is in pixels; its integer part is used.
    explicit VideoEncoder(platform::Size frameSize);
    // Stops a pull still running (the delegate hears nothing more) and waits
    // for it to end.
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Documents/"video.mp4", with any file already there deleted.
    static QString getVideoFilePath();

    // Starts writing and pulls frames from the delegate on the encoder's queue
    // until it returns nothing. The delegate must outlive the pull. The result
    // is whether the writer started, with the reason in outError if not; the
    // delegate then hears videoEncoderDidFail without being asked for frames.
    bool startEncodingUsingPullWithDelegate(VideoEncoderDelegate* delegate, QString* outError = nullptr);

    // Hands the movie to the album when the album takes it; silently not otherwise.
    void saveToPhotoAlbum(const QString& path);
    // Whether the album took the finished movie. Set on the encoder's queue
    // before the delegate hears of the finish.
    bool isSavedToPhotoAlbum() const { return m_savedToPhotoAlbum.load(); }

    // For callers that make the frames themselves, on a thread of their own.
    bool startEncoding();
    bool isReadyForMediaData() const;
    // Appends the frame at the next frame time; the caller keeps the buffer.
    bool encodeFrameWithPixelBuffer(const platform::PixelBuffer& buffer);
    // Completes the movie and hands it to the album.
    bool finishEncoding();

    platform::VideoWriter* assetWriter() const { return m_assetWriter.get(); }
    const QString& videoFilePath() const { return m_videoFilePath; }
    const std::shared_ptr<platform::DispatchQueue>& dispatchQueue() const { return m_dispatchQueue; }
    int32_t frame() const { return m_frame.load(); }
    int32_t fps() const { return m_fps; }

    // The application's idle timer: disabled while a pull runs, so that the
    // screen stays awake through an export.
    static bool isIdleTimerDisabled();

private:
    void pull(VideoEncoderDelegate* delegate);

    std::unique_ptr<platform::VideoWriter> m_assetWriter;
    QString m_videoFilePath;
    std::shared_ptr<platform::DispatchQueue> m_dispatchQueue;
    std::atomic<int32_t> m_frame { 0 };
    int32_t m_fps { 24 };
    bool m_pullRequested { false };
    std::atomic<bool> m_abandoned { false };
    std::atomic<bool> m_savedToPhotoAlbum { false };
};

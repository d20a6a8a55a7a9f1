#pragma once

#include <QString>
#include <cstdint>
#include <string>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

namespace platform {

class PixelBuffer;

// Writes an MPEG-4 file with one H.264 video track from 32-bit ARGB frames
// (bytes A, R, G, B), converted to yuv420p, which every player accepts. Frame
// k is shown at k / framesPerSecond seconds; the index goes at the front of the
// file so that playing can start before the whole file has arrived.
//
// The writer does nothing until start(); every failure of the start or of the
// writing leaves it failed, its message in errorMessage(), and no file behind.
class VideoWriter final {
public:
    enum class Status { Unknown, Writing, Completed, Failed, Cancelled };

    struct Settings {
        // Chosen by measurement on neon strokes over a dark background: the
        // fastest preset whose frames stay clean at the default quality.
        std::string preset { "ultrafast" };
        std::string tune { "animation" };
        // Threads converting the pixels, beside the encoder's own.
        int conversionThreads { 2 };
    };

    VideoWriter(QString path, int width, int height, int framesPerSecond);
    VideoWriter(QString path, int width, int height, int framesPerSecond, Settings settings);
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // Opens the encoder and the file. False for a size the encoder cannot take
    // (not positive, odd, or beyond its limits) or a file that cannot be made.
    bool start();

    // Encodes one frame of the writer's size shown at frameIndex / fps seconds;
    // indexes must rise. Rows are bytesPerRow apart. A failure cancels writing.
    bool append(const uint8_t* argb, int bytesPerRow, int64_t frameIndex);
    bool append(const PixelBuffer& buffer, int64_t frameIndex);

    // Flushes the encoder and completes the file; a failure removes it.
    bool finish();
    // Stops writing and removes the file.
    void cancel();

    Status status() const { return m_status; }
    bool isReadyForMoreMediaData() const { return m_status == Status::Writing; }
    const QString& errorMessage() const { return m_errorMessage; }
    const QString& path() const { return m_path; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int framesPerSecond() const { return m_framesPerSecond; }

private:
    bool openEncoder();
    bool openConverter();
    bool openFile();
    bool drainPackets();
    // Ends writing for good, removing the file.
    bool fail(const QString& what, int code = 0);
    // Turns down a call made in the wrong state, changing nothing.
    bool refuse(const QString& what);
    void release();

    QString m_path;
    int m_width;
    int m_height;
    int m_framesPerSecond;
    Settings m_settings;
    Status m_status { Status::Unknown };
    QString m_errorMessage;
    int64_t m_lastFrameIndex { -1 };
    bool m_fileOpened { false };

    AVFormatContext* m_format { nullptr };
    AVCodecContext* m_codec { nullptr };
    AVStream* m_stream { nullptr };
    SwsContext* m_converter { nullptr };
    AVFrame* m_source { nullptr };
    AVFrame* m_picture { nullptr };
    AVPacket* m_packet { nullptr };
};

}

#include "platform/media/VideoWriter.h"

#include "platform/media/PixelBuffer.h"

#include <QFile>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace platform {

namespace {

QString describeError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof(text));
    return QString::fromUtf8(text);
}

void keepLibrariesQuiet()
{
    // The encoder's statistics and banners would fill the error stream on
    // every export; real errors still get through.
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
}

// The caller's pixels are lent to the converter for one call; nothing to free.
void keepCallersMemory(void*, uint8_t*) { }

}

VideoWriter::VideoWriter(QString path, int width, int height, int framesPerSecond)
    : VideoWriter(std::move(path), width, height, framesPerSecond, Settings())
{
}

VideoWriter::VideoWriter(QString path, int width, int height, int framesPerSecond, Settings settings)
    : m_path(std::move(path))
    , m_width(width)
    , m_height(height)
    , m_framesPerSecond(framesPerSecond)
    , m_settings(std::move(settings))
{
}

VideoWriter::~VideoWriter()
{
    if (m_status == Status::Writing)
        cancel();
    release();
}

bool VideoWriter::start()
{
    if (m_status != Status::Unknown)
        return refuse(QStringLiteral("the writer has already been started"));
    keepLibrariesQuiet();
    if (m_framesPerSecond <= 0)
        return fail(QStringLiteral("the frame rate must be positive"));
    if (m_width <= 0 || m_height <= 0 || m_width % 2 != 0 || m_height % 2 != 0)
        return fail(QStringLiteral("the frame size %1 × %2 cannot be encoded: both must be even and positive").arg(m_width).arg(m_height));
    // libx264 refuses larger frames itself, but leaks a little when it does.
    if (m_width > PixelBuffer::maximumDimension || m_height > PixelBuffer::maximumDimension)
        return fail(QStringLiteral("the frame size %1 × %2 is beyond the encoder's %3").arg(m_width).arg(m_height).arg(PixelBuffer::maximumDimension));
    if (!openEncoder() || !openConverter() || !openFile())
        return false;
    m_status = Status::Writing;
    return true;
}

bool VideoWriter::openEncoder()
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        return fail(QStringLiteral("the H.264 encoder libx264 is not available"));
    m_codec = avcodec_alloc_context3(codec);
    if (!m_codec)
        return fail(QStringLiteral("no memory for the encoder"), AVERROR(ENOMEM));
    m_codec->width = m_width;
    m_codec->height = m_height;
    m_codec->pix_fmt = AV_PIX_FMT_YUV420P;
    m_codec->time_base = AVRational { 1, m_framesPerSecond };
    m_codec->framerate = AVRational { m_framesPerSecond, 1 };
    m_codec->color_range = AVCOL_RANGE_MPEG;
    m_codec->colorspace = AVCOL_SPC_BT709;
    m_codec->color_primaries = AVCOL_PRI_BT709;
    m_codec->color_trc = AVCOL_TRC_BT709;
    // The MPEG-4 container keeps the parameter sets in its header.
    m_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // Zero lets the encoder pick its thread count from the cores.
    m_codec->thread_count = 0;
    int result = av_opt_set(m_codec->priv_data, "preset", m_settings.preset.c_str(), 0);
    if (result < 0)
        return fail(QStringLiteral("the encoder preset was refused"), result);
    if (!m_settings.tune.empty()) {
        result = av_opt_set(m_codec->priv_data, "tune", m_settings.tune.c_str(), 0);
        if (result < 0)
            return fail(QStringLiteral("the encoder tune was refused"), result);
    }
    result = avcodec_open2(m_codec, codec, nullptr);
    if (result < 0)
        return fail(QStringLiteral("the encoder does not take %1 × %2 frames").arg(m_width).arg(m_height), result);
    m_packet = av_packet_alloc();
    if (!m_packet)
        return fail(QStringLiteral("no memory for a packet"), AVERROR(ENOMEM));
    return true;
}

bool VideoWriter::openConverter()
{
    m_converter = sws_alloc_context();
    if (!m_converter)
        return fail(QStringLiteral("no memory for the pixel converter"), AVERROR(ENOMEM));
    const struct {
        const char* name;
        int64_t value;
    } options[] = {
        { "srcw", m_width },
        { "srch", m_height },
        { "src_format", AV_PIX_FMT_ARGB },
        { "dstw", m_width },
        { "dsth", m_height },
        { "dst_format", AV_PIX_FMT_YUV420P },
        { "sws_flags", SWS_BILINEAR },
        { "threads", m_settings.conversionThreads },
    };
    for (const auto& option : options) {
        const int result = av_opt_set_int(m_converter, option.name, option.value, 0);
        if (result < 0)
            return fail(QStringLiteral("the pixel converter refused %1").arg(QLatin1String(option.name)), result);
    }
    int result = sws_init_context(m_converter, nullptr, nullptr);
    if (result < 0)
        return fail(QStringLiteral("the pixel converter cannot be set up"), result);
    // Full-range RGB in, limited-range BT.709 out, as the stream is tagged.
    result = sws_setColorspaceDetails(m_converter, sws_getCoefficients(SWS_CS_DEFAULT), 1,
        sws_getCoefficients(SWS_CS_ITU709), 0, 0, 1 << 16, 1 << 16);
    if (result < 0)
        return fail(QStringLiteral("the pixel converter cannot convert to BT.709"));

    m_source = av_frame_alloc();
    m_picture = av_frame_alloc();
    if (!m_source || !m_picture)
        return fail(QStringLiteral("no memory for frames"), AVERROR(ENOMEM));
    m_picture->format = AV_PIX_FMT_YUV420P;
    m_picture->width = m_width;
    m_picture->height = m_height;
    m_picture->color_range = AVCOL_RANGE_MPEG;
    m_picture->colorspace = AVCOL_SPC_BT709;
    result = av_frame_get_buffer(m_picture, 64);
    if (result < 0)
        return fail(QStringLiteral("no memory for a frame"), result);
    return true;
}

bool VideoWriter::openFile()
{
    const QByteArray path = QFile::encodeName(m_path);
    int result = avformat_alloc_output_context2(&m_format, nullptr, "mp4", path.constData());
    if (result < 0 || !m_format)
        return fail(QStringLiteral("the MPEG-4 writer cannot be made"), result);
    m_stream = avformat_new_stream(m_format, nullptr);
    if (!m_stream)
        return fail(QStringLiteral("no memory for the video track"), AVERROR(ENOMEM));
    result = avcodec_parameters_from_context(m_stream->codecpar, m_codec);
    if (result < 0)
        return fail(QStringLiteral("the video track cannot take the encoder's parameters"), result);
    m_stream->time_base = m_codec->time_base;
    m_stream->avg_frame_rate = m_codec->framerate;

    result = avio_open(&m_format->pb, path.constData(), AVIO_FLAG_WRITE);
    if (result < 0)
        return fail(QStringLiteral("%1 cannot be written").arg(m_path), result);
    m_fileOpened = true;

    AVDictionary* options = nullptr;
    result = av_dict_set(&options, "movflags", "+faststart", 0);
    if (result >= 0)
        result = avformat_write_header(m_format, &options);
    const int unused = av_dict_count(options);
    av_dict_free(&options);
    if (result < 0)
        return fail(QStringLiteral("the movie header cannot be written"), result);
    if (unused > 0)
        return fail(QStringLiteral("the MPEG-4 writer does not know the fast-start flag"));
    return true;
}

bool VideoWriter::append(const PixelBuffer& buffer, int64_t frameIndex)
{
    if (m_status != Status::Writing)
        return refuse(QStringLiteral("the writer is not writing"));
    if (buffer.width() != m_width || buffer.height() != m_height)
        return fail(QStringLiteral("a %1 × %2 frame was given to a %3 × %4 movie")
                        .arg(buffer.width()).arg(buffer.height()).arg(m_width).arg(m_height));
    return append(buffer.data(), buffer.bytesPerRow(), frameIndex);
}

bool VideoWriter::append(const uint8_t* argb, int bytesPerRow, int64_t frameIndex)
{
    if (m_status != Status::Writing)
        return refuse(QStringLiteral("the writer is not writing"));
    if (!argb || bytesPerRow < m_width * PixelBuffer::bytesPerPixel)
        return fail(QStringLiteral("a frame without pixels or with rows shorter than the width"));
    if (frameIndex <= m_lastFrameIndex)
        return fail(QStringLiteral("frame %1 comes after frame %2").arg(frameIndex).arg(m_lastFrameIndex));

    // The encoder may still hold the previous picture; it gets a copy if so.
    int result = av_frame_make_writable(m_picture);
    if (result < 0)
        return fail(QStringLiteral("no memory for a frame"), result);

    // The converter takes frames by reference; lend it the caller's memory
    // instead of letting it copy the whole frame first.
    const std::size_t size = static_cast<std::size_t>(bytesPerRow) * static_cast<std::size_t>(m_height);
    m_source->buf[0] = av_buffer_create(const_cast<uint8_t*>(argb), size, keepCallersMemory, nullptr, AV_BUFFER_FLAG_READONLY);
    if (!m_source->buf[0])
        return fail(QStringLiteral("no memory for a frame reference"), AVERROR(ENOMEM));
    m_source->data[0] = const_cast<uint8_t*>(argb);
    m_source->linesize[0] = bytesPerRow;
    m_source->format = AV_PIX_FMT_ARGB;
    m_source->width = m_width;
    m_source->height = m_height;
    m_source->color_range = AVCOL_RANGE_JPEG;
    result = sws_scale_frame(m_converter, m_picture, m_source);
    av_frame_unref(m_source);
    if (result < 0)
        return fail(QStringLiteral("the frame cannot be converted"), result);

    m_picture->pts = frameIndex;
    result = avcodec_send_frame(m_codec, m_picture);
    if (result < 0)
        return fail(QStringLiteral("the encoder refused a frame"), result);
    m_lastFrameIndex = frameIndex;
    return drainPackets();
}

bool VideoWriter::drainPackets()
{
    for (;;) {
        int result = avcodec_receive_packet(m_codec, m_packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0)
            return fail(QStringLiteral("the encoder failed"), result);
        // Every frame lasts one frame time, the last one included, so the
        // movie lasts exactly its number of frames.
        m_packet->duration = 1;
        av_packet_rescale_ts(m_packet, m_codec->time_base, m_stream->time_base);
        m_packet->stream_index = m_stream->index;
        result = av_interleaved_write_frame(m_format, m_packet);
        av_packet_unref(m_packet);
        if (result < 0)
            return fail(QStringLiteral("the movie file cannot be written"), result);
    }
}

bool VideoWriter::finish()
{
    if (m_status != Status::Writing)
        return refuse(QStringLiteral("the writer is not writing"));
    int result = avcodec_send_frame(m_codec, nullptr);
    if (result < 0)
        return fail(QStringLiteral("the encoder cannot be flushed"), result);
    if (!drainPackets())
        return false;
    // With the fast-start flag this also moves the index to the front.
    result = av_write_trailer(m_format);
    if (result < 0)
        return fail(QStringLiteral("the movie index cannot be written"), result);
    result = avio_closep(&m_format->pb);
    if (result < 0)
        return fail(QStringLiteral("the movie file cannot be closed"), result);
    m_fileOpened = false;
    release();
    m_status = Status::Completed;
    return true;
}

void VideoWriter::cancel()
{
    release();
    if (m_fileOpened)
        QFile::remove(m_path);
    m_fileOpened = false;
    if (m_status == Status::Unknown || m_status == Status::Writing)
        m_status = Status::Cancelled;
}

bool VideoWriter::fail(const QString& what, int code)
{
    m_errorMessage = code < 0 ? what + QStringLiteral(": ") + describeError(code) : what;
    const bool hadFile = m_fileOpened;
    release();
    if (hadFile)
        QFile::remove(m_path);
    m_fileOpened = false;
    m_status = Status::Failed;
    return false;
}

bool VideoWriter::refuse(const QString& what)
{
    m_errorMessage = what;
    return false;
}

void VideoWriter::release()
{
    sws_freeContext(m_converter);
    m_converter = nullptr;
    av_frame_free(&m_source);
    av_frame_free(&m_picture);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    if (m_format) {
        if (m_format->pb)
            avio_closep(&m_format->pb);
        avformat_free_context(m_format);
        m_format = nullptr;
        m_stream = nullptr;
    }
}

}

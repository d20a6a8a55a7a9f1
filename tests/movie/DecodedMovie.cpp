#include "DecodedMovie.h"

#include <QFile>
#include <cmath>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

struct Decoding {
    AVFormatContext* format { nullptr };
    AVCodecContext* codec { nullptr };
    AVPacket* packet { av_packet_alloc() };
    AVFrame* frame { av_frame_alloc() };
    ~Decoding()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }
};

std::vector<unsigned char> copyLuma(const AVFrame& frame)
{
    std::vector<unsigned char> plane(static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height));
    for (int y = 0; y < frame.height; ++y) {
        const unsigned char* row = frame.data[0] + static_cast<ptrdiff_t>(y) * frame.linesize[0];
        std::copy(row, row + frame.width, plane.begin() + static_cast<ptrdiff_t>(y) * frame.width);
    }
    return plane;
}

}

std::vector<unsigned char> firstFrameLuma(const QString& path)
{
    Decoding d;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&d.format, name.constData(), nullptr, nullptr) < 0
        || avformat_find_stream_info(d.format, nullptr) < 0)
        return {};
    const int index = av_find_best_stream(d.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0)
        return {};
    const AVStream* stream = d.format->streams[index];
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    d.codec = avcodec_alloc_context3(decoder);
    if (!decoder || !d.codec || avcodec_parameters_to_context(d.codec, stream->codecpar) < 0
        || avcodec_open2(d.codec, decoder, nullptr) < 0)
        return {};
    bool flushed = false;
    while (!flushed) {
        if (av_read_frame(d.format, d.packet) < 0) {
            avcodec_send_packet(d.codec, nullptr);
            flushed = true;
        } else {
            if (d.packet->stream_index == index)
                avcodec_send_packet(d.codec, d.packet);
            av_packet_unref(d.packet);
        }
        if (avcodec_receive_frame(d.codec, d.frame) == 0)
            return copyLuma(*d.frame);
    }
    return {};
}

double lumaPsnr(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    if (a.size() != b.size() || a.empty())
        return 0;
    double squares = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double difference = double(a[i]) - double(b[i]);
        squares += difference * difference;
    }
    if (squares == 0)
        return std::numeric_limits<double>::infinity();
    return 10 * std::log10(255.0 * 255.0 / (squares / double(a.size())));
}

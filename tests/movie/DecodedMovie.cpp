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

std::optional<DecodedMovie> decodeMovie(const QString& path, const std::vector<int>& keepFrames)
{
    Decoding d;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&d.format, name.constData(), nullptr, nullptr) < 0
        || avformat_find_stream_info(d.format, nullptr) < 0)
        return std::nullopt;
    const int index = av_find_best_stream(d.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0)
        return std::nullopt;
    const AVStream* stream = d.format->streams[index];
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    d.codec = avcodec_alloc_context3(decoder);
    if (!decoder || !d.codec || avcodec_parameters_to_context(d.codec, stream->codecpar) < 0
        || avcodec_open2(d.codec, decoder, nullptr) < 0)
        return std::nullopt;

    DecodedMovie movie;
    movie.width = stream->codecpar->width;
    movie.height = stream->codecpar->height;
    movie.framesPerSecond = av_q2d(stream->avg_frame_rate);
    // Negative indexes need the count, so keep every plane until the end and
    // pick afterwards only when one is asked for.
    bool fromEnd = false;
    for (int k : keepFrames)
        fromEnd = fromEnd || k < 0;
    std::vector<std::vector<unsigned char>> all;
    std::vector<std::vector<unsigned char>> kept(keepFrames.size());
    auto take = [&] {
        while (avcodec_receive_frame(d.codec, d.frame) == 0) {
            for (size_t i = 0; i < keepFrames.size(); ++i) {
                if (keepFrames[i] == movie.frames)
                    kept[i] = copyLuma(*d.frame);
            }
            if (fromEnd)
                all.push_back(copyLuma(*d.frame));
            ++movie.frames;
            av_frame_unref(d.frame);
        }
    };
    while (av_read_frame(d.format, d.packet) >= 0) {
        if (d.packet->stream_index == index && avcodec_send_packet(d.codec, d.packet) == 0)
            take();
        av_packet_unref(d.packet);
    }
    avcodec_send_packet(d.codec, nullptr);
    take();
    for (size_t i = 0; i < keepFrames.size(); ++i) {
        const int k = keepFrames[i] < 0 ? movie.frames + keepFrames[i] : keepFrames[i];
        if (keepFrames[i] < 0 && k >= 0)
            kept[i] = all[static_cast<size_t>(k)];
    }
    movie.luma = std::move(kept);
    return movie;
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

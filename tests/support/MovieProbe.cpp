#include "MovieProbe.h"

#include <QFile>
#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

struct Decoding {
    AVFormatContext* format { nullptr };
    AVCodecContext* decoder { nullptr };
    AVPacket* packet { av_packet_alloc() };
    AVFrame* frame { av_frame_alloc() };
    ~Decoding()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&decoder);
        avformat_close_input(&format);
    }

    void receive(std::vector<std::vector<uint8_t>>& pictures)
    {
        while (avcodec_receive_frame(decoder, frame) >= 0) {
            auto& luma = pictures.emplace_back();
            for (int row = 0; row < frame->height; ++row)
                luma.insert(luma.end(), frame->data[0] + row * frame->linesize[0], frame->data[0] + row * frame->linesize[0] + frame->width);
        }
    }
};

}

std::optional<MovieProbe> probeMovie(const QString& path, bool decode)
{
    Decoding d;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&d.format, name.constData(), nullptr, nullptr) < 0 || avformat_find_stream_info(d.format, nullptr) < 0)
        return std::nullopt;
    MovieProbe probe;
    probe.streams = static_cast<int>(d.format->nb_streams);
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    // Box names do not turn up by chance before the first real box of each.
    probe.indexBeforeData = bytes.indexOf("moov") >= 0 && bytes.indexOf("moov") < bytes.indexOf("mdat");
    const int index = av_find_best_stream(d.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0)
        return probe;
    const AVStream* video = d.format->streams[index];
    const AVCodecParameters* codec = video->codecpar;
    probe.isH264 = codec->codec_id == AV_CODEC_ID_H264;
    probe.width = codec->width;
    probe.height = codec->height;
    probe.frameRate = av_q2d(video->avg_frame_rate);
    probe.timeBaseNumerator = video->time_base.num;
    probe.timeBaseDenominator = video->time_base.den;
    probe.duration = video->duration;
    probe.taggedBt709 = codec->color_space == AVCOL_SPC_BT709 && codec->color_range == AVCOL_RANGE_MPEG;
    if (decode) {
        const AVCodec* decoder = avcodec_find_decoder(codec->codec_id);
        d.decoder = decoder ? avcodec_alloc_context3(decoder) : nullptr;
        if (!d.decoder || avcodec_parameters_to_context(d.decoder, codec) < 0 || avcodec_open2(d.decoder, decoder, nullptr) < 0)
            return std::nullopt;
    }
    while (av_read_frame(d.format, d.packet) >= 0) {
        if (d.packet->stream_index == index) {
            probe.presentationTimes.push_back(d.packet->pts);
            if (decode && avcodec_send_packet(d.decoder, d.packet) >= 0)
                d.receive(probe.lumaPictures);
        }
        av_packet_unref(d.packet);
    }
    if (decode && avcodec_send_packet(d.decoder, nullptr) >= 0)
        d.receive(probe.lumaPictures);
    std::sort(probe.presentationTimes.begin(), probe.presentationTimes.end());
    return probe;
}

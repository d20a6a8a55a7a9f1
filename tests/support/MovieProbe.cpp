#include "MovieProbe.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

// Walks the top-level boxes of an MPEG-4 file.
bool indexBeforeData(const QString& path)
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    auto word = [&](qint64 at) { return qFromBigEndian<quint32>(bytes.constData() + at); };
    for (qint64 at = 0; at + 8 <= bytes.size();) {
        const QByteArray type = bytes.mid(at + 4, 4);
        if (type == "moov" || type == "mdat")
            return type == "moov";
        uint64_t size = word(at);
        if (size == 1 && at + 16 <= bytes.size())
            size = uint64_t(word(at + 8)) << 32 | word(at + 12);
        if (size < 8)
            return false;
        at += static_cast<qint64>(size);
    }
    return false;
}

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
};

void receivePictures(Decoding& d, std::vector<DecodedPicture>& pictures)
{
    while (avcodec_receive_frame(d.decoder, d.frame) >= 0) {
        const AVFrame* f = d.frame;
        DecodedPicture picture;
        picture.width = f->width;
        for (int row = 0; row < f->height; ++row)
            picture.luma.insert(picture.luma.end(), f->data[0] + row * f->linesize[0], f->data[0] + row * f->linesize[0] + f->width);
        for (int row = 0; row < f->height / 2; ++row)
            picture.redDifference.insert(picture.redDifference.end(), f->data[2] + row * f->linesize[2], f->data[2] + row * f->linesize[2] + f->width / 2);
        pictures.push_back(std::move(picture));
    }
}

}

std::optional<MovieProbe> probeMovie(const QString& path, bool decode)
{
    Decoding d;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&d.format, name.constData(), nullptr, nullptr) < 0 || avformat_find_stream_info(d.format, nullptr) < 0)
        return std::nullopt;
    MovieProbe probe;
    const AVStream* video = nullptr;
    for (unsigned i = 0; i < d.format->nb_streams; ++i) {
        const AVStream* stream = d.format->streams[i];
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
            ++probe.otherStreams;
        else if (++probe.videoStreams == 1)
            video = stream;
    }
    if (!video)
        return probe;
    const AVCodecParameters* codec = video->codecpar;
    probe.isH264 = codec->codec_id == AV_CODEC_ID_H264;
    probe.width = codec->width;
    probe.height = codec->height;
    probe.frameRateNumerator = video->avg_frame_rate.num;
    probe.frameRateDenominator = video->avg_frame_rate.den;
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
        if (d.packet->stream_index == video->index) {
            probe.presentationTimes.push_back(d.packet->pts);
            if (decode && avcodec_send_packet(d.decoder, d.packet) >= 0)
                receivePictures(d, probe.pictures);
        }
        av_packet_unref(d.packet);
    }
    if (decode && avcodec_send_packet(d.decoder, nullptr) >= 0)
        receivePictures(d, probe.pictures);
    std::sort(probe.presentationTimes.begin(), probe.presentationTimes.end());
    probe.indexBeforeData = indexBeforeData(path);
    return probe;
}

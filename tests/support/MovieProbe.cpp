#include "MovieProbe.h"

#include <QFile>
#include <algorithm>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

struct Demuxing {
    AVFormatContext* format { nullptr };
    AVPacket* packet { av_packet_alloc() };
    ~Demuxing()
    {
        av_packet_free(&packet);
        avformat_close_input(&format);
    }
};

}

std::optional<MovieProbe> probeMovie(const QString& path)
{
    Demuxing d;
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
    probe.timeBaseNumerator = video->time_base.num;
    probe.timeBaseDenominator = video->time_base.den;
    probe.duration = video->duration;
    probe.taggedBt709 = codec->color_space == AVCOL_SPC_BT709 && codec->color_range == AVCOL_RANGE_MPEG;
    while (av_read_frame(d.format, d.packet) >= 0) {
        if (d.packet->stream_index == index)
            probe.presentationTimes.push_back(d.packet->pts);
        av_packet_unref(d.packet);
    }
    std::sort(probe.presentationTimes.begin(), probe.presentationTimes.end());
    return probe;
}

#include "MovieProbe.h"

#include <QFile>
#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

uint32_t bigEndian32(const QByteArray& bytes, qint64 at)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData() + at);
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Walks the top-level boxes of an MPEG-4 file.
bool indexBeforeData(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    qint64 at = 0;
    while (at + 8 <= bytes.size()) {
        uint64_t size = bigEndian32(bytes, at);
        const QByteArray type = bytes.mid(at + 4, 4);
        if (type == "moov")
            return true;
        if (type == "mdat")
            return false;
        if (size == 1 && at + 16 <= bytes.size())
            size = uint64_t(bigEndian32(bytes, at + 8)) << 32 | bigEndian32(bytes, at + 12);
        if (size < 8)
            return false;
        at += static_cast<qint64>(size);
    }
    return false;
}

struct Input {
    AVFormatContext* format { nullptr };
    ~Input() { avformat_close_input(&format); }
};

}

std::optional<MovieProbe> probeMovie(const QString& path)
{
    Input input;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&input.format, name.constData(), nullptr, nullptr) < 0)
        return std::nullopt;
    if (avformat_find_stream_info(input.format, nullptr) < 0)
        return std::nullopt;
    MovieProbe probe;
    int videoIndex = -1;
    for (unsigned i = 0; i < input.format->nb_streams; ++i) {
        const AVStream* stream = input.format->streams[i];
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
            ++probe.otherStreams;
            continue;
        }
        ++probe.videoStreams;
        if (videoIndex >= 0)
            continue;
        videoIndex = static_cast<int>(i);
        probe.isH264 = stream->codecpar->codec_id == AV_CODEC_ID_H264;
        probe.width = stream->codecpar->width;
        probe.height = stream->codecpar->height;
        probe.frameRateNumerator = stream->avg_frame_rate.num;
        probe.frameRateDenominator = stream->avg_frame_rate.den;
        probe.timeBaseNumerator = stream->time_base.num;
        probe.timeBaseDenominator = stream->time_base.den;
        probe.duration = stream->duration;
        probe.taggedBt709 = stream->codecpar->color_space == AVCOL_SPC_BT709
            && stream->codecpar->color_range == AVCOL_RANGE_MPEG;
    }
    if (videoIndex < 0)
        return probe;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(input.format, packet) >= 0) {
        if (packet->stream_index == videoIndex)
            probe.presentationTimes.push_back(packet->pts);
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    std::sort(probe.presentationTimes.begin(), probe.presentationTimes.end());
    probe.indexBeforeData = indexBeforeData(path);
    return probe;
}

std::vector<DecodedPicture> decodeMovie(const QString& path)
{
    std::vector<DecodedPicture> pictures;
    Input input;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&input.format, name.constData(), nullptr, nullptr) < 0
        || avformat_find_stream_info(input.format, nullptr) < 0)
        return pictures;
    const int videoIndex = av_find_best_stream(input.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (videoIndex < 0)
        return pictures;
    const AVCodec* codec = avcodec_find_decoder(input.format->streams[videoIndex]->codecpar->codec_id);
    AVCodecContext* decoder = codec ? avcodec_alloc_context3(codec) : nullptr;
    if (!decoder || avcodec_parameters_to_context(decoder, input.format->streams[videoIndex]->codecpar) < 0
        || avcodec_open2(decoder, codec, nullptr) < 0) {
        avcodec_free_context(&decoder);
        return pictures;
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto receive = [&] {
        while (avcodec_receive_frame(decoder, frame) >= 0) {
            DecodedPicture picture;
            picture.width = frame->width;
            picture.height = frame->height;
            for (int row = 0; row < frame->height; ++row)
                picture.luma.insert(picture.luma.end(), frame->data[0] + row * frame->linesize[0], frame->data[0] + row * frame->linesize[0] + frame->width);
            for (int row = 0; row < frame->height / 2; ++row) {
                picture.blueDifference.insert(picture.blueDifference.end(), frame->data[1] + row * frame->linesize[1], frame->data[1] + row * frame->linesize[1] + frame->width / 2);
                picture.redDifference.insert(picture.redDifference.end(), frame->data[2] + row * frame->linesize[2], frame->data[2] + row * frame->linesize[2] + frame->width / 2);
            }
            pictures.push_back(std::move(picture));
        }
    };
    while (av_read_frame(input.format, packet) >= 0) {
        if (packet->stream_index == videoIndex && avcodec_send_packet(decoder, packet) >= 0)
            receive();
        av_packet_unref(packet);
    }
    if (avcodec_send_packet(decoder, nullptr) >= 0)
        receive();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    return pictures;
}

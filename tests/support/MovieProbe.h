#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// One decoded picture: the luma and red-difference planes of yuv420p, rows packed.
struct DecodedPicture {
    int width { 0 };
    std::vector<uint8_t> luma;
    std::vector<uint8_t> redDifference;
    uint8_t y(int x, int row) const { return luma[static_cast<size_t>(row) * width + x]; }
    uint8_t v(int x, int row) const { return redDifference[static_cast<size_t>(row / 2) * (width / 2) + x / 2]; }
};

// What a test needs to know of a movie file, read back with libavformat and
// libavcodec. Figures are of the first video stream.
struct MovieProbe {
    int videoStreams { 0 };
    int otherStreams { 0 };
    bool isH264 { false };
    int width { 0 };
    int height { 0 };
    int frameRateNumerator { 0 };
    int frameRateDenominator { 0 };
    int timeBaseNumerator { 0 };
    int timeBaseDenominator { 0 };
    // Presentation times of the video packets in the time base, in display order.
    std::vector<int64_t> presentationTimes;
    int64_t duration { 0 };
    // The index ("moov") comes before the media data ("mdat").
    bool indexBeforeData { false };
    bool taggedBt709 { false };
    // Filled only when decoding was asked for, in display order.
    std::vector<DecodedPicture> pictures;

    // Whether a time in the time base is exactly seconds = numerator / denominator.
    bool isAtSeconds(int64_t time, int64_t numerator, int64_t denominator) const
    {
        return time * timeBaseNumerator * denominator == numerator * timeBaseDenominator;
    }
};

std::optional<MovieProbe> probeMovie(const QString& path, bool decode = false);

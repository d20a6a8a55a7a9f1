#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// What a test needs to know of a movie file, read back with libavformat.
// Figures are of the first video stream.
struct MovieProbe {
    int streams { 0 };
    bool isH264 { false };
    int width { 0 };
    int height { 0 };
    int timeBaseNumerator { 0 };
    int timeBaseDenominator { 0 };
    // Presentation times of the video packets in the time base, in display order.
    std::vector<int64_t> presentationTimes;
    int64_t duration { 0 };
    // The index ("moov") comes before the media data ("mdat").
    bool indexBeforeData { false };
    bool taggedBt709 { false };

    // Whether a time in the time base is exactly seconds = numerator / denominator.
    bool isAtSeconds(int64_t time, int64_t numerator, int64_t denominator) const
    {
        return time * timeBaseNumerator * denominator == numerator * timeBaseDenominator;
    }
};

std::optional<MovieProbe> probeMovie(const QString& path);

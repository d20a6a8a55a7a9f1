#pragma once

#include <QString>
#include <optional>
#include <vector>

// A movie read back and decoded with libavcodec: its frame count, size and
// rate, and the luma plane of the frames asked for, one byte per pixel with
// rows packed.
struct DecodedMovie {
    int frames { 0 };
    int width { 0 };
    int height { 0 };
    double framesPerSecond { 0 };
    // Luma planes of the requested frames, in the order asked for; empty for
    // an index past the end.
    std::vector<std::vector<unsigned char>> luma;
};

// Frame indexes count from 0 in display order; a negative index counts from
// the end (-1 is the last frame). Nothing when the file cannot be decoded.
std::optional<DecodedMovie> decodeMovie(const QString& path, const std::vector<int>& keepFrames);

// Peak signal-to-noise ratio of two planes of equal size, in decibels; infinity
// when they are equal.
double lumaPsnr(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);

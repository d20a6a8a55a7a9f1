#pragma once

#include <QString>
#include <vector>

// The luma plane of a movie's first frame, decoded with libavcodec, one byte
// per pixel with rows packed; empty when the file cannot be decoded.
std::vector<unsigned char> firstFrameLuma(const QString& path);

// Peak signal-to-noise ratio of two planes of equal size, in decibels; infinity
// when they are equal.
double lumaPsnr(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);

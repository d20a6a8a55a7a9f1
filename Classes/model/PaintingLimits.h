#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

// What a painting read from files may ask for. Files come from disk, where
// anything can be put under our names, so every count, side and picture is
// held to what a real painting made by this program can need; whatever asks
// for more is a damaged file. Reading then costs time and memory in
// proportion to a real painting, never to what a file claims.
namespace paintinglimits {

// A painting is the size of the screen it was drawn on, in points; the
// largest tablet screens are under 1400 points a side, so 4096 leaves ample
// room. One canvas of 4096 x 4096 takes 64 MiB, and a layer keeps two.
constexpr int32_t maxSide = 4096;

// The editor gives a painting one layer; the format allows a few more. All
// layers together may cover no more than one canvas of the largest side, so
// a file can never commit more canvas memory than the largest real painting.
constexpr int32_t maxLayers = 4;
constexpr int64_t maxTotalLayerArea = int64_t { maxSide } * maxSide;

// Points are recorded at least 20 points apart, so an hour of drawing
// without a pause gives a stroke file of a few MiB. No more than this is
// ever read, whatever length the file has: bytes after the last stroke
// are never looked at, and a file whose counts need more is damaged.
constexpr size_t maxStrokeFileBytes = 8u << 20;

// Pictures are stored at the screen's scale, 1 or 2 ("@2x" names): a
// picture may have at most its painting's sides times that scale. The
// scale of the name is used, so a plain-named picture may not be a 2x one.
inline bool pictureFits(int pixelWidth, int pixelHeight, int pointWidth, int pointHeight, int scale)
{
    return pixelWidth > 0 && pixelHeight > 0 && int64_t { pixelWidth } <= int64_t { pointWidth } * scale
        && int64_t { pixelHeight } <= int64_t { pointHeight } * scale;
}

// A thumbnail is a quarter of the screen's width wide, at the screen's
// scale. Half the longer side of the screen, times the name's scale, also
// takes a thumbnail written on a device of another size or orientation.
inline int maxThumbnailSide(float screenWidth, float screenHeight, int scale)
{
    return static_cast<int>(std::max(screenWidth, screenHeight) / 2) * scale;
}

// Live drawing takes touches on the canvas; a finger dragged off the screen
// still reports positions a little beyond it. A recorded position may lie at
// most one canvas side outside the canvas, so one replay step never draws
// along more than a few canvas diagonals.
inline int32_t positionMargin(int32_t width, int32_t height)
{
    return std::max(width, height);
}

// Recorded brush sizes are held to each brush's own range, as its
// clampSize gives it. The glow is held to the widest any neon brush
// records (a high-resolution phone's); the blur and its margins grow with it.
constexpr uint32_t maxNeonSize = 30;

}

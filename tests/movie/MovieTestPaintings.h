#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Geometry.h"

#include <memory>
#include <vector>

class Painting;
namespace platform {
class Image;
class PixelBuffer;
}

// A painting of the size (whole multiples of 16, so the crop is the whole
// painting) on a dark blue ground with `strokes` pen strokes of solid colours
// in its top-left quarter, so that any turn of the picture shows.
std::unique_ptr<Painting> makeStrokedPainting(int width, int height, int strokes);

// The painting stored under a new name in Documents and read back, as the
// gallery hands it to the export screen. Null when it could not be saved.
std::unique_ptr<Painting> saveAndReload(std::unique_ptr<Painting> painting);

// How many frames the painting's replay yields at the speed the export picks.
int replayFrames(Painting& painting);

// The frame's luma as the movie stores it (BT.709, limited range), rows packed.
std::vector<unsigned char> frameLuma(const platform::PixelBuffer& frame);
// The picture's luma as the movie should show it after `turns` left turns.
std::vector<unsigned char> pictureLuma(const platform::Image& picture, int turns);

// The export's frame transform after `turns` quarter turns to the left of a
// frame that measured `size` at first; `size` becomes the turned size.
platform::AffineTransform turnedLeft(int turns, platform::Size& size);

// The largest difference of any byte of two frames of the same size.
int maxFrameDifference(const platform::PixelBuffer& a, const platform::PixelBuffer& b);

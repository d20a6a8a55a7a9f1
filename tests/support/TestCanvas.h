#pragma once

#include "platform/graphics/BitmapContext.h"

#include <QImage>
#include <memory>
#include <span>
#include <string>
#include <vector>

class Brush;
class PatternManager;
class Stroke;

// A canvas-format bitmap for drawing tests, addressed in painting coordinates
// (origin top-left, y down) the way brushes draw into a layer.
class TestCanvas final {
public:
    TestCanvas(int width, int height);

    platform::BitmapContext& context() { return *m_context; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Premultiplied 0xAARRGGBB of the pixel that painting point (x, y) covers.
    uint32_t pixel(int x, int y) const;
    int alpha(int x, int y) const { return pixel(x, y) >> 24; }
    // Number of pixels with any coverage.
    int paintedPixelCount() const;
    // The picture upright, as the child sees it.
    QImage uprightImage() const;

private:
    int m_width;
    int m_height;
    std::vector<uint32_t> m_pixels;
    std::unique_ptr<platform::BitmapContext> m_context;
};

// Draws a live stroke through the points with the brush (first point begins it,
// the last ends it) and returns the recorded stroke.
std::unique_ptr<Stroke> drawLiveStroke(Brush& brush, TestCanvas& canvas, std::span<const platform::Point> points);

// Replays a recorded stroke into the canvas with a fresh brush of its type and
// mirror mode, the way a replaying layer does. False when no brush has its type.
bool replayStroke(const Stroke& stroke, TestCanvas& canvas, std::shared_ptr<PatternManager> patterns = nullptr);

// The largest difference of any channel of any pixel.
int maxChannelDifference(const TestCanvas& a, const TestCanvas& b);
int maxChannelDifference(const QImage& a, const QImage& b);

// Compares with a committed PNG under tests/data/golden. With PINTARO_UPDATE_GOLDEN=1
// the reference is (re)written instead. Returns an empty string when they match
// within `tolerance` per channel, else what differs.
std::string compareWithGolden(const QImage& image, const std::string& name, int tolerance);

// A wavy test stroke of `count` points starting at `start`, about `step` apart.
std::vector<platform::Point> wavyPoints(platform::Point start, int count, float step);

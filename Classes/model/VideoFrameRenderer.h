#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"

#include <cstdint>
#include <vector>

class Painting;
struct LayerCanvas;

namespace platform {
class PixelBuffer;
}

// Draws a painting's replay state into video frames: its background with a
// canvas over it, upright, scaled by the export scale and oriented by the frame
// transform, the bottom edge of the crop on the frame's bottom edge.
//
// Frame transforms that keep the picture's edges on whole pixels and turn it by
// quarter turns only (every transform the movie export makes) are composed
// straight from the canvas memory over a cached picture of the background, and
// allocate nothing once the cache is warm. Any other transform is drawn through
// a bitmap context.
class VideoFrameRenderer final {
public:
    struct Geometry {
        float scale { 1 };
        // Painting size in points, and the height of its unaligned crop.
        float paintingWidth { 0 };
        float paintingHeight { 0 };
        float cropHeight { 0 };
        platform::AffineTransform frameTransform;
        bool operator==(const Geometry&) const = default;
    };

    // The canvas may be absent: the frame then shows the background alone.
    void render(platform::PixelBuffer& frame, const Geometry& geometry, const Painting& painting,
        const LayerCanvas* canvas);
    // The same frame drawn through a bitmap context, for any transform.
    static void renderWithContext(platform::PixelBuffer& frame, const Geometry& geometry, const Painting& painting,
        const LayerCanvas* canvas);

private:
    // Where the frame samples the canvas along one axis of the frame: for
    // every frame column (or row) the byte offsets of the two nearest canvas
    // pixels along the canvas axis it follows and the weight of the second,
    // in sixteenths.
    struct AxisTable {
        std::vector<int32_t> offset0;
        std::vector<int32_t> offset1;
        std::vector<uint8_t> weight;
        int begin { 0 };
        int end { 0 };
        bool isExact { true };
        // Successive frame pixels step through the canvas by the same number
        // of bytes (4 when they lie side by side), at least while exact.
        bool isEven { false };
        int32_t step { 0 };
    };
    struct CacheKey {
        int frameWidth { 0 };
        int frameHeight { 0 };
        Geometry geometry;
        platform::Color backgroundColor;
        long long backgroundImageKey { 0 };
        float backgroundImageScale { 0 };
        int canvasWidth { 0 };
        int canvasHeight { 0 };
        int canvasBytesPerRow { 0 };
        bool operator==(const CacheKey&) const = default;
    };

    // False when the transform needs the general drawing.
    bool prepare(const CacheKey& key, const Painting& painting);
    // False when the canvas edges do not fall on whole frame pixels.
    static bool fillAxis(AxisTable& table, int frameExtent, double scale, double origin, int canvasExtent,
        int32_t stride);
    static void drawFrame(void* memory, int width, int height, int bytesPerRow, const Geometry& geometry,
        const Painting& painting, const LayerCanvas* canvas);
    // The canvas over the background in the columns that show it, in frame row v.
    void composeRow(uint32_t* out, const uint32_t* background, const LayerCanvas& canvas, int v) const;

    CacheKey m_key;
    bool m_isValid { false };
    bool m_isFast { false };
    // The background alone, rows packed, in the frame's byte order.
    std::vector<uint32_t> m_background;
    AxisTable m_columns;
    AxisTable m_rows;
};

#pragma once

#include "platform/graphics/Geometry.h"

#include <cstdint>
#include <span>
#include <vector>

// The part of a canvas that one step of a whole-path brush can change, kept as
// whole tiles. Each mirror copy adds a thin convex area; the tiles let the layer
// restore and refill just those areas instead of the whole shape.
class RedrawRegion final {
public:
    // In points; a whole number of pixels on every screen scale.
    static constexpr int tileSize = 8;

    // Empties the region over a canvas of the size.
    void reset(float width, float height);
    // Marks every tile that the convex hull of the points, grown by `margin`, touches.
    void addHull(std::span<const platform::Point> points, float margin);
    // The marked tiles as rectangles: the runs of each row of tiles, rows in
    // order, clipped to the canvas. None overlap.
    const std::vector<platform::Rect>& rects();
    // Fewer, larger rectangles that cover the marked tiles: in each band of
    // `bandRows` tile rows, one per run of columns marked in any of its rows,
    // from the run's first marked row to its last. None overlap. What a screen
    // repaints, where each rectangle costs more than a few extra pixels.
    const std::vector<platform::Rect>& coveringRects();

    static constexpr int bandRows = 4;

private:
    float m_width { 0 };
    float m_height { 0 };
    int m_columns { 0 };
    int m_rows { 0 };
    std::vector<uint8_t> m_tiles;
    std::vector<platform::Rect> m_rects;
    std::vector<platform::Rect> m_coveringRects;
    bool m_rectsValid { false };
    bool m_coveringRectsValid { false };
};

#include "Classes/model/RedrawRegion.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using platform::Point;
using platform::Rect;

namespace {

bool overlap(const Rect& a, const Rect& b)
{
    return a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
}

bool inside(const Rect& inner, const std::vector<Rect>& outer)
{
    for (const Rect& r : outer) {
        if (r.minX() <= inner.minX() && r.minY() <= inner.minY() && inner.maxX() <= r.maxX() && inner.maxY() <= r.maxY())
            return true;
    }
    return false;
}

}

// The screen repaints the covering rectangles of a whole-path step: they must
// hold every tile the step redrew, without overlapping each other or leaving
// the canvas, and be far fewer than the tile runs for thin slanted areas.
TEST(RedrawRegion, CoveringRectanglesHoldEveryTileInFewerPieces)
{
    RedrawRegion region;
    region.reset(301, 203); // not whole tiles
    // Thin slanted triangles, as mirror copies of one step leave them, one
    // reaching past the canvas's corner.
    for (int copy = 0; copy < 6; ++copy) {
        const float angle = static_cast<float>(copy) * 1.0472f;
        const Point centre { 150, 100 };
        const std::array<Point, 3> hull { centre,
            Point { centre.x + 190 * std::cos(angle), centre.y + 190 * std::sin(angle) },
            Point { centre.x + 185 * std::cos(angle + 0.05f), centre.y + 185 * std::sin(angle + 0.05f) } };
        region.addHull(hull, 3);
    }
    const std::vector<Rect> tiles = region.rects();
    const std::vector<Rect>& covering = region.coveringRects();
    ASSERT_FALSE(tiles.empty());
    for (const Rect& tile : tiles)
        EXPECT_TRUE(inside(tile, covering)) << tile.x() << "," << tile.y();
    float area = 0;
    for (size_t i = 0; i < covering.size(); ++i) {
        const Rect& r = covering[i];
        EXPECT_TRUE(r.minX() >= 0 && r.minY() >= 0 && r.maxX() <= 301 && r.maxY() <= 203);
        for (size_t j = i + 1; j < covering.size(); ++j)
            EXPECT_FALSE(overlap(r, covering[j])) << i << " and " << j;
        area += r.width() * r.height();
    }
    float tileArea = 0;
    for (const Rect& tile : tiles)
        tileArea += tile.width() * tile.height();
    EXPECT_LE(covering.size() * 3, tiles.size());
    EXPECT_LE(area, 3 * tileArea);

    // Marking more tiles, or starting afresh, is seen by the next answer.
    region.addHull(std::array<Point, 1> { Point { 296, 8 } }, 0);
    EXPECT_TRUE(inside(Rect(296, 8, 5, 8), region.coveringRects()));
    region.reset(301, 203);
    EXPECT_TRUE(region.coveringRects().empty());
}

#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Geometry.h"

#include <algorithm>
#include <cstdint>
#include <vector>

class QPainterPath;

namespace platform {

// Antialiased coverage of filled shapes by signed-area accumulation, the way
// font rasterisers work. Each edge adds to every pixel cell it crosses its
// signed height and the area it leaves beside it; a running sum along each row
// then gives every pixel its area inside the shape, counted once per winding.
// The arithmetic is integer, so the result of a set of edges is exactly the sum
// of the results of each edge: a fill can be kept, and changed by adding only
// the edges that change. Points are placed at 1/64 pixel and curves cut into
// lines as QPainter does, so that its fills and these agree.
//
// Coordinates are target pixels, x to the right and y down the rows. Edges
// beyond the left or right side count as if they ran along it; rows outside
// the target are skipped.
class CoverageRasterizer final {
public:
    // The value of a pixel wholly inside one loop of a shape. Its sign follows
    // the loop's direction; a pixel inside two loops of one direction has twice it.
    static constexpr int32_t wholePixel = 1 << 17;

    // The coverage of a value under the non-zero winding rule, 0 to 255.
    static uint8_t coverage(int32_t value)
    {
        // In 256 steps, the last taken as 255, as QPainter counts it.
        const uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        return static_cast<uint8_t>(std::min(magnitude >> 9, 255u));
    }

    // Starts again, without edges, over a target of the size. Memory is kept
    // while the size stays.
    void reset(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }

    void addLine(Point from, Point to);
    void addQuad(Point from, Point control, Point to);
    // Every subpath of the path, through the transform, each closed back to its start.
    void addPath(const QPainterPath& path, const AffineTransform& transform);
    // What filling a path of one subpath gains when it grows past its element
    // `from` (an end point): the segments after it, the new edge that closes the
    // path back to its first point, less the old closing edge from `from`. False,
    // adding nothing, when a subpath starts after `from`.
    bool addPathGrowth(const QPainterPath& path, const AffineTransform& transform, int from);

    // Hands over the accumulated values row by row and forgets them:
    // visit(y, x0, values, count) for each row with edges, with the values of
    // pixels x0 to x0 + count - 1 of that row; its other pixels have none.
    template<typename Visit>
    void sweep(Visit&& visit)
    {
        const int stride = m_width + 2;
        for (int y = m_firstRow; y <= m_lastRow; ++y) {
            Span& span = m_spans[static_cast<size_t>(y)];
            if (span.first > span.last)
                continue;
            int32_t* deltas = m_deltas.data() + static_cast<size_t>(y) * stride;
            const int end = std::min(span.last, m_width - 1);
            int32_t running = 0;
            for (int x = span.first; x <= end; ++x) {
                running += deltas[x];
                m_values[static_cast<size_t>(x - span.first)] = running;
            }
            std::fill(deltas + span.first, deltas + span.last + 1, 0);
            if (end >= span.first)
                visit(y, span.first, static_cast<const int32_t*>(m_values.data()), end - span.first + 1);
            span = Span {};
        }
        m_firstRow = m_height;
        m_lastRow = -1;
    }

private:
    struct DevicePoint {
        double x;
        double y;
    };
    // Columns of a row's cells that hold values; first > last when none do.
    struct Span {
        int first { 1 << 30 };
        int last { -1 };
    };

    static DevicePoint mapped(const AffineTransform& transform, double x, double y);
    void line(DevicePoint from, DevicePoint to);
    void cubic(DevicePoint from, DevicePoint c1, DevicePoint c2, DevicePoint to);
    // Adds the path's segments after element `from` and returns the last end point.
    DevicePoint addSegments(const QPainterPath& path, const AffineTransform& transform, int from);
    void rowPiece(int row, int64_t xa, int64_t ya, int64_t xb, int64_t yb, int sign);
    void cells(int row, int64_t xa, int64_t ya, int64_t xb, int64_t yb, int sign);
    void addCell(int row, int column, int64_t cover, int64_t area);

    int m_width { 0 };
    int m_height { 0 };
    // Per row, width + 2 deltas whose running sum is each pixel's value.
    std::vector<int32_t> m_deltas;
    std::vector<Span> m_spans;
    int m_firstRow { 0 };
    int m_lastRow { -1 };
    std::vector<int32_t> m_values;
};

}

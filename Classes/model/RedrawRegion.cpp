#include "Classes/model/RedrawRegion.h"

#include <algorithm>
#include <cmath>

using platform::Point;
using platform::Rect;

void RedrawRegion::reset(float width, float height)
{
    m_width = width;
    m_height = height;
    m_columns = std::max(0, static_cast<int>(std::ceil(width / tileSize)));
    m_rows = std::max(0, static_cast<int>(std::ceil(height / tileSize)));
    // assign() keeps the capacity, so a stroke's steps do not allocate.
    m_tiles.assign(static_cast<size_t>(m_columns) * m_rows, 0);
    m_rectsValid = false;
    m_coveringRectsValid = false;
}

void RedrawRegion::addHull(std::span<const Point> points, float margin)
{
    if (points.empty() || m_columns == 0 || m_rows == 0)
        return;
    float top = points[0].y;
    float bottom = points[0].y;
    for (Point p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const int firstRow = std::max(0, static_cast<int>(std::floor((top - margin) / tileSize)));
    const int lastRow = std::min(m_rows - 1, static_cast<int>(std::floor((bottom + margin) / tileSize)));
    for (int row = firstRow; row <= lastRow; ++row) {
        // The hull's extent across the band of this row: every segment between
        // two points lies inside the hull and its edges are among them, so the
        // points in the band and the segments' crossings of its edges bound it.
        const float bandTop = row * static_cast<float>(tileSize) - margin;
        const float bandBottom = (row + 1) * static_cast<float>(tileSize) + margin;
        float left = INFINITY;
        float right = -INFINITY;
        auto include = [&](float x) {
            left = std::min(left, x);
            right = std::max(right, x);
        };
        for (size_t i = 0; i < points.size(); ++i) {
            const Point a = points[i];
            if (a.y >= bandTop && a.y <= bandBottom)
                include(a.x);
            for (size_t j = i + 1; j < points.size(); ++j) {
                const Point b = points[j];
                for (float y : { bandTop, bandBottom }) {
                    if ((a.y - y) * (b.y - y) < 0)
                        include(a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y));
                }
            }
        }
        if (left > right)
            continue;
        const int firstColumn = std::max(0, static_cast<int>(std::floor((left - margin) / tileSize)));
        const int lastColumn = std::min(m_columns - 1, static_cast<int>(std::floor((right + margin) / tileSize)));
        if (firstColumn <= lastColumn) {
            std::fill(m_tiles.begin() + row * m_columns + firstColumn, m_tiles.begin() + row * m_columns + lastColumn + 1,
                uint8_t { 1 });
            m_rectsValid = false;
            m_coveringRectsValid = false;
        }
    }
}

const std::vector<Rect>& RedrawRegion::rects()
{
    if (m_rectsValid)
        return m_rects;
    m_rects.clear();
    for (int row = 0; row < m_rows; ++row) {
        const uint8_t* tiles = m_tiles.data() + static_cast<size_t>(row) * m_columns;
        for (int column = 0; column < m_columns;) {
            if (!tiles[column]) {
                ++column;
                continue;
            }
            int end = column;
            while (end < m_columns && tiles[end])
                ++end;
            const float x = static_cast<float>(column * tileSize);
            const float y = static_cast<float>(row * tileSize);
            m_rects.emplace_back(x, y, std::min(m_width, static_cast<float>(end * tileSize)) - x,
                std::min(m_height, y + tileSize) - y);
            column = end;
        }
    }
    m_rectsValid = true;
    return m_rects;
}

const std::vector<Rect>& RedrawRegion::coveringRects()
{
    if (m_coveringRectsValid)
        return m_coveringRects;
    m_coveringRects.clear();
    for (int bandTop = 0; bandTop < m_rows; bandTop += bandRows) {
        const int bandEnd = std::min(m_rows, bandTop + bandRows);
        // The first and last marked row of a column within the band, or -1.
        auto markedRows = [&](int column) {
            int first = -1;
            int last = -1;
            for (int row = bandTop; row < bandEnd; ++row) {
                if (m_tiles[static_cast<size_t>(row) * m_columns + column]) {
                    if (first < 0)
                        first = row;
                    last = row;
                }
            }
            return std::pair { first, last };
        };
        for (int column = 0; column < m_columns;) {
            auto [first, last] = markedRows(column);
            if (first < 0) {
                ++column;
                continue;
            }
            int end = column + 1;
            for (; end < m_columns; ++end) {
                auto [runFirst, runLast] = markedRows(end);
                if (runFirst < 0)
                    break;
                first = std::min(first, runFirst);
                last = std::max(last, runLast);
            }
            const float x = static_cast<float>(column * tileSize);
            const float y = static_cast<float>(first * tileSize);
            m_coveringRects.emplace_back(x, y, std::min(m_width, static_cast<float>(end * tileSize)) - x,
                std::min(m_height, static_cast<float>((last + 1) * tileSize)) - y);
            column = end;
        }
    }
    m_coveringRectsValid = true;
    return m_coveringRects;
}

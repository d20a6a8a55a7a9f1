#include "Classes/brushes/Bezier.h"

#include <cmath>

using platform::Point;

namespace {

Point midpoint(Point a, Point b)
{
    return { (a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f };
}

// Deep enough for any real segment; it only bounds the recursion when the
// threshold is not positive or a point is not a number.
constexpr int maxDepth = 32;

}

void Bezier::store(Point p)
{
    if (m_pointCount < maxPoints)
        m_points[static_cast<size_t>(m_pointCount++)] = p;
}

void Bezier::subdivide(Point s, Point c, Point e, int depth)
{
    // Once the buffer is full every further point would be dropped anyway.
    if (m_pointCount >= maxPoints)
        return;
    if (std::fabs(e.x - s.x) + std::fabs(e.y - s.y) < m_threshold || depth >= maxDepth) {
        store(e);
        return;
    }
    Point m1 = midpoint(s, c);
    Point m2 = midpoint(c, e);
    Point m = midpoint(m1, m2);
    subdivide(s, m1, m, depth + 1);
    subdivide(m, m2, e, depth + 1);
}

std::span<const Point> Bezier::decomposeWithStartPoint(Point startPoint, Point controlPoint, Point endPoint)
{
    m_pointCount = 0;
    store(startPoint);
    subdivide(startPoint, controlPoint, endPoint, 0);
    return std::span<const Point>(m_points.data(), static_cast<size_t>(m_pointCount));
}

#include "Classes/brushes/Bezier.h"

#include <array>
#include <cmath>

using platform::Point;

namespace {

std::array<Point, Bezier::maxPoints> points;
int pointCount = 0;
float threshold = 2.5f;

void store(Point p)
{
    if (pointCount < Bezier::maxPoints)
        points[pointCount++] = p;
}

Point midpoint(Point a, Point b)
{
    return { (a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f };
}

// Deep enough for any real segment; it only bounds the recursion when the
// threshold is not positive or a point is not a number.
constexpr int maxDepth = 32;

void subdivide(Point s, Point c, Point e, int depth)
{
    // Once the buffer is full every further point would be dropped anyway.
    if (pointCount >= Bezier::maxPoints)
        return;
    if (std::fabs(e.x - s.x) + std::fabs(e.y - s.y) < threshold || depth >= maxDepth) {
        store(e);
        return;
    }
    Point m1 = midpoint(s, c);
    Point m2 = midpoint(c, e);
    Point m = midpoint(m1, m2);
    subdivide(s, m1, m, depth + 1);
    subdivide(m, m2, e, depth + 1);
}

}

void Bezier::setThreashold(float value)
{
    threshold = value;
}

float Bezier::threashold() const
{
    return threshold;
}

std::span<const Point> Bezier::decomposeWithStartPoint(Point startPoint, Point controlPoint, Point endPoint)
{
    pointCount = 0;
    store(startPoint);
    subdivide(startPoint, controlPoint, endPoint, 0);
    return std::span<const Point>(points.data(), static_cast<size_t>(pointCount));
}

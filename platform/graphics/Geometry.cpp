#include "platform/graphics/Geometry.h"

#include <algorithm>

namespace platform {

Rect Rect::standardized() const
{
    if (isNull())
        return *this;
    return Rect(minX(), minY(), std::fabs(size.width), std::fabs(size.height));
}

Rect Rect::united(const Rect& other) const
{
    if (isNull())
        return other;
    if (other.isNull())
        return *this;
    float x0 = std::min(minX(), other.minX());
    float y0 = std::min(minY(), other.minY());
    float x1 = std::max(maxX(), other.maxX());
    float y1 = std::max(maxY(), other.maxY());
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect Rect::intersected(const Rect& other) const
{
    if (isNull() || other.isNull())
        return null();
    float x0 = std::max(minX(), other.minX());
    float y0 = std::max(minY(), other.minY());
    float x1 = std::min(maxX(), other.maxX());
    float y1 = std::min(maxY(), other.maxY());
    if (x1 < x0 || y1 < y0)
        return null();
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect Rect::integral() const
{
    if (isNull())
        return *this;
    float x0 = std::floor(minX());
    float y0 = std::floor(minY());
    return Rect(x0, y0, std::ceil(maxX()) - x0, std::ceil(maxY()) - y0);
}

bool Rect::contains(Point p) const
{
    return !isNull() && p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

}

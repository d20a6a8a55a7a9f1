#include "platform/graphics/AffineTransform.h"

#include <QTransform>
#include <algorithm>
#include <cmath>

namespace platform {

AffineTransform AffineTransform::makeRotation(float radians)
{
    float s = std::sin(radians);
    float co = std::cos(radians);
    return { co, s, -s, co, 0, 0 };
}

AffineTransform AffineTransform::concatenated(const AffineTransform& t) const
{
    return {
        a * t.a + b * t.c,
        a * t.b + b * t.d,
        c * t.a + d * t.c,
        c * t.b + d * t.d,
        tx * t.a + ty * t.c + t.tx,
        tx * t.b + ty * t.d + t.ty,
    };
}

AffineTransform AffineTransform::translated(float x, float y) const
{
    return makeTranslation(x, y).concatenated(*this);
}

AffineTransform AffineTransform::scaled(float sx, float sy) const
{
    return makeScale(sx, sy).concatenated(*this);
}

AffineTransform AffineTransform::rotated(float radians) const
{
    return makeRotation(radians).concatenated(*this);
}

AffineTransform AffineTransform::inverted() const
{
    float det = a * d - b * c;
    if (det == 0)
        return *this;
    return {
        d / det,
        -b / det,
        -c / det,
        a / det,
        (c * ty - d * tx) / det,
        (b * tx - a * ty) / det,
    };
}

Rect AffineTransform::mapRect(const Rect& r) const
{
    if (r.isNull())
        return r;
    Point corners[4] = {
        map({ r.minX(), r.minY() }),
        map({ r.maxX(), r.minY() }),
        map({ r.minX(), r.maxY() }),
        map({ r.maxX(), r.maxY() }),
    };
    float x0 = corners[0].x, x1 = corners[0].x, y0 = corners[0].y, y1 = corners[0].y;
    for (auto& p : corners) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

QTransform AffineTransform::toQTransform() const
{
    return QTransform(a, b, c, d, tx, ty);
}

}

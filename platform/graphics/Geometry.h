#pragma once

#include <cmath>
#include <limits>

namespace platform {

struct Point {
    float x { 0 };
    float y { 0 };
    bool operator==(const Point&) const = default;
};

struct Size {
    float width { 0 };
    float height { 0 };
    bool operator==(const Size&) const = default;
};

// A rectangle with the drawing layer's conventions: the null rectangle (an
// origin at infinity) means "nothing" and is distinct from the zero rectangle.
struct Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(float x, float y, float width, float height)
        : origin { x, y }
        , size { width, height }
    {
    }

    static Rect null()
    {
        constexpr float inf = std::numeric_limits<float>::infinity();
        return Rect(inf, inf, 0, 0);
    }
    static constexpr Rect zero() { return Rect(); }

    bool isNull() const { return std::isinf(origin.x) || std::isinf(origin.y); }
    bool isEmpty() const { return isNull() || size.width == 0 || size.height == 0; }

    float x() const { return origin.x; }
    float y() const { return origin.y; }
    float width() const { return size.width; }
    float height() const { return size.height; }
    float minX() const { return std::fmin(origin.x, origin.x + size.width); }
    float minY() const { return std::fmin(origin.y, origin.y + size.height); }
    float maxX() const { return std::fmax(origin.x, origin.x + size.width); }
    float maxY() const { return std::fmax(origin.y, origin.y + size.height); }

    // The same rectangle with non-negative width and height.
    Rect standardized() const;
    // Union; a null rectangle on either side gives the other.
    Rect united(const Rect& other) const;
    // Intersection; the null rectangle when they do not meet.
    Rect intersected(const Rect& other) const;
    // The smallest rectangle with integral coordinates that contains this one.
    Rect integral() const;
    bool contains(Point p) const;

    bool operator==(const Rect&) const = default;
};

}

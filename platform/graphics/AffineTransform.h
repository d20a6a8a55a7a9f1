#pragma once

#include "platform/graphics/Geometry.h"

class QTransform;

namespace platform {

// An affine transform with the usual drawing conventions: a point (x, y) maps to
// (a·x + c·y + tx, b·x + d·y + ty). translated/rotated/scaled prepend their
// operation, so it acts on points before the transform already built.
struct AffineTransform {
    float a { 1 }, b { 0 }, c { 0 }, d { 1 }, tx { 0 }, ty { 0 };

    static AffineTransform identity() { return {}; }
    static AffineTransform makeTranslation(float x, float y) { return { 1, 0, 0, 1, x, y }; }
    static AffineTransform makeScale(float sx, float sy) { return { sx, 0, 0, sy, 0, 0 }; }
    static AffineTransform makeRotation(float radians);

    AffineTransform translated(float x, float y) const;
    AffineTransform scaled(float sx, float sy) const;
    AffineTransform rotated(float radians) const;
    // The transform that applies this one first, then `then`.
    AffineTransform concatenated(const AffineTransform& then) const;
    AffineTransform inverted() const;
    bool isIdentity() const { return *this == AffineTransform {}; }

    Point map(Point p) const { return { a * p.x + c * p.y + tx, b * p.x + d * p.y + ty }; }
    // Bounding box of the rectangle's four mapped corners; null stays null.
    Rect mapRect(const Rect& r) const;

    QTransform toQTransform() const;

    bool operator==(const AffineTransform&) const = default;
};

}

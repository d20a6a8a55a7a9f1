#pragma once

#include "platform/graphics/Geometry.h"

#include <span>

// Cuts a quadratic segment into points less than a threshold apart (measured as
// |dx| + |dy|). The pattern, sketchy and necklace brushes stamp or join at them.
//
// The point buffer, its count and the threshold live in Bezier.cpp, one set for
// the whole process; users set the threshold right before subdividing, and only
// the drawing thread subdivides.
class Bezier final {
public:
    static constexpr int maxPoints = 500;

    // Sets the process-wide threshold used by the next subdivisions.
    void setThreashold(float threshold);
    float threashold() const;

    // The start point, then the subdivision points up to the end point, at most
    // maxPoints of them. The view stays valid until the next subdivision.
    std::span<const platform::Point> decomposeWithStartPoint(platform::Point startPoint,
        platform::Point controlPoint, platform::Point endPoint);
};

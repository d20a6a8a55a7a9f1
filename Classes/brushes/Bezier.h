#pragma once

#include "platform/graphics/Geometry.h"

#include <array>
#include <span>

// Cuts a quadratic segment into points less than a threshold apart (measured as
// |dx| + |dy|). The pattern, sketchy and necklace brushes stamp or join at them.
//
// Each object keeps its own point buffer and threshold, so brushes drawing on
// different threads never share them; users set the threshold right before
// subdividing.
class Bezier final {
public:
    static constexpr int maxPoints = 500;

    void setThreashold(float threshold) { m_threshold = threshold; }
    float threashold() const { return m_threshold; }

    // The start point, then the subdivision points up to the end point, at most
    // maxPoints of them. The view stays valid until the next subdivision.
    std::span<const platform::Point> decomposeWithStartPoint(platform::Point startPoint,
        platform::Point controlPoint, platform::Point endPoint);

private:
    void store(platform::Point p);
    void subdivide(platform::Point s, platform::Point c, platform::Point e, int depth);

    std::array<platform::Point, maxPoints> m_points;
    int m_pointCount { 0 };
    float m_threshold { 2.5f };
};

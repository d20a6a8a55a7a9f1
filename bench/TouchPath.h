#pragma once

#include "Classes/model/Layer.h"
#include "platform/graphics/Geometry.h"

#include <cmath>

// A finger looping over a 768 × 980 canvas; successive points are about 25
// points apart, though a few fall closer than the layer's point spacing.
inline platform::Point touchAt(int i)
{
    float angle = i * 0.11f;
    return { 384 + 250 * std::cos(angle) + 40 * std::sin(i * 0.5f), 490 + 300 * std::sin(angle) };
}

// The next touch after `i` that a layer records; the ones it would drop as too
// close cost nothing and would flatter the timings.
inline platform::Point nextTouch(int& i, platform::Point last)
{
    platform::Point p = touchAt(i++);
    while (std::fabs(p.x - last.x) + std::fabs(p.y - last.y) < Layer::minimumPointSpacing)
        p = touchAt(i++);
    return p;
}

#pragma once

#include "platform/graphics/Geometry.h"

// A touch or subdivision point of the sketchy brush's current stroke.
struct SketchPoint {
    float x { 0 };
    float y { 0 };

    static SketchPoint make(platform::Point p) { return { p.x, p.y }; }
};

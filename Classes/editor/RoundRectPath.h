#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/graphics/Path.h"

// A closed rectangle with corners rounded to `radius`, starting at the middle
// of its left side and running clockwise.
platform::Path createRoundRectPath(platform::Rect rect, float radius);

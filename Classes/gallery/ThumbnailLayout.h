#pragma once

#include "platform/graphics/Geometry.h"

// The gallery's thumbnail geometry, in points, for the current device.

// Space around and between thumbnails: 8 on a tablet, 4 on a phone.
int getPadding();
// The frame drawn around a thumbnail: 13 on a tablet, none on a phone.
int getThumbnailBorderWidth();
// The shadow under a thumbnail: 3 on a tablet, none on a phone.
int getThumbnailShadowWidth();
// The side of one of four square cells across the rectangle, with a padding
// at each edge and between the cells.
int getThumbnailWidth(const platform::Rect& rect);

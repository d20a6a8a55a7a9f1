#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"

#include <optional>

// Fits a picture into a width × height picture at the main screen's scale. A
// picture whose orientation (portrait or landscape) is opposite to the
// target's is turned a quarter turn first. `fill` false shows all of it with
// grey bands; true covers the target and cuts off the overflow. A border of
// the given width is stroked around the result when it is wider than 0; on a
// tablet the picture casts a soft shadow. Nothing when there is no picture.
std::optional<platform::Image> cropImage(const platform::Image& image, float width, float height, int borderWidth,
    const platform::Color& borderColor, bool fill);

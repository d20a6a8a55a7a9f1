#pragma once

#include "platform/graphics/Color.h"

// The screen that opened the colour picker hears the child's choice here.
// Cancel reports nothing; OK reports the chosen colour, and whether the
// random-colour switch was on (then the colour is the last solid choice and
// should be ignored by a painter that cycles its own colours).
class ColorPickerDelegate {
public:
    virtual ~ColorPickerDelegate() = default;

    virtual void colorPickerDidFinishWithColor(const platform::Color& color, bool isRandomColor) = 0;
};

#pragma once

#include "platform/graphics/Color.h"

// A colour of the recent-colours list, kept both as hue, saturation, value and
// alpha and as the colour built from them once.
class HSVColor final {
public:
    struct HSV {
        float h { 0 };
        float s { 0 };
        float v { 0 };
        float a { 1 };
    };

    HSVColor(float hue, float saturation, float brightness, float alpha);

    HSV hsv() const { return m_hsv; }
    const platform::Color& getColor() const { return m_color; }
    const platform::Color& color() const { return m_color; }

private:
    HSV m_hsv;
    platform::Color m_color;
};

// Hue in 0 … 1 from the largest component. The component differences are not
// divided by (max - min), so it is the textbook hue only for fully saturated
// colours; brushes rely on exactly these values.
float getHueOfColor(const platform::Color& color);
// max - min of the red, green and blue components, not divided by max.
float getSaturationOfColor(const platform::Color& color);

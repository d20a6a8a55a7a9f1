#include "Classes/colorpicker/HSVColor.h"

HSVColor::HSVColor(float hue, float saturation, float brightness, float alpha)
    : m_hsv { hue, saturation, brightness, alpha }
    , m_color(platform::Color::hsba(hue, saturation, brightness, alpha))
{
}

namespace {

float maxComponent(float r, float g, float b)
{
    if (g >= b)
        return r >= g ? r : g;
    return r >= b ? r : b;
}

float minComponent(float r, float g, float b)
{
    if (g <= b)
        return r <= g ? r : g;
    return r <= b ? r : b;
}

}

float getHueOfColor(const platform::Color& color)
{
    const double r = color.red;
    const double g = color.green;
    const double b = color.blue;
    const float max = maxComponent(color.red, color.green, color.blue);
    double h;
    if (max == color.red) {
        h = 60.0 * (g - b);
        if (h < 0)
            h += 360.0;
    } else if (max == color.green) {
        h = 60.0 * (b - r) + 120.0;
    } else {
        h = 60.0 * (r - g) + 240.0;
    }
    return static_cast<float>(h / 360.0);
}

float getSaturationOfColor(const platform::Color& color)
{
    return maxComponent(color.red, color.green, color.blue) - minComponent(color.red, color.green, color.blue);
}

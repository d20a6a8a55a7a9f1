#include "platform/graphics/Color.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
}

Color Color::hsba(float hue, float saturation, float brightness, float alpha)
{
    float h = hue - std::floor(hue);
    float s = clamp01(saturation);
    float v = clamp01(brightness);
    float sector = h * 6.0f;
    int i = static_cast<int>(sector) % 6;
    float f = sector - std::floor(sector);
    float p = v * (1 - s);
    float q = v * (1 - s * f);
    float t = v * (1 - s * (1 - f));
    switch (i) {
    case 0: return { v, t, p, clamp01(alpha) };
    case 1: return { q, v, p, clamp01(alpha) };
    case 2: return { p, v, t, clamp01(alpha) };
    case 3: return { p, q, v, clamp01(alpha) };
    case 4: return { t, p, v, clamp01(alpha) };
    default: return { v, p, q, clamp01(alpha) };
    }
}

void Color::getHsb(float& hue, float& saturation, float& brightness) const
{
    float maxC = std::max({ red, green, blue });
    float minC = std::min({ red, green, blue });
    float delta = maxC - minC;
    brightness = maxC;
    saturation = maxC > 0 ? delta / maxC : 0;
    if (delta == 0) {
        hue = 0;
        return;
    }
    float h;
    if (maxC == red)
        h = (green - blue) / delta;
    else if (maxC == green)
        h = 2 + (blue - red) / delta;
    else
        h = 4 + (red - green) / delta;
    h /= 6;
    if (h < 0)
        h += 1;
    hue = h;
}

QColor Color::toQColor() const
{
    return QColor::fromRgbF(clamp01(red), clamp01(green), clamp01(blue), clamp01(alpha));
}

}

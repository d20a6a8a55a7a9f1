#pragma once

#include <QColor>

namespace platform {

// An RGBA colour with float components in 0 … 1 (device RGB).
struct Color {
    float red { 0 };
    float green { 0 };
    float blue { 0 };
    float alpha { 1 };

    static Color rgba(float r, float g, float b, float a = 1) { return { r, g, b, a }; }
    // Hue wraps around the circle (−0.1 is 0.9, 1.25 is 0.25); the others clamp to 0 … 1.
    static Color hsba(float hue, float saturation, float brightness, float alpha = 1);
    static Color black() { return { 0, 0, 0, 1 }; }
    static Color white() { return { 1, 1, 1, 1 }; }
    static Color clear() { return { 0, 0, 0, 0 }; }

    // Hue, saturation and brightness of this colour (hue in 0 … 1).
    void getHsb(float& hue, float& saturation, float& brightness) const;

    Color withAlpha(float a) const { return { red, green, blue, a }; }
    QColor toQColor() const;

    bool operator==(const Color&) const = default;
};

}

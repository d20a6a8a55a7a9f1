#pragma once

#include "Classes/brushes/Brush.h"
#include "Classes/brushes/UIColorRandom.h"
#include "platform/system/Random.h"
#include "support/TestCanvas.h"

#include <QImage>
#include <QPainter>
#include <memory>

namespace neontest {

// Colour cycles at their start and a fixed generator seed, so strokes repeat.
inline void seedRandomness(unsigned seed = 20120301)
{
    resetRandomColorStateForTesting();
    initRandom();
    platform::srandom(seed);
}

// A factory brush of the type in the mirror mode, about the canvas centre.
inline std::unique_ptr<Brush> makeBrush(int type, int mirrorMode, const TestCanvas& canvas)
{
    auto brush = Brush::createBrush(type, nullptr);
    if (brush)
        brush->setMirrix(mirrorMode, { canvas.width() / 2.0f, canvas.height() / 2.0f });
    return brush;
}

// The canvas as it shows over an opaque background.
inline QImage onBackground(const TestCanvas& canvas, QColor background)
{
    QImage image(canvas.width(), canvas.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    painter.drawImage(0, 0, canvas.uprightImage());
    return image;
}

// Unpremultiplied red, green and blue of a canvas pixel.
struct Rgb {
    int red;
    int green;
    int blue;
    int alpha;
};

inline Rgb straightColor(const TestCanvas& canvas, int x, int y)
{
    uint32_t p = canvas.pixel(x, y);
    int a = p >> 24;
    if (a == 0)
        return { 0, 0, 0, 0 };
    return { static_cast<int>(((p >> 16) & 0xff) * 255 / a), static_cast<int>(((p >> 8) & 0xff) * 255 / a),
        static_cast<int>((p & 0xff) * 255 / a), a };
}

}

#pragma once

#include "Classes/brushes/Brush.h"
#include "Classes/brushes/UIColorRandom.h"
#include "Classes/model/Stroke.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"
#include "support/TestCanvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <array>
#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

using platform::Color;
using platform::DeviceProfile;
using platform::Point;
using platform::Rect;
using platform::ScopedDeviceProfile;

// Colour cycles at their start and a fixed generator seed, so strokes repeat.
inline void seedRandomness(unsigned seed = 20120301)
{
    resetRandomColorStateForTesting();
    initRandom();
    platform::srandom(seed);
    platform::srand(seed);
}

// A factory brush of the type in the mirror mode, about the canvas centre.
inline std::unique_ptr<Brush> makeBrush(int type, int mirrorMode, const TestCanvas& canvas)
{
    auto brush = Brush::createBrush(type, nullptr);
    if (brush)
        brush->setMirrix(mirrorMode, { canvas.width() / 2.0f, canvas.height() / 2.0f });
    return brush;
}

// An opaque orange ground for the eraser to clear.
inline void fillCanvas(TestCanvas& canvas)
{
    canvas.context().setFillColor(Color::rgba(0.9f, 0.5f, 0.1f, 1));
    canvas.context().fillRect(Rect(0, 0, canvas.width(), canvas.height()));
}

// The canvas over an opaque background, as the child sees it.
inline QImage onBackground(const TestCanvas& canvas, QColor background)
{
    QImage image(canvas.width(), canvas.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    painter.drawImage(0, 0, canvas.uprightImage());
    return image;
}

// A stroke read back from bytes as a file holds it, every point sharing one record.
inline std::unique_ptr<Stroke> recordedStroke(int type, float size, std::array<uint8_t, 4> rgba,
    uint32_t seed, int mirrorMode, const std::vector<Point>& points)
{
    brush_meta meta = brush_meta::zero();
    meta.type = static_cast<uint32_t>(type);
    meta.mirrixMode = static_cast<uint32_t>(mirrorMode);
    meta.size = size;
    std::tie(meta.red, meta.green, meta.blue, meta.alpha) = std::tie(rgba[0], rgba[1], rgba[2], rgba[3]);
    meta.randSeed = seed;
    std::vector<uint8_t> bytes;
    Stroke::archiveStrokePoint(bytes, StrokePoint(points[0], meta));
    for (size_t i = 1; i < points.size(); ++i) {
        const __packedPoint xy = StrokePoint(points[i]).position();
        bytes.insert(
            bytes.end(), reinterpret_cast<const uint8_t*>(&xy), reinterpret_cast<const uint8_t*>(&xy) + 4);
    }
    auto stroke = Stroke::create();
    stroke->unpackStrokePoints(bytes, static_cast<int>(points.size()));
    return stroke;
}

// Touch points round a circle, `turns` times.
inline std::vector<Point> loopPoints(Point centre, float radius, float turns, int count)
{
    std::vector<Point> points;
    for (int i = 0; i <= count; ++i) {
        const double angle = 2 * std::numbers::pi * turns * i / count;
        points.push_back({ static_cast<float>(centre.x + radius * std::cos(angle)),
            static_cast<float>(centre.y + radius * std::sin(angle)) });
    }
    return points;
}

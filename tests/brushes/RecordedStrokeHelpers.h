#pragma once

#include "Classes/model/BrushMeta.h"
#include "Classes/model/Stroke.h"
#include "support/TestCanvas.h"

#include <QImage>
#include <QPainter>
#include <cstring>
#include <memory>
#include <vector>

namespace recorded {

// A record of the type with a fixed size, colour and seed, as a stroke file
// would hold it.
inline brush_meta record(int type, float size, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha,
    uint32_t seed, int mirrorMode = 0)
{
    brush_meta meta = brush_meta::zero();
    meta.type = static_cast<uint32_t>(type);
    meta.size = size;
    meta.red = red;
    meta.green = green;
    meta.blue = blue;
    meta.alpha = alpha;
    meta.randSeed = seed;
    meta.mirrixMode = static_cast<uint32_t>(mirrorMode);
    return meta;
}

// A stroke read back from bytes, every point sharing the record (brushes with
// nothing packed per point).
inline std::unique_ptr<Stroke> strokeOf(const brush_meta& meta, const std::vector<platform::Point>& points)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < points.size(); ++i) {
        int16_t xy[2] = { static_cast<int16_t>(points[i].x), static_cast<int16_t>(points[i].y) };
        bytes.insert(bytes.end(), reinterpret_cast<uint8_t*>(xy), reinterpret_cast<uint8_t*>(xy) + 4);
        if (i == 0) {
            uint8_t raw[brush_meta::byteSize];
            meta.toBytes(raw);
            bytes.insert(bytes.end(), raw, raw + brush_meta::byteSize);
        }
    }
    auto stroke = Stroke::create();
    stroke->unpackStrokePoints(bytes, static_cast<int>(points.size()));
    return stroke;
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

}

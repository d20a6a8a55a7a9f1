#pragma once

#include "platform/graphics/Geometry.h"

#include <QImage>

namespace platform {

// An immutable picture. Copies share their pixels. `scale` is pixels per point,
// so a 2× image of 640 × 960 pixels measures 320 × 480 points.
class Image final {
public:
    Image() = default;
    explicit Image(QImage pixels, float scale = 1);

    bool isNull() const { return m_pixels.isNull(); }
    Size size() const;
    int pixelWidth() const { return m_pixels.width(); }
    int pixelHeight() const { return m_pixels.height(); }
    float scale() const { return m_scale; }
    const QImage& qimage() const { return m_pixels; }

private:
    QImage m_pixels;
    float m_scale { 1 };
};

}

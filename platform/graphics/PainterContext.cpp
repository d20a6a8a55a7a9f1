#include "platform/graphics/PainterContext.h"

#include <cmath>
#include <optional>

namespace platform {

namespace {

// The painter's clip in device pixels, as a rectangle; none when it has none.
std::optional<QRectF> deviceClip(const QPainter& painter)
{
    if (!painter.hasClipping())
        return std::nullopt;
    return painter.worldTransform().mapRect(painter.clipBoundingRect());
}

QRect deviceRect(const QPainter& painter, Size size)
{
    return painter.worldTransform()
        .mapRect(QRectF(0, 0, std::max(0.0f, size.width), std::max(0.0f, size.height)))
        .toAlignedRect();
}

}

PainterContext::PainterContext(QPainter& painter, Size size)
    : GraphicsContext(painter, deviceRect(painter, size), painter.worldTransform(), deviceClip(painter))
    , m_outer(painter)
    , m_size(size)
{
    m_outer.save();
}

PainterContext::~PainterContext()
{
    m_outer.restore();
}

}

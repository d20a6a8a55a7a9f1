#include "Classes/colorpicker/ColorViewCanvas.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

ColorViewCanvas::ColorViewCanvas(platform::Size size, float scale, std::unique_ptr<QImage> pixels)
    : GraphicsContext(std::move(pixels), QTransform::fromScale(scale, scale))
    , m_size(size)
    , m_scale(scale)
{
}

bool ColorViewCanvas::ensureFor(std::unique_ptr<ColorViewCanvas>& canvas, const QWidget& view)
{
    const platform::Size size { static_cast<float>(view.width()), static_cast<float>(view.height()) };
    const float scale = std::max(1.0f, static_cast<float>(view.devicePixelRatioF()));
    if (canvas && canvas->m_size == size && canvas->m_scale == scale)
        return false;
    // A view of no area still gets one pixel, so drawing into it is harmless.
    const int width = std::max(1, static_cast<int>(std::ceil(size.width * scale)));
    const int height = std::max(1, static_cast<int>(std::ceil(size.height * scale)));
    auto pixels = std::make_unique<QImage>(width, height, QImage::Format_ARGB32_Premultiplied);
    pixels->fill(Qt::transparent);
    pixels->setDevicePixelRatio(scale);
    canvas.reset(new ColorViewCanvas(size, scale, std::move(pixels)));
    return true;
}

void ColorViewCanvas::clear()
{
    clearRect(platform::Rect(0, 0, m_size.width, m_size.height));
}

void ColorViewCanvas::paintInto(QPainter& painter) const
{
    painter.drawImage(QRectF(0, 0, m_size.width, m_size.height), target());
}

#include "Classes/colorpicker/ColorHSPalleteView.h"

#include <QPainter>

using platform::Color;
using platform::Point;
using platform::Rect;

ColorHSPalleteView::ColorHSPalleteView(QWidget* parent)
    : QWidget(parent)
{
}

void ColorHSPalleteView::initPallete()
{
    m_needsPallete = true;
    update();
}

Point ColorHSPalleteView::getCenterOfHue(float hue, float saturation) const
{
    const QRect frame = geometry();
    return { frame.x() + hue * frame.width(), frame.y() + saturation * frame.height() };
}

void ColorHSPalleteView::getHSAtPoint(Point point, float& hue, float& saturation) const
{
    // A palette of no width or height holds no colours; dividing by its size
    // would give a hue that is not a number.
    hue = width() > 0 ? point.x / width() : 0;
    saturation = height() > 0 ? point.y / height() : 0;
}

void ColorHSPalleteView::paintEvent(QPaintEvent*)
{
    if (ColorViewCanvas::ensureFor(m_canvas, *this))
        m_needsPallete = true;
    if (m_needsPallete)
        paintPallete();
    QPainter painter(this);
    m_canvas->paintInto(painter);
}

void ColorHSPalleteView::paintPallete()
{
    m_needsPallete = false;
    ++m_palettePaintCount;
    ColorViewCanvas& context = *m_canvas;
    context.clear();
    context.saveGState();

    const int w = static_cast<int>(context.size().width);
    const int h = static_cast<int>(context.size().height);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            context.setFillColor(Color::hsba(static_cast<float>(x) / w, static_cast<float>(y) / h, m_brightness, 1));
            context.fillRect(Rect(x, y, 1, 1));
        }
    }

    context.setShadow({ 0, 0 }, 3);
    context.setStrokeColor(Color::white());
    context.setLineWidth(4);
    context.strokeRect(Rect(0, 0, context.size().width, context.size().height));
    context.restoreGState();
}

#include "Classes/colorpicker/ColorIndicatorCircleView.h"

#include <QPainter>
#include <cmath>

using platform::Color;
using platform::Point;
using platform::Rect;

ColorIndicatorCircleView::ColorIndicatorCircleView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void ColorIndicatorCircleView::setColor(const Color& color)
{
    if (color == m_indicatorColor)
        return;
    m_indicatorColor = color;
    m_needsCircle = true;
    update();
}

Point ColorIndicatorCircleView::center() const
{
    return { x() + width() / 2.0f, y() + height() / 2.0f };
}

void ColorIndicatorCircleView::setCenter(Point center)
{
    move(static_cast<int>(std::lround(center.x - width() / 2.0f)),
        static_cast<int>(std::lround(center.y - height() / 2.0f)));
}

void ColorIndicatorCircleView::paintEvent(QPaintEvent*)
{
    if (ColorViewCanvas::ensureFor(m_canvas, *this))
        m_needsCircle = true;
    if (m_needsCircle)
        paintCircle();
    QPainter painter(this);
    m_canvas->paintInto(painter);
}

void ColorIndicatorCircleView::paintCircle()
{
    m_needsCircle = false;
    ColorViewCanvas& context = *m_canvas;
    context.clear();
    context.saveGState();
    const float w = context.size().width;
    const float h = context.size().height;
    context.translateCTM(w / 2, h / 2);
    const float r = w / 2 - 2;

    context.saveGState();
    context.setShadow({ 0, 0 }, 5);
    context.setFillColor(Color::white());
    context.fillEllipseInRect(Rect(-r, -r, 2 * r, 2 * r));
    context.restoreGState();

    context.setShadow({ 0, 0 }, 5);
    context.setFillColor(m_indicatorColor);
    context.fillEllipseInRect(Rect(-(r - 3), -(r - 3), 2 * (r - 3), 2 * (r - 3)));
    context.restoreGState();
}

#include "Classes/colorpicker/ColorIndicatorPanelView.h"

#include <QPainter>

using platform::Color;
using platform::Rect;

ColorIndicatorPanelView::ColorIndicatorPanelView(QWidget* parent)
    : QWidget(parent)
{
}

void ColorIndicatorPanelView::setColor(const Color& color)
{
    if (color == m_indicatorColor)
        return;
    m_indicatorColor = color;
    m_needsSwatch = true;
    update();
}

void ColorIndicatorPanelView::paintEvent(QPaintEvent*)
{
    if (ColorViewCanvas::ensureFor(m_canvas, *this))
        m_needsSwatch = true;
    if (m_needsSwatch)
        paintSwatch();
    QPainter painter(this);
    m_canvas->paintInto(painter);
}

void ColorIndicatorPanelView::paintSwatch()
{
    m_needsSwatch = false;
    ColorViewCanvas& context = *m_canvas;
    context.clear();
    context.saveGState();
    const Rect bounds(0, 0, context.size().width, context.size().height);
    context.setFillColor(m_indicatorColor);
    context.fillRect(bounds);
    context.setShadow({ 0, 0 }, 3);
    context.setStrokeColor(Color::white());
    context.setLineWidth(4);
    context.strokeRect(bounds);
    context.restoreGState();
}

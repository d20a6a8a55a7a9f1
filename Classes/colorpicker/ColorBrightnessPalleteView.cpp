#include "Classes/colorpicker/ColorBrightnessPalleteView.h"

#include <QPainter>
#include <cmath>

using platform::Color;
using platform::Point;
using platform::Rect;

namespace {

// Brightness limited to 0 … 1; a value that is not a number counts as 0.
float clampBrightness(float brightness)
{
    if (brightness >= 1)
        return 1;
    if (brightness > 0)
        return brightness;
    return 0;
}

}

ColorBrightnessPalleteView::ColorBrightnessPalleteView(QWidget* parent)
    : QWidget(parent)
{
}

void ColorBrightnessPalleteView::setHue(float hue, float saturation)
{
    m_hue = hue;
    m_saturation = saturation;
    m_needsBar = true;
    update();
}

float ColorBrightnessPalleteView::getBrightnessAtPoint(Point point) const
{
    return clampBrightness(point.x / static_cast<float>(width()));
}

Point ColorBrightnessPalleteView::getCenterOfBrightness(float brightness) const
{
    const QRect frame = geometry();
    return { frame.x() + clampBrightness(brightness) * frame.width(), frame.y() + frame.height() / 2.0f };
}

void ColorBrightnessPalleteView::paintEvent(QPaintEvent*)
{
    if (ColorViewCanvas::ensureFor(m_canvas, *this))
        m_needsBar = true;
    if (m_needsBar)
        paintBar();
    QPainter painter(this);
    m_canvas->paintInto(painter);
}

void ColorBrightnessPalleteView::paintBar()
{
    m_needsBar = false;
    ColorViewCanvas& context = *m_canvas;
    context.clear();
    context.saveGState();
    const Rect bounds(0, 0, context.size().width, context.size().height);
    context.clipToRect(bounds);

    // A linear gradient in device RGB between the two ends, drawn one pixel
    // column at a time: each column takes the componentwise mix of the ends.
    const Color dark = Color::hsba(m_hue, m_saturation, 0, 1);
    const Color bright = Color::hsba(m_hue, m_saturation, 1, 1);
    const int columns = context.pixelWidth();
    const float pointsPerColumn = bounds.width() / std::max(columns, 1);
    context.setShouldAntialias(false);
    for (int column = 0; column < columns; ++column) {
        const float t = columns > 1 ? static_cast<float>(column) / (columns - 1) : 0;
        context.setFillColor(Color::rgba(dark.red + (bright.red - dark.red) * t,
            dark.green + (bright.green - dark.green) * t, dark.blue + (bright.blue - dark.blue) * t, 1));
        context.fillRect(Rect(column * pointsPerColumn, 0, pointsPerColumn, bounds.height()));
    }
    context.setShouldAntialias(true);

    context.setShadow({ 0, 0 }, 3);
    context.setStrokeColor(Color::white());
    context.setLineWidth(4);
    context.strokeRect(bounds);
    context.restoreGState();
}

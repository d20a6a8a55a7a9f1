#include "Classes/brushes/ShapeBrush.h"

#include "Classes/brushes/UIColorRandom.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Device.h"

ShapeBrush::ShapeBrush()
{
    m_name = "ShapeBrush";
    m_mustRedrawWholeStrokePath = true;
    if (platform::Device::idiom() == platform::InterfaceIdiom::Pad) {
        m_maxSize = 12.0f;
        m_brushData.size = 5.0f;
    } else {
        m_maxSize = 7.0f;
        m_brushData.size = 3.5f;
    }
    m_minSize = 2.0f;
    setSizeBound();
    m_isHasAlpha = false;
    m_isRandomColor = true;
    m_type = 16;
    m_brushData.type = 16;
    randomColor();
}

void ShapeBrush::prepareBrush()
{
    if (m_isRandomColor)
        randomColor();
}

void ShapeBrush::randomColor()
{
    platform::Color c = randomColorWithMinAlpha(0.93f, 1.0f);
    setRecordColor(c);
    m_brushData.alpha = colorByte(c.alpha);
}

void ShapeBrush::setBrush(platform::GraphicsContext& context)
{
    context.setAllowsAntialiasing(true);
    context.setShouldAntialias(true);
    context.setLineCap(platform::LineCap::Round);
    context.setLineJoin(platform::LineJoin::Round);
    context.setLineWidth(m_brushData.size);
    context.setFillColor(recordColor(static_cast<float>(m_brushData.alpha / 255.0)));
}

platform::Rect ShapeBrush::drawStroke(platform::GraphicsContext& context, const platform::Path& path)
{
    context.saveGState();
    setBrush(context);
    context.addPath(path);
    // The open path closes itself back to its first point.
    context.fillPath();
    context.restoreGState();
    return updateDirtyRect(path, 1.0f + m_brushData.size);
}

std::optional<Brush::StepArea> ShapeBrush::wholePathStepArea(platform::Point p, bool isLast) const
{
    // The fill gains the area between the new segment and the edge that closes
    // the path back to its first point, and loses nothing else; antialiasing
    // reaches a pixel further.
    return StepArea { nextStepCorners(p, isLast), 2.0f };
}

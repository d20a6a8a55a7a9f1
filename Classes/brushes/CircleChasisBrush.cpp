#include "Classes/brushes/CircleChasisBrush.h"

#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"

#include <cmath>

CircleChasisBrush::CircleChasisBrush()
{
    m_name = "CircleChasisBrush";
    m_mustRedrawWholeStrokePath = false;
    m_maxSize = 3.0f;
    m_minSize = 1.0f;
    m_brushData.size = platform::Device::idiom() == platform::InterfaceIdiom::Pad ? 2.0f : 1.0f;
    setSizeBound();
    m_isHasAlpha = false;
    m_isRandomColor = true;
    m_type = 32;
    m_brushData.type = 32;
    m_brushData.randSeed = platform::timeSeed();
    CircleChasisBrush::randomColor();
}

void CircleChasisBrush::randomColor()
{
    SketchyBrush::randomColor();
    if (m_brushData.alpha < 200)
        m_brushData.alpha = 200;
}

void CircleChasisBrush::setBrush(platform::GraphicsContext& context)
{
    setRoundLine(context, m_brushData.size, recordColor(1.0f));
    context.setFillColor(recordColor(static_cast<float>(m_brushData.alpha / 255.0)));
}

void CircleChasisBrush::drawCoreStroke(platform::GraphicsContext& context, platform::Point p)
{
    const float dx = p.x - m_prevPoint.x;
    const float dy = p.y - m_prevPoint.y;
    const float d = std::sqrt(dx * dx + dy * dy);
    const platform::Point mid { (m_prevPoint.x + p.x) * 0.5f, (m_prevPoint.y + p.y) * 0.5f };
    m_scratchPath.clear();
    m_scratchPath.addEllipseInRect(platform::Rect(mid.x - d / 2, mid.y - d / 2, d, d));
    context.addPath(m_scratchPath);
    context.fillPath();
    addDirtyRegion(m_scratchPath);
}

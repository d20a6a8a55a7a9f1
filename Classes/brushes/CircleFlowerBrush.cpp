#include "Classes/brushes/CircleFlowerBrush.h"

#include "Classes/gallery/Utility.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Device.h"

#include <cmath>

CircleFlowerBrush::CircleFlowerBrush()
{
    m_name = "CircleFlowerBrush";
    m_mustRedrawWholeStrokePath = false;
    const bool pad = platform::Device::idiom() == platform::InterfaceIdiom::Pad;
    m_maxSize = pad ? 3.0f : 1.0f;
    m_minSize = 1.0f;
    m_brushData.size = 1.0f;
    setSizeBound();
    m_isHasAlpha = false;
    m_isRandomColor = true;
    m_type = 33;
    m_brushData.type = 33;
    randomColor();
}

void CircleFlowerBrush::setBrush(platform::GraphicsContext& context)
{
    CircleChasisBrush::setBrush(context);
    context.setStrokeColor(recordColor(static_cast<float>(m_brushData.alpha / 255.0 * 0.5)));
}

platform::Point CircleFlowerBrush::gridCentre(platform::Point p)
{
    const bool pad = platform::Device::idiom() == platform::InterfaceIdiom::Pad;
    const float cell = pad ? 100.0f : 80.0f;
    return { std::floor(p.x / cell) * cell + cell / 2, std::floor(p.y / cell) * cell + cell / 2 };
}

void CircleFlowerBrush::drawSideStrokes(platform::GraphicsContext& context, platform::Point p)
{
    const platform::Point c = gridCentre(p);
    const float dx = p.x - m_prevPoint.x;
    const float dy = p.y - m_prevPoint.y;
    const float diameter = 2.0f * std::sqrt(dx * dx + dy * dy);
    const bool retinaPhone = isiPhone4S();
    if (retinaPhone && diameter > 70.0f)
        return;
    const int n = static_cast<int>(std::floor((retinaPhone ? randRange(0.1f, 0.5f) : randRange(0.1f, 0.4f)) * 10.0f));
    for (int i = 0; i < n; ++i) {
        const float radius = static_cast<float>(n - i) * diameter / static_cast<float>(n);
        m_scratchPath.clear();
        m_scratchPath.addEllipseInRect(platform::Rect(c.x - radius, c.y - radius, 2 * radius, 2 * radius));
        context.addPath(m_scratchPath);
        context.strokePath();
        addDirtyRegion(m_scratchPath);
    }
}

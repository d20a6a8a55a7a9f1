#include "Classes/brushes/RubberBrush.h"

#include "Classes/gallery/Utility.h"
#include "platform/graphics/GraphicsContext.h"

RubberBrush::RubberBrush()
{
    m_name = "RubberBrush";
    m_type = 23;
    m_brushData.type = 23;
    m_mustRedrawWholeStrokePath = false;
    m_maxSize = 100.0f;
    m_minSize = 16.0f;
    m_brushData.size = isPad() ? 30.0f : 20.0f;
    m_isHasAlpha = true;
    m_isRandomColor = false;
    m_brushData.red = 0;
    m_brushData.green = 0;
    m_brushData.blue = 0;
    m_brushData.alpha = 0;
}

void RubberBrush::setBrush(platform::GraphicsContext& context)
{
    setRoundLine(context, m_brushData.size, recordColor(static_cast<float>(m_brushData.alpha / 255.0)));
    // Clear ignores the colour: whatever the line covers becomes transparent.
    context.setBlendMode(platform::BlendMode::Clear);
}

platform::Rect RubberBrush::drawStroke(platform::GraphicsContext& context, const platform::Path& path)
{
    strokeWithBrush(context, path);
    return updateDirtyRect(path, 1.0f + m_brushData.size);
}

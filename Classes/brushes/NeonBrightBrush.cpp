#include "Classes/brushes/NeonBrightBrush.h"

#include "Classes/gallery/Utility.h"
#include "platform/graphics/GraphicsContext.h"

void NeonBrightBrush::initSubStrokeStack()
{
    for (auto& slot : m_subStrokes)
        slot.reset();
}

void NeonBrightBrush::pushSubStroke(const platform::Path& path)
{
    m_subStrokes[0] = std::move(m_subStrokes[1]);
    m_subStrokes[1] = std::move(m_subStrokes[2]);
    m_subStrokes[2] = path;
}

platform::Path NeonBrightBrush::getPathOfPastSubStrokes() const
{
    platform::Path joined;
    for (const auto& slot : m_subStrokes) {
        if (slot)
            joined.addPath(*slot);
    }
    return joined;
}

void NeonBrightBrush::freeSubStrokeStack()
{
    initSubStrokeStack();
}

NeonBrightBrush::NeonBrightBrush()
{
    m_name = "NeonBrightBrush";
    m_type = 37;
    m_brushData.type = 37;
    m_brushData.neonSize = 7;
    initSubStrokeStack();
}

void NeonBrightBrush::strokeFrom(platform::GraphicsContext& context, platform::Point p)
{
    NeonBrush::strokeFrom(context, p);
    // A stroke left unfinished (a replay stopped half-way) leaves nothing behind.
    initSubStrokeStack();
    m_segmentsOfInnerBrightLinePath = 0;
    m_innerBrightLinePath.clear();
}

platform::Rect NeonBrightBrush::strokeEnd(platform::GraphicsContext& context, platform::Point p)
{
    m_endPoint = p;
    drawSubStroke(context);
    freeSubStrokeStack();
    return m_dirtyRect;
}

platform::Rect NeonBrightBrush::drawSubStroke(platform::GraphicsContext& context)
{
    m_strokePath.clear();
    m_strokePath.moveTo(m_startPoint);
    m_hasStrokePath = true;
    m_strokePath.quadCurveTo(m_controlPoint, m_endPoint);

    m_prevPath1 = std::move(m_prevPath2);
    m_prevPath2 = m_strokePath;
    pushSubStroke(m_strokePath);
    m_innerBrightLinePath = getPathOfPastSubStrokes();

    return drawMirrored(context, m_strokePath);
}

platform::Rect NeonBrightBrush::drawStroke(platform::GraphicsContext& context, const platform::Path& path)
{
    drawNeonPath_New(context, path, nullptr);
    // The core runs along the segments before this one as well.
    const float glowLineWidth = static_cast<float>(m_brushData.size + (isiPhone4S() ? 1.7 : 1.8));
    m_dirtyRect = getDirtyRect(path, neonMargin(glowLineWidth)).united(getDirtyRect(m_innerBrightLinePath, coreMargin()));
    return m_dirtyRect;
}

void NeonBrightBrush::drawNeonPath_New(platform::GraphicsContext& context, const platform::Path& path,
    const platform::Path*)
{
    context.saveGState();
    setBrush(context);

    const float neon = static_cast<float>(m_brushData.neonSize);
    const platform::Color color = glowColor();
    if (isiPhone4S()) {
        context.setLineWidth(static_cast<float>(m_brushData.size + 1.7));
        context.setAlpha(1.0f);
    } else {
        context.setLineWidth(static_cast<float>(m_brushData.size + 1.8));
        context.setAlpha(0.9f);
    }
    context.setStrokeColor(color);
    context.setShadow({ 0, 0 }, 2 * neon, color);
    for (int pass = 0; pass < 3; ++pass) {
        context.addPath(path);
        context.strokePath();
    }

    setCoreLine(context, neon);
    context.addPath(m_innerBrightLinePath);
    context.strokePath();

    context.restoreGState();
}

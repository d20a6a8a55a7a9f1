#include "Classes/brushes/NeonBrightBrush.h"

#include "Classes/gallery/Utility.h"
#include "platform/graphics/GraphicsContext.h"

#include <array>
#include <optional>

namespace {

// The sub-stroke stack lives here, one for the whole process; only one bright
// neon stroke is drawn at a time, on the drawing thread.
std::array<std::optional<platform::Path>, 3> subStrokes;

}

void NeonBrightBrush::initSubStrokeStack()
{
    for (auto& slot : subStrokes)
        slot.reset();
}

void NeonBrightBrush::pushSubStroke(const platform::Path& path)
{
    subStrokes[0] = std::move(subStrokes[1]);
    subStrokes[1] = std::move(subStrokes[2]);
    subStrokes[2] = path;
}

platform::Path NeonBrightBrush::getPathOfPastSubStrokes()
{
    platform::Path joined;
    for (const auto& slot : subStrokes) {
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
    return updateDirtyRect(path, neonMargin());
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

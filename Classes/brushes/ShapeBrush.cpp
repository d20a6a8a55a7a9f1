#include "Classes/brushes/ShapeBrush.h"

#include "Classes/brushes/Mirrix.h"
#include "Classes/brushes/UIColorRandom.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Device.h"

#include <algorithm>
#include <array>

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

void ShapeBrush::strokeFrom(platform::GraphicsContext& context, platform::Point p)
{
    Brush::strokeFrom(context, p);
    m_filledElements = 0;
}

platform::Rect ShapeBrush::drawSubStroke(platform::GraphicsContext& context)
{
    if (!m_hasStrokePath) {
        m_strokePath.clear();
        m_strokePath.moveTo(m_startPoint);
        m_hasStrokePath = true;
        m_filledElements = 0;
    }
    m_strokePath.quadCurveTo(m_controlPoint, m_endPoint);
    if (!m_mirrix)
        return m_dirtyRect;

    // The fill held the path up to its last element before this segment.
    fill(context, m_strokePath, m_mirrix->getMatrix(), m_filledElements - 1);
    m_filledElements = m_strokePath.qpath().elementCount();

    const platform::Rect shape = getDirtyRect(m_strokePath, 1.0f + m_brushData.size);
    platform::Rect changed = platform::Rect::null();
    for (const platform::AffineTransform& transform : m_mirrix->getMatrix())
        changed = changed.united(transform.mapRect(shape));
    m_dirtyRect = changed;
    return m_dirtyRect;
}

platform::Rect ShapeBrush::drawStroke(platform::GraphicsContext& context, const platform::Path& path)
{
    const platform::AffineTransform identity;
    fill(context, path, { &identity, 1 }, -1);
    m_filledElements = 0;
    return updateDirtyRect(path, 1.0f + m_brushData.size);
}

void ShapeBrush::fill(platform::GraphicsContext& context, const platform::Path& path,
    std::span<const platform::AffineTransform> copies, int grownFrom)
{
    context.saveGState();
    setBrush(context);
    std::array<platform::AffineTransform, Mirrix::capacity> toPixels;
    const platform::AffineTransform device = context.getUserSpaceToDeviceSpaceTransform();
    const size_t count = std::min(copies.size(), toPixels.size());
    for (size_t i = 0; i < count; ++i)
        toPixels[i] = copies[i].concatenated(device);
    if (m_fill.update(context, path.qpath(), { toPixels.data(), count }, m_brushData.alpha, grownFrom)) {
        // The fill's coverage already holds the opacity.
        context.setFillColor(recordColor(1.0f));
        context.fillCoverage(m_fill);
    } else {
        // Without memory for the kept fill, each copy is filled whole. The open
        // path closes itself back to its first point.
        for (size_t i = 0; i < count; ++i) {
            context.saveGState();
            context.concatCTM(copies[i]);
            context.addPath(path);
            context.fillPath();
            context.restoreGState();
        }
    }
    context.restoreGState();
}

std::optional<Brush::StepArea> ShapeBrush::wholePathStepArea(platform::Point p, bool isLast) const
{
    // The fill gains the area between the new segment and the edge that closes
    // the path back to its first point, and loses nothing else; antialiasing
    // reaches a pixel further.
    return StepArea { nextStepCorners(p, isLast), 2.0f };
}

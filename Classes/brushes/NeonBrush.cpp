#include "Classes/brushes/NeonBrush.h"

#include "Classes/brushes/Mirrix.h"
#include "Classes/brushes/UIColorRandom.h"
#include "Classes/colorpicker/HSVColor.h"
#include "Classes/gallery/Utility.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Random.h"

namespace {

// The 32-bit float nearest 14/15.
constexpr float coreOpacity = 0.93333334f;

}

NeonBrush::NeonBrush()
{
    m_name = "NeonBrush";
    m_mustRedrawWholeStrokePath = false;
    if (isPad()) {
        m_maxSize = 8.0f;
        m_minSize = 4.0f;
        m_brushData.size = 6.0f;
        m_brushData.neonSize = 10;
    } else if (isiPhone4S()) {
        m_maxSize = 5.0f;
        m_minSize = 3.0f;
        m_brushData.size = 3.0f;
        m_brushData.neonSize = 30;
    } else {
        m_maxSize = 4.0f;
        m_minSize = 2.0f;
        m_brushData.size = 3.0f;
        m_brushData.neonSize = 10;
    }
    m_isHasAlpha = false;
    m_isRandomColor = true;
    m_brushData.type = 17;
    m_type = 17;
    randomColor();
}

NeonBrush::~NeonBrush() = default;

void NeonBrush::strokeFrom(platform::GraphicsContext& context, platform::Point p)
{
    m_prevPath1.reset();
    m_prevPath2.reset();
    Brush::strokeFrom(context, p);
}

void NeonBrush::prepareBrush()
{
    if (m_isRandomColor)
        randomBrushColor();
    if (m_isRandomWidth)
        randomWidth();
    m_isNewStroke = true;
}

void NeonBrush::updateBrush()
{
    m_isNewStroke = false;
}

void NeonBrush::restoreBrush(const brush_meta& data)
{
    setBrushData(data);
    m_brushColor = colorOfRecord(data, 1.0f);
}

void NeonBrush::setColor(const platform::Color& color)
{
    platform::Color pure = platform::Color::hsba(getHueOfColor(color), 1.0f, 1.0f, 1.0f);
    m_brushColor = pure;
    setRecordColor(pure);
    m_brushData.alpha = 255;
    setMode(modeSolidColor);
}

void NeonBrush::randomBrushColor()
{
    platform::Color glow = randomGlowColor();
    setRecordColor(glow);
    m_brushData.alpha = 1;
    // Made from the bytes, so a replay restoring the record draws the same colour.
    m_brushColor = recordColor(1.0f);
}

void NeonBrush::randomColor()
{
    platform::Color c = ::randomColor();
    setRecordColor(c);
    m_brushData.alpha = 1;
}

float NeonBrush::randomWidth()
{
    double step = 0.5 * static_cast<double>((platform::random() % 5) - 2);
    m_brushData.size = clampSize(static_cast<float>(static_cast<double>(m_brushData.size) + step));
    return m_brushData.size;
}

void NeonBrush::setBrush(platform::GraphicsContext& context)
{
    context.setShouldAntialias(true);
    context.setLineCap(platform::LineCap::Butt);
    context.setLineJoin(platform::LineJoin::Round);
}

void NeonBrush::setCoreLine(platform::GraphicsContext& context, float neon) const
{
    context.setLineWidth(m_brushData.size);
    context.setLineCap(platform::LineCap::Round);
    context.setStrokeColor(platform::Color::white());
    context.setShadow({ 0, 0 }, neon, std::nullopt);
    context.setAlpha(coreOpacity);
}

platform::Color NeonBrush::glowColor() const
{
    if (m_brushColor)
        return *m_brushColor;
    return recordColor(1.0f);
}

float NeonBrush::neonMargin() const
{
    float neon = static_cast<float>(m_brushData.neonSize);
    return (isPad() ? 3.0f * neon : neon) + 10.0f;
}

void NeonBrush::drawNeonPath(platform::GraphicsContext& context, const platform::Path& path, const platform::Path*)
{
    context.saveGState();
    setBrush(context);

    const bool highResolutionPhone = isiPhone4S();
    if (highResolutionPhone)
        m_brushData.neonSize = 7;
    const float neon = static_cast<float>(m_brushData.neonSize);
    const platform::Color color = glowColor();
    context.setLineWidth(m_brushData.size + 1.5f);
    context.setStrokeColor(color);
    context.setAlpha(1.0f);
    const float blurs[3] = { 2 * neon, highResolutionPhone ? 2 * neon : neon, highResolutionPhone ? 2 * neon : 0.0f };
    for (float blur : blurs) {
        context.setShadow({ 0, 0 }, blur, color);
        context.addPath(path);
        context.strokePath();
    }

    setCoreLine(context, neon);
    drawAmendPath(context);
    context.addPath(path);
    context.strokePath();

    context.restoreGState();
}

void NeonBrush::drawAmendPath(platform::GraphicsContext& context)
{
    for (const auto* previous : { &m_prevPath1, &m_prevPath2 }) {
        if (!*previous)
            continue;
        context.addPath(**previous);
        context.strokePath();
    }
}

platform::Rect NeonBrush::drawStroke(platform::GraphicsContext& context, const platform::Path& path)
{
    // Shifted once per call, so in mirror mode the later copies of a segment
    // find the segment itself in both slots.
    m_prevPath1 = std::move(m_prevPath2);
    m_prevPath2 = path;
    drawNeonPath(context, path, nullptr);
    return updateDirtyRect(path, neonMargin());
}

platform::Rect NeonBrush::drawMirrored(platform::GraphicsContext& context, const platform::Path& path)
{
    if (!m_mirrix)
        return m_dirtyRect;
    platform::Rect changed = platform::Rect::null();
    for (int i = 0; i < m_mirrix->matrixNumber(); ++i) {
        const platform::AffineTransform& transform = m_mirrix->getMatrix()[i];
        context.saveGState();
        context.concatCTM(transform);
        changed = changed.united(transform.mapRect(drawStroke(context, path)));
        context.restoreGState();
    }
    m_dirtyRect = changed;
    return m_dirtyRect;
}

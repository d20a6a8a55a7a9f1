#include "Classes/brushes/NeonBrush.h"

#include "Classes/brushes/Mirrix.h"
#include "Classes/brushes/UIColorRandom.h"
#include "Classes/colorpicker/HSVColor.h"
#include "Classes/gallery/Utility.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Random.h"

#include <cmath>

namespace {

// The 32-bit float nearest 14/15.
constexpr float coreOpacity = 0.93333334f;
// The glow's line is this much wider than the record's size.
constexpr float glowWidening = 1.5f;

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
    setRecordColor(pure);
    m_brushData.alpha = 255;
    // As the record keeps it, so that the replay draws the same glow.
    m_brushColor = recordColor(1.0f);
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

float NeonBrush::neonMargin(float glowLineWidth) const
{
    const float neon = static_cast<float>(m_brushData.neonSize);
    const float margin = (isPad() ? 3.0f * neon : neon) + 10.0f;
    // The widest glow pass blurs by twice the glow width; its shadow reaches
    // three standard deviations (half the blur each) beyond the line, plus the
    // pixels that antialiasing and rounding to whole pixels add. On a phone the
    // margin above falls short of that.
    const float reach = 0.5f * glowLineWidth + std::ceil(1.5f * 2.0f * neon) + 4.0f;
    return std::max(margin, std::ceil(reach));
}

float NeonBrush::coreMargin() const
{
    return std::ceil(0.5f * m_brushData.size) + 2.0f;
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
    context.setLineWidth(m_brushData.size + glowWidening);
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
    // The white core of the previous segments is drawn again too, wherever they lie.
    platform::Rect changed = getDirtyRect(path, neonMargin(m_brushData.size + glowWidening));
    for (const auto* previous : { &m_prevPath1, &m_prevPath2 }) {
        if (*previous)
            changed = changed.united(getDirtyRect(**previous, coreMargin()));
    }
    m_dirtyRect = changed;
    return m_dirtyRect;
}

platform::Rect NeonBrush::drawMirrored(platform::GraphicsContext& context, const platform::Path& path)
{
    m_copyRects.clear();
    if (!m_mirrix)
        return m_dirtyRect;
    platform::Rect changed = platform::Rect::null();
    for (int i = 0; i < m_mirrix->matrixNumber(); ++i) {
        const platform::AffineTransform& transform = m_mirrix->getMatrix()[i];
        context.saveGState();
        context.concatCTM(transform);
        const platform::Rect copy = transform.mapRect(drawStroke(context, path));
        addCopyRect(copy);
        changed = changed.united(copy);
        context.restoreGState();
    }
    m_dirtyRect = changed;
    return m_dirtyRect;
}

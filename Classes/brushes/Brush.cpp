#include "Classes/brushes/Brush.h"

#include "Classes/brushes/Mirrix.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Random.h"

#include <cmath>

using platform::Point;
using platform::Rect;

Brush::Brush()
{
    m_copyRects.reserve(Mirrix::capacity);
}
Brush::~Brush() = default;

void Brush::setColor(const platform::Color& color)
{
    setRecordColor(color);
    m_brushData.alpha = 255;
    // The colour exactly as the record keeps it, so that a replay, which has
    // only the record's bytes, draws the very same pixels.
    m_brushColor = recordColor(1.0f);
    setMode(modeSolidColor);
}

platform::Color Brush::colorOfRecord(const brush_meta& data, float alpha)
{
    return { static_cast<float>(data.red / 255.0), static_cast<float>(data.green / 255.0),
        static_cast<float>(data.blue / 255.0), alpha };
}

void Brush::setRecordColor(const platform::Color& color)
{
    m_brushData.red = colorByte(color.red);
    m_brushData.green = colorByte(color.green);
    m_brushData.blue = colorByte(color.blue);
}

void Brush::setRoundLine(platform::GraphicsContext& context, float width, const platform::Color& strokeColor)
{
    context.setAllowsAntialiasing(true);
    context.setShouldAntialias(true);
    context.setLineCap(platform::LineCap::Round);
    context.setLineJoin(platform::LineJoin::Round);
    context.setLineWidth(width);
    context.setStrokeColor(strokeColor);
}

void Brush::strokeWithBrush(platform::GraphicsContext& context, const platform::Path& path)
{
    context.saveGState();
    setBrush(context);
    context.addPath(path);
    context.strokePath();
    context.restoreGState();
}

void Brush::setMode(int mode)
{
    m_mode = mode;
    m_isRandomColor = mode == modeRandomColor;
}

void Brush::setSize(float size)
{
    m_brushData.size = size;
    clampSize();
    setSizeBound();
    setMode(modeSolidColor);
}

void Brush::clampSize()
{
    m_brushData.size = std::max(std::min(m_brushData.size, m_maxSize), m_minSize);
}

float Brush::clampSize(float size) const
{
    if (std::isnan(size))
        return m_maxSize;
    return std::max(std::min(size, m_maxSize), m_minSize);
}

float Brush::randRange(float min, float max) const
{
    return min + (max - min) * static_cast<float>(platform::rand()) * 0x1p-31f;
}

void Brush::strokeFrom(platform::GraphicsContext&, Point p)
{
    m_startPoint = p;
    m_controlPoint = p;
    m_strokePath.clear();
    m_strokePath.moveTo(p);
    m_hasStrokePath = true;
}

Rect Brush::strokeTo(platform::GraphicsContext& context, Point p)
{
    m_endPoint = { (p.x + m_controlPoint.x) * 0.5f, (p.y + m_controlPoint.y) * 0.5f };
    drawSubStroke(context);
    m_startPoint = m_endPoint;
    m_controlPoint = p;
    return m_dirtyRect;
}

Rect Brush::strokeEnd(platform::GraphicsContext& context, Point p)
{
    m_endPoint = p;
    drawSubStroke(context);
    return m_dirtyRect;
}

std::array<Point, 4> Brush::nextStepCorners(Point p, bool isLast) const
{
    Point end = isLast ? p : Point { (p.x + m_controlPoint.x) * 0.5f, (p.y + m_controlPoint.y) * 0.5f };
    Point first = m_hasStrokePath ? m_strokePath.startPoint() : m_startPoint;
    return { first, m_startPoint, m_controlPoint, end };
}

Rect Brush::drawSubStroke(platform::GraphicsContext& context)
{
    if (!m_mustRedrawWholeStrokePath || !m_hasStrokePath) {
        m_strokePath.clear();
        m_strokePath.moveTo(m_startPoint);
        m_hasStrokePath = true;
    }
    m_strokePath.quadCurveTo(m_controlPoint, m_endPoint);
    m_copyRects.clear();
    if (!m_mirrix)
        return m_dirtyRect;

    Rect changed = Rect::null();
    for (int i = 0; i < m_mirrix->matrixNumber(); ++i) {
        const platform::AffineTransform& transform = m_mirrix->getMatrix()[i];
        context.saveGState();
        context.concatCTM(transform);
        Rect r = m_type <= 49 ? drawStroke(context, m_strokePath)
                              : drawStroke(context, m_startPoint, m_controlPoint, m_endPoint);
        const Rect copy = transform.mapRect(r);
        addCopyRect(copy);
        changed = changed.united(copy);
        context.restoreGState();
    }
    m_dirtyRect = changed;
    return m_dirtyRect;
}

Rect Brush::drawStroke(platform::GraphicsContext&, const platform::Path&)
{
    return Rect::null();
}

Rect Brush::drawStroke(platform::GraphicsContext&, Point, Point, Point)
{
    return Rect::null();
}

Rect Brush::getDirtyRect(const platform::Path& path, float extendWidth) const
{
    Rect box = path.boundingBox();
    if (box.isNull())
        return Rect::null();
    auto whole = [](float v) { return static_cast<float>(static_cast<int>(v)); };
    float x0 = std::max(0.0f, whole(box.x() - extendWidth));
    float y0 = std::max(0.0f, whole(box.y() - extendWidth));
    float x1 = whole(box.x() + box.width() + extendWidth);
    float y1 = whole(box.y() + box.height() + extendWidth);
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect Brush::updateDirtyRect(const platform::Path& path, float extendWidth)
{
    m_dirtyRect = getDirtyRect(path, extendWidth);
    return m_dirtyRect;
}

void Brush::setMirrix(int mode, Point origion)
{
    m_brushData.mirrixMode = static_cast<uint32_t>(mode) & 0xf;
    m_mirrix = std::make_shared<Mirrix>();
    m_mirrix->setMode(mode, origion);
}

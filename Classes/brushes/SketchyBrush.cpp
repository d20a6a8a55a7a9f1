#include "Classes/brushes/SketchyBrush.h"

#include "Classes/brushes/UIColorRandom.h"
#include "Classes/gallery/Utility.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"

#include <algorithm>

using platform::Point;
using platform::Rect;

namespace {

// Hatching joins a point with at most this many earlier ones.
constexpr int hatchingReach = 100;

}

SketchyBrush::SketchyBrush()
{
    m_name = "SketchyBrush";
    m_mustRedrawWholeStrokePath = false;
    if (platform::Device::idiom() == platform::InterfaceIdiom::Pad) {
        m_maxSize = 12.0f;
        m_brushData.size = 2.0f;
    } else {
        m_maxSize = 3.0f;
        m_brushData.size = 1.5f;
    }
    m_minSize = 1.0f;
    setSizeBound();
    m_isHasAlpha = false;
    m_isRandomColor = true;
    m_type = 29;
    m_brushData.type = 29;
    platform::srandom(platform::timeSeed());
    m_brushData.randSeed = platform::timeSeed();
    m_points.reserve(512);
    SketchyBrush::randomColor();
}

void SketchyBrush::prepareBrush()
{
    if (m_isRandomColor)
        randomColor();
    platform::srand(m_brushData.randSeed);
}

void SketchyBrush::reinitBrush(const brush_meta& data)
{
    setBrushData(data);
    platform::srand(m_brushData.randSeed);
}

void SketchyBrush::randomColor()
{
    platform::Color c = ::randomColor();
    setRecordColor(c);
    m_brushData.alpha = colorByte(c.alpha);
}

void SketchyBrush::setBrush(platform::GraphicsContext& context)
{
    setRoundLine(context, m_brushData.size, recordColor(static_cast<float>(m_brushData.alpha / 255.0)));
}

void SketchyBrush::strokeFrom(platform::GraphicsContext&, Point p)
{
    m_prevPoint = p;
    m_points.clear();
    m_points.push_back(SketchPoint::make(p));
    m_dirtyRect = Rect::null();
    m_startPoint = p;
    m_controlPoint = p;
}

Rect SketchyBrush::strokeTo(platform::GraphicsContext& context, Point p)
{
    m_endPoint = { (m_controlPoint.x + p.x) * 0.5f, (m_controlPoint.y + p.y) * 0.5f };
    context.saveGState();
    setBrush(context);
    m_dirtyRect = Rect::null();
    drawCoreStroke(context, p);
    drawSideStrokes(context, p);
    m_prevPoint = p;
    context.restoreGState();
    m_startPoint = m_endPoint;
    m_controlPoint = p;
    return m_dirtyRect;
}

Rect SketchyBrush::strokeEnd(platform::GraphicsContext& context, Point p)
{
    strokeTo(context, p);
    m_points.clear();
    return m_dirtyRect;
}

void SketchyBrush::drawCoreStroke(platform::GraphicsContext& context, Point)
{
    m_scratchPath.clear();
    m_scratchPath.moveTo(m_startPoint);
    m_scratchPath.quadCurveTo(m_controlPoint, m_endPoint);
    context.addPath(m_scratchPath);
    context.strokePath();
    addDirtyRegion(m_scratchPath);
}

void SketchyBrush::addDirtyRegion(const platform::Path& path)
{
    Rect old = m_dirtyRect;
    updateDirtyRect(path, 4.0f);
    if (!old.isNull())
        m_dirtyRect = old.united(m_dirtyRect);
}

void SketchyBrush::drawSideStrokes(platform::GraphicsContext& context, Point p)
{
    const bool retinaPhone = isiPhone4S();
    size_t firstNew = m_points.size();
    if (retinaPhone) {
        m_bezier.setThreashold(10.0f);
        for (Point q : m_bezier.decomposeWithStartPoint(m_startPoint, m_controlPoint, m_endPoint))
            m_points.push_back(SketchPoint::make(q));
    } else {
        m_points.push_back(SketchPoint::make(p));
    }

    context.setStrokeColor(recordColor((retinaPhone ? 60.0f : 100.0f) / 255.0f));
    if (retinaPhone)
        context.setLineWidth(1.2f);

    for (size_t i = firstNew; i < m_points.size(); ++i) {
        const SketchPoint a = m_points[i];
        size_t from = i > hatchingReach ? i - hatchingReach : 0;
        for (size_t j = from; j < i; ++j) {
            const SketchPoint b = m_points[j];
            float dx = b.x - a.x;
            float dy = b.y - a.y;
            float d = dx * dx + dy * dy;
            float r = randRange(0.01f, 1.0f);
            if (d < 4000.0f && r > d / 20000.0f) {
                m_scratchPath.clear();
                m_scratchPath.moveTo({ a.x + 0.3f * dx, a.y + 0.3f * dy });
                m_scratchPath.lineTo({ b.x - 0.3f * dx, b.y - 0.3f * dy });
                context.addPath(m_scratchPath);
                context.strokePath();
                addDirtyRegion(m_scratchPath);
            }
        }
    }
}

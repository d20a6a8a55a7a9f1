#include "Classes/brushes/NeonNecklaceBrush.h"

#include "Classes/brushes/Mirrix.h"
#include "Classes/gallery/Utility.h"
#include "platform/graphics/GraphicsContext.h"

NeonNecklaceBrush::NeonNecklaceBrush()
    : m_bezier(std::make_unique<Bezier>())
{
    m_name = "NeonNecklaceBrush";
    m_type = 34;
    m_brushData.type = 34;
    if (isPad()) {
        m_maxSize = 8.0f;
        m_minSize = 4.0f;
        m_brushData.size = 6.0f;
        m_brushData.neonSize = 6;
    } else if (isiPhone4S()) {
        m_maxSize = 4.0f;
        m_minSize = 3.0f;
        m_brushData.size = 3.0f;
        m_brushData.neonSize = 5;
    } else {
        m_maxSize = 5.0f;
        m_minSize = 3.0f;
        m_brushData.size = 4.0f;
        m_brushData.neonSize = 6;
    }
}

NeonNecklaceBrush::~NeonNecklaceBrush() = default;

void NeonNecklaceBrush::strokeFrom(platform::GraphicsContext& context, platform::Point p)
{
    m_prevDrawedPoint = { 0, 0 };
    NeonBrush::strokeFrom(context, p);
}

void NeonNecklaceBrush::setBrush(platform::GraphicsContext& context)
{
    // Round caps turn each tiny bead path into a round bead.
    context.setLineCap(platform::LineCap::Round);
    context.setLineJoin(platform::LineJoin::Round);
}

platform::Rect NeonNecklaceBrush::drawSubStroke(platform::GraphicsContext& context)
{
    m_strokePath.clear();
    m_strokePath.moveTo(m_startPoint);
    m_hasStrokePath = true;
    m_strokePath.quadCurveTo(m_controlPoint, m_endPoint);
    m_dirtyRect = drawStroke(context, m_startPoint, m_controlPoint, m_endPoint);
    return m_dirtyRect;
}

bool NeonNecklaceBrush::isNewPointTooClose(platform::Point point, float radius) const
{
    float least = static_cast<float>(0.8 * radius);
    float dx = m_prevDrawedPoint.x - point.x;
    float dy = m_prevDrawedPoint.y - point.y;
    // A comparison with a NaN distance counts as too close.
    return !(least * least <= dx * dx + dy * dy);
}

platform::Rect NeonNecklaceBrush::drawStroke(platform::GraphicsContext& context, platform::Point startPoint,
    platform::Point controlPoint, platform::Point endPoint)
{
    m_bezier->setThreashold(m_brushData.size * 3.0f);
    std::span<const platform::Point> points = m_bezier->decomposeWithStartPoint(startPoint, controlPoint, endPoint);
    m_copyRects.clear();
    if (!m_mirrix)
        return platform::Rect::null();

    const platform::Point first = m_prevDrawedPoint;
    platform::Rect total = platform::Rect::null();
    for (const platform::AffineTransform& transform : m_mirrix->getMatrix()) {
        context.saveGState();
        context.concatCTM(transform);
        platform::Rect local = platform::Rect::null();
        m_prevDrawedPoint = first;
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            platform::Point q = points[i];
            if (isNewPointTooClose(q, m_brushData.size))
                continue;
            m_prevDrawedPoint = q;
            float x = static_cast<float>(static_cast<int>(q.x));
            float y = static_cast<float>(static_cast<int>(q.y));
            m_bead.clear();
            m_bead.moveTo({ x, y });
            m_bead.lineTo({ x + 0.1f, y + 0.1f });
            drawNeonPath(context, m_bead, nullptr);
            local = local.united(getDirtyRect(m_bead, neonMargin(m_brushData.size + 1.5f)));
        }
        const platform::Rect copy = transform.mapRect(local);
        addCopyRect(copy);
        total = total.united(copy);
        context.restoreGState();
    }
    return total;
}

#include "platform/graphics/Path.h"

#include <cmath>
#include <numbers>

namespace platform {

void Path::arcToPoint(Point t1, Point t2, float radius)
{
    QPointF p0 = m_path.currentPosition();
    double ux = p0.x() - t1.x, uy = p0.y() - t1.y;
    double vx = t2.x - t1.x, vy = t2.y - t1.y;
    double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
    if (m_path.elementCount() == 0 || radius <= 0 || lu == 0 || lv == 0) {
        lineTo(t1);
        return;
    }
    ux /= lu;
    uy /= lu;
    vx /= lv;
    vy /= lv;
    double cosAngle = ux * vx + uy * vy;
    double angle = std::acos(std::clamp(cosAngle, -1.0, 1.0));
    if (std::fabs(std::sin(angle)) < 1e-9) {
        lineTo(t1);
        return;
    }
    // Distance from the corner to the tangent points, and to the centre.
    double tangentDistance = radius / std::tan(angle / 2);
    double centreDistance = radius / std::sin(angle / 2);
    QPointF start(t1.x + ux * tangentDistance, t1.y + uy * tangentDistance);
    QPointF end(t1.x + vx * tangentDistance, t1.y + vy * tangentDistance);
    double bx = ux + vx, by = uy + vy;
    double lb = std::hypot(bx, by);
    QPointF centre(t1.x + bx / lb * centreDistance, t1.y + by / lb * centreDistance);

    m_path.lineTo(start);
    // Qt measures angles in degrees, counter-clockwise with y pointing down.
    double a0 = std::atan2(start.y() - centre.y(), start.x() - centre.x());
    double a1 = std::atan2(end.y() - centre.y(), end.x() - centre.x());
    double sweep = a1 - a0;
    while (sweep > std::numbers::pi)
        sweep -= 2 * std::numbers::pi;
    while (sweep < -std::numbers::pi)
        sweep += 2 * std::numbers::pi;
    QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    m_path.arcTo(box, -a0 * 180 / std::numbers::pi, -sweep * 180 / std::numbers::pi);
}

void Path::lineTo(Point p)
{
    if (m_path.elementCount() > 0 && m_path.currentPosition() == QPointF(p.x, p.y))
        m_path.lineTo(p.x + degenerateLength, p.y);
    else
        m_path.lineTo(p.x, p.y);
    useWindingFill();
}

void Path::quadCurveTo(Point control, Point end)
{
    QPointF current = m_path.currentPosition();
    if (m_path.elementCount() > 0 && current == QPointF(end.x, end.y) && current == QPointF(control.x, control.y))
        m_path.lineTo(end.x + degenerateLength, end.y);
    else
        m_path.quadTo(control.x, control.y, end.x, end.y);
    useWindingFill();
    m_quadControlBounds = m_quadControlBounds.united(Rect(control.x, control.y, 0, 0));
}

void Path::addPath(const Path& other)
{
    m_path.addPath(other.m_path);
    if (!m_path.isEmpty())
        useWindingFill();
    m_quadControlBounds = m_quadControlBounds.united(other.m_quadControlBounds);
}

void Path::clear()
{
    m_path.clear();
    m_quadControlBounds = Rect::null();
}

Point Path::currentPoint() const
{
    QPointF p = m_path.currentPosition();
    return { static_cast<float>(p.x()), static_cast<float>(p.y()) };
}

Rect Path::boundingBox() const
{
    if (isEmpty())
        return Rect::null();
    QRectF r = m_path.controlPointRect();
    return Rect(r.x(), r.y(), r.width(), r.height()).united(m_quadControlBounds);
}

}

#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Geometry.h"

#include <QPainterPath>

namespace platform {

// A mutable vector path in user coordinates.
class Path final {
public:
    void moveTo(Point p)
    {
        m_path.moveTo(p.x, p.y);
        useWindingFill();
    }
    // A segment that goes nowhere is kept (as a sliver) so that its line caps
    // still draw a dot; Qt would drop it.
    void lineTo(Point p);
    void quadCurveTo(Point control, Point end);
    // An arc of the given radius tangent to the line from the current point to
    // `tangent1` and to the line from `tangent1` to `tangent2`, preceded by a
    // straight line to the arc's start.
    void arcToPoint(Point tangent1, Point tangent2, float radius);
    void addRect(const Rect& r)
    {
        m_path.addRect(r.x(), r.y(), r.width(), r.height());
        useWindingFill();
    }
    void addEllipseInRect(const Rect& r)
    {
        m_path.addEllipse(r.x(), r.y(), r.width(), r.height());
        useWindingFill();
    }
    void addPath(const Path& other);
    void closeSubpath() { m_path.closeSubpath(); }
    void clear();

    bool isEmpty() const { return m_path.elementCount() == 0; }
    Point currentPoint() const;
    // The point the path begins at; the origin for an empty path.
    Point startPoint() const
    {
        if (isEmpty())
            return {};
        const QPainterPath::Element& first = m_path.elementAt(0);
        return { static_cast<float>(first.x), static_cast<float>(first.y) };
    }
    // The box around every point of the path, control points included; the null
    // rectangle for an empty path.
    Rect boundingBox() const;

    const QPainterPath& qpath() const { return m_path; }

private:
    static constexpr float degenerateLength = 1.0f / 1024;

    // Fills use the non-zero winding rule, so a loop drawn twice round stays
    // solid. (Set once the path has elements: on an empty path Qt would add one.)
    void useWindingFill() { m_path.setFillRule(Qt::WindingFill); }

    QPainterPath m_path;
    // Qt keeps quadratic segments as cubics, whose control points lie inside the
    // quadratic's; the quadratic control points are kept here for the box.
    Rect m_quadControlBounds = Rect::null();
};

}

#include "platform/graphics/CoverageRasterizer.h"

#include <QPainterPath>
#include <cmath>

namespace platform {

namespace {

// Cells are walked at 1/256 pixel; points are placed at 1/64 pixel and curves
// cut into lines by the measure QPainter uses, so that fills come out as its do.
constexpr int subpixelBits = 8;
constexpr int64_t onePixel = 1 << subpixelBits;
constexpr int64_t pointSteps = 64;
// Points are kept within a million pixels of the target, so that products of
// two distances fit in 64 bits; a point that is not a number sits at the far
// corner, which keeps its edges joined.
constexpr double farthest = 1 << 20;
// A curve is halved until its control points lie this close to its chord, by
// the measure below, or it has been halved nine times.
constexpr double flatness = 0.25;
constexpr int mostHalvings = 9;

int64_t toFixed(double v)
{
    if (!(v > -farthest))
        v = -farthest;
    else if (v > farthest)
        v = farthest;
    return std::llround(v * pointSteps) * (onePixel / pointSteps);
}

// Rounds toward minus infinity; the divisor is positive.
int64_t floorDivide(int64_t numerator, int64_t divisor)
{
    int64_t quotient = numerator / divisor;
    return quotient * divisor > numerator ? quotient - 1 : quotient;
}

}

void CoverageRasterizer::reset(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width != m_width || height != m_height) {
        m_width = width;
        m_height = height;
        m_deltas.assign(static_cast<size_t>(width + 2) * height, 0);
        m_spans.assign(static_cast<size_t>(height), Span {});
        m_values.assign(static_cast<size_t>(width + 2), 0);
    } else {
        // Edges added since the last sweep leave deltas behind.
        for (int y = m_firstRow; y <= m_lastRow; ++y) {
            Span& span = m_spans[static_cast<size_t>(y)];
            if (span.first <= span.last) {
                int32_t* deltas = m_deltas.data() + static_cast<size_t>(y) * (m_width + 2);
                std::fill(deltas + span.first, deltas + span.last + 1, 0);
            }
            span = Span {};
        }
    }
    m_firstRow = m_height;
    m_lastRow = -1;
}

CoverageRasterizer::DevicePoint CoverageRasterizer::mapped(const AffineTransform& t, double x, double y)
{
    return { t.a * x + t.c * y + t.tx, t.b * x + t.d * y + t.ty };
}

void CoverageRasterizer::addLine(Point from, Point to)
{
    line({ from.x, from.y }, { to.x, to.y });
}

void CoverageRasterizer::addQuad(Point from, Point control, Point to)
{
    // The cubic with the same curve.
    const DevicePoint c1 { from.x + 2.0 / 3 * (control.x - from.x), from.y + 2.0 / 3 * (control.y - from.y) };
    const DevicePoint c2 { to.x + 2.0 / 3 * (control.x - to.x), to.y + 2.0 / 3 * (control.y - to.y) };
    cubic({ from.x, from.y }, c1, c2, { to.x, to.y });
}

void CoverageRasterizer::cubic(DevicePoint p0, DevicePoint c1, DevicePoint c2, DevicePoint p3)
{
    struct Piece {
        DevicePoint p[4];
        int halvingsLeft;
    };
    // Depth first, the first half on top: at most one piece per halving is waiting.
    Piece stack[mostHalvings + 1];
    stack[0] = { { p0, c1, c2, p3 }, mostHalvings };
    int top = 0;
    DevicePoint previous = p0;
    while (top >= 0) {
        const Piece piece = stack[top];
        const DevicePoint* p = piece.p;
        const double dx = p[3].x - p[0].x;
        const double dy = p[3].y - p[0].y;
        // How far the control points stray from the chord, times its length,
        // against the length; for short chords the control points' distance from the start.
        double length = std::fabs(dx) + std::fabs(dy);
        double stray;
        if (length > 1) {
            stray = std::fabs(dx * (p[0].y - p[1].y) - dy * (p[0].x - p[1].x))
                + std::fabs(dx * (p[0].y - p[2].y) - dy * (p[0].x - p[2].x));
        } else {
            stray = std::fabs(p[0].x - p[1].x) + std::fabs(p[0].y - p[1].y) + std::fabs(p[0].x - p[2].x)
                + std::fabs(p[0].y - p[2].y);
            length = 1;
        }
        if (stray < flatness * length || piece.halvingsLeft == 0) {
            line(previous, p[3]);
            previous = p[3];
            --top;
            continue;
        }
        auto mid = [](DevicePoint a, DevicePoint b) { return DevicePoint { (a.x + b.x) / 2, (a.y + b.y) / 2 }; };
        const DevicePoint a1 = mid(p[0], p[1]), m12 = mid(p[1], p[2]), b2 = mid(p[2], p[3]);
        const DevicePoint a2 = mid(a1, m12), b1 = mid(m12, b2), m = mid(a2, b1);
        stack[top] = { { m, b1, b2, p[3] }, piece.halvingsLeft - 1 };
        stack[++top] = { { p[0], a1, a2, m }, piece.halvingsLeft - 1 };
    }
}

CoverageRasterizer::DevicePoint CoverageRasterizer::addSegments(const QPainterPath& path, const AffineTransform& t,
    int from)
{
    const int count = path.elementCount();
    const QPainterPath::Element& first = path.elementAt(from);
    DevicePoint start = mapped(t, first.x, first.y);
    DevicePoint current = start;
    for (int i = from + 1; i < count; ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        if (e.isMoveTo()) {
            line(current, start);
            current = start = mapped(t, e.x, e.y);
        } else if (e.isLineTo()) {
            const DevicePoint p = mapped(t, e.x, e.y);
            line(current, p);
            current = p;
        } else if (e.isCurveTo() && i + 2 < count) {
            const QPainterPath::Element& c2 = path.elementAt(i + 1);
            const QPainterPath::Element& end = path.elementAt(i + 2);
            const DevicePoint p = mapped(t, end.x, end.y);
            cubic(current, mapped(t, e.x, e.y), mapped(t, c2.x, c2.y), p);
            current = p;
            i += 2;
        }
    }
    return current;
}

void CoverageRasterizer::addPath(const QPainterPath& path, const AffineTransform& t)
{
    if (path.elementCount() == 0)
        return;
    const QPainterPath::Element& first = path.elementAt(0);
    // Closes the last subpath; addSegments closes the ones before it.
    const DevicePoint end = addSegments(path, t, 0);
    DevicePoint start = mapped(t, first.x, first.y);
    for (int i = path.elementCount() - 1; i > 0; --i) {
        if (path.elementAt(i).isMoveTo()) {
            start = mapped(t, path.elementAt(i).x, path.elementAt(i).y);
            break;
        }
    }
    line(end, start);
}

bool CoverageRasterizer::addPathGrowth(const QPainterPath& path, const AffineTransform& t, int from)
{
    const int count = path.elementCount();
    if (from < 0 || from >= count)
        return false;
    for (int i = from + 1; i < count; ++i) {
        if (path.elementAt(i).isMoveTo())
            return false;
    }
    const QPainterPath::Element& first = path.elementAt(0);
    const QPainterPath::Element& previousEnd = path.elementAt(from);
    const DevicePoint start = mapped(t, first.x, first.y);
    line(start, mapped(t, previousEnd.x, previousEnd.y));
    line(addSegments(path, t, from), start);
    return true;
}

void CoverageRasterizer::line(DevicePoint fromPoint, DevicePoint toPoint)
{
    int64_t x0 = toFixed(fromPoint.x), y0 = toFixed(fromPoint.y);
    int64_t x1 = toFixed(toPoint.x), y1 = toFixed(toPoint.y);
    if (y0 == y1)
        return;
    // Every line is walked downward, so that a line and its reverse give
    // exactly opposite values.
    int sign = 1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        sign = -1;
    }
    const int64_t bottom = static_cast<int64_t>(m_height) * onePixel;
    if (y1 <= 0 || y0 >= bottom)
        return;
    const int64_t dx = x1 - x0, dy = y1 - y0;
    auto xAt = [&](int64_t y) { return x0 + floorDivide(dx * (y - y0), dy); };
    int64_t top = std::max<int64_t>(y0, 0);
    const int64_t end = std::min(y1, bottom);
    int row = static_cast<int>(top >> subpixelBits);
    int64_t xTop = xAt(top);
    while (top < end) {
        const int64_t rowTop = static_cast<int64_t>(row) * onePixel;
        const int64_t next = std::min(rowTop + onePixel, end);
        const int64_t xNext = xAt(next);
        rowPiece(row, xTop, top - rowTop, xNext, next - rowTop, sign);
        top = next;
        xTop = xNext;
        ++row;
    }
}

void CoverageRasterizer::rowPiece(int row, int64_t xa, int64_t ya, int64_t xb, int64_t yb, int sign)
{
    if (ya == yb)
        return;
    // A piece that crosses a side is cut there, and the part beyond runs along it.
    const int64_t right = static_cast<int64_t>(m_width) * onePixel;
    for (int64_t side : { int64_t { 0 }, right }) {
        if ((xa < side && xb > side) || (xa > side && xb < side)) {
            const int64_t y = ya + (yb - ya) * (side - xa) / (xb - xa);
            rowPiece(row, xa, ya, side, y, sign);
            rowPiece(row, side, y, xb, yb, sign);
            return;
        }
    }
    cells(row, std::clamp<int64_t>(xa, 0, right), ya, std::clamp<int64_t>(xb, 0, right), yb, sign);
}

void CoverageRasterizer::cells(int row, int64_t xa, int64_t ya, int64_t xb, int64_t yb, int sign)
{
    // A point on a cell's side belongs to the cell the piece runs into.
    const int64_t first = (xb < xa ? xa - 1 : xa) >> subpixelBits;
    const int64_t last = (xb > xa ? xb - 1 : xb) >> subpixelBits;
    if (first == last) {
        const int64_t left = first * onePixel;
        addCell(row, static_cast<int>(first), sign * (yb - ya), sign * (xa - left + xb - left) * (yb - ya));
        return;
    }
    const int step = last > first ? 1 : -1;
    int64_t x = xa, y = ya;
    for (int64_t column = first; column != last; column += step) {
        const int64_t left = column * onePixel;
        const int64_t side = step > 0 ? left + onePixel : left;
        const int64_t ySide = ya + (yb - ya) * (side - xa) / (xb - xa);
        addCell(row, static_cast<int>(column), sign * (ySide - y), sign * (x - left + side - left) * (ySide - y));
        x = side;
        y = ySide;
    }
    const int64_t left = last * onePixel;
    addCell(row, static_cast<int>(last), sign * (yb - y), sign * (x - left + xb - left) * (yb - y));
}

void CoverageRasterizer::addCell(int row, int column, int64_t cover, int64_t area)
{
    // A pixel's value is twice the area of it that lies right of the edges, so
    // a piece adds its full-width area to its cell less what lies left of it,
    // and the rest to every cell after.
    int32_t* deltas = m_deltas.data() + static_cast<size_t>(row) * (m_width + 2);
    deltas[column] += static_cast<int32_t>(2 * onePixel * cover - area);
    deltas[column + 1] += static_cast<int32_t>(area);
    Span& span = m_spans[static_cast<size_t>(row)];
    span.first = std::min(span.first, column);
    span.last = std::max(span.last, column + 1);
    m_firstRow = std::min(m_firstRow, row);
    m_lastRow = std::max(m_lastRow, row);
}

}

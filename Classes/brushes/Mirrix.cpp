#include "Classes/brushes/Mirrix.h"

#include <numbers>

using platform::AffineTransform;
using platform::Point;

Mirrix::Mirrix()
{
    m_matrix[0] = getIdentify();
}

void Mirrix::setMode(int32_t mode, Point origion)
{
    m_mode = mode;
    switch (mode) {
    case 1:
        addHorizonMirror(origion);
        break;
    case 2:
        addVerticalMirror(origion);
        break;
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
        addMirrix(mode, origion);
        break;
    case 10:
        addFan(5, origion);
        break;
    case 11:
        addFan(6, origion);
        break;
    default:
        // 0, 3 and anything unknown draw the stroke once, unmirrored.
        break;
    }
}

AffineTransform Mirrix::addHorizonMirror(Point origion)
{
    AffineTransform t = getIdentify().translated(2 * origion.x, 0).scaled(-1, 1);
    append(t);
    return t;
}

AffineTransform Mirrix::addVerticalMirror(Point origion)
{
    AffineTransform t = getIdentify().translated(0, 2 * origion.y).scaled(1, -1);
    append(t);
    return t;
}

AffineTransform Mirrix::addMirrix(int32_t n, Point origion)
{
    AffineTransform last = getIdentify();
    if (n <= 0)
        return last;
    // Whole degrees on purpose: order 7 steps by 51, leaving a 54-degree gap.
    const int32_t step = 720 / (2 * n);
    for (int32_t i = 0; i <= 2 * n - 2; ++i) {
        const int32_t k = (i + 1) / 2;
        last = rotationAbout(origion, k * step, i % 2 == 0);
        append(last);
    }
    return last;
}

AffineTransform Mirrix::addFan(int32_t n, Point origion)
{
    AffineTransform last = getIdentify();
    if (n <= 0)
        return last;
    const int32_t step = 360 / n;
    for (int32_t k = 1; k <= n - 1; ++k) {
        last = rotationAbout(origion, k * step, false);
        append(last);
    }
    return last;
}

double Mirrix::radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

AffineTransform Mirrix::rotationAbout(Point origion, int32_t degrees, bool mirrored)
{
    // Each call acts before the ones already made, so a point is moved by -O,
    // mirrored, rotated and moved back by O.
    const float angle = static_cast<float>(radians(degrees));
    AffineTransform t = getIdentify().translated(origion.x, origion.y).rotated(angle);
    if (mirrored)
        t = t.scaled(-1, 1);
    return t.translated(-origion.x, -origion.y);
}

void Mirrix::append(const AffineTransform& transform)
{
    if (m_matrixNumber >= capacity)
        return;
    m_matrix[static_cast<size_t>(m_matrixNumber)] = transform;
    ++m_matrixNumber;
}

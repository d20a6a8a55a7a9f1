#pragma once

#include "platform/graphics/Color.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>

// The picture of a widget as it is shown, one pixel per point.
inline QImage shownImage(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// Whether a shown pixel has the colour, within the rounding of 8-bit channels.
inline testing::AssertionResult pixelIs(const QImage& image, int x, int y, const platform::Color& expected, int tolerance = 2)
{
    const QColor actual = image.pixelColor(x, y);
    const QColor wanted = expected.toQColor();
    if (std::abs(actual.red() - wanted.red()) <= tolerance && std::abs(actual.green() - wanted.green()) <= tolerance
        && std::abs(actual.blue() - wanted.blue()) <= tolerance && std::abs(actual.alpha() - wanted.alpha()) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << qPrintable(actual.name(QColor::HexArgb))
                                       << ", expected " << qPrintable(wanted.name(QColor::HexArgb));
}

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/CoverageRasterizer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

using platform::AffineTransform;
using platform::CoverageRasterizer;

namespace {

constexpr int size = 160;

// The summed values of every pixel after the edges added so far.
std::vector<int32_t> sweptValues(CoverageRasterizer& rasterizer)
{
    std::vector<int32_t> values(static_cast<size_t>(size) * size, 0);
    rasterizer.sweep([&](int y, int x0, const int32_t* row, int count) {
        for (int i = 0; i < count; ++i)
            values[static_cast<size_t>(y) * size + x0 + i] = row[i];
    });
    return values;
}

// The coverage of the path through a fresh rasteriser, or through one used before.
std::vector<int> ourCoverage(const QPainterPath& path, CoverageRasterizer* used = nullptr)
{
    CoverageRasterizer fresh;
    CoverageRasterizer& rasterizer = used ? *used : fresh;
    rasterizer.reset(size, size);
    rasterizer.addPath(path, AffineTransform::identity());
    std::vector<int> coverage;
    for (int32_t value : sweptValues(rasterizer))
        coverage.push_back(CoverageRasterizer::coverage(value));
    return coverage;
}

std::vector<int> qtCoverage(const QPainterPath& path)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(path);
    painter.end();
    std::vector<int> coverage;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            coverage.push_back(qAlpha(image.pixel(x, y)));
    return coverage;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.moveTo(*points.begin());
    for (const QPointF& p : points)
        path.lineTo(p);
    return path;
}

// Points round a circle `turns` times, joined by quadratic curves through the
// midpoints, as the shape brush joins touches.
QPainterPath loop(QPointF centre, double radius, double turns, int count, double wobble = 0)
{
    std::vector<QPointF> points;
    for (int i = 0; i <= count; ++i) {
        const double angle = 2 * std::numbers::pi * turns * i / count;
        const double r = radius + wobble * std::sin(i * 1.7);
        points.push_back(centre + QPointF(r * std::cos(angle), r * std::sin(angle)));
    }
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.moveTo(points[0]);
    for (size_t i = 1; i + 1 < points.size(); ++i)
        path.quadTo(points[i], (points[i] + points[i + 1]) / 2);
    return path;
}

}

// Filled shapes come out as QPainter fills them: within two levels at the
// edges, and the same wherever a pixel is wholly inside or outside.
TEST(CoverageRasterizer, CoverageMatchesQPainterFills)
{
    struct Case {
        std::string name;
        QPainterPath path;
    };
    QPainterPath figureEight = loop({ 80, 80 }, 50, 1, 16);
    figureEight.quadTo(QPointF(80, 40), QPointF(80, 80));
    const Case cases[] = {
        { "convex", polygon({ { 20.3, 30.7 }, { 120.1, 18.4 }, { 140.6, 90.2 }, { 70.5, 145.9 }, { 15.2, 100.1 } }) },
        { "concave", polygon({ { 10, 10 }, { 150, 10 }, { 150, 150 }, { 80.5, 60.25 }, { 10, 150 } }) },
        { "self-crossing star", polygon({ { 80, 5 }, { 125, 150 }, { 8, 60 }, { 152, 60 }, { 35, 150 } }) },
        { "bow tie", polygon({ { 20.5, 20.5 }, { 140.5, 139.5 }, { 140.5, 20.5 }, { 20.5, 139.5 } }) },
        { "loop wound twice with curves", loop({ 80, 80 }, 55, 2, 30, 9) },
        { "curves crossing themselves", figureEight },
        { "thin sliver", polygon({ { 5.5, 150.25 }, { 150.75, 3.5 }, { 152.5, 7.125 } }) },
        { "beyond every side", polygon({ { -40, 70 }, { 80, -30.5 }, { 210, 90 }, { 90, 230 } }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<int> ours = ourCoverage(c.path);
        const std::vector<int> qt = qtCoverage(c.path);
        int worst = 0;
        int edgePixels = 0;
        for (int y = 1; y + 1 < size; ++y) {
            for (int x = 1; x + 1 < size; ++x) {
                const size_t i = static_cast<size_t>(y) * size + x;
                worst = std::max(worst, std::abs(ours[i] - qt[i]));
                edgePixels += qt[i] > 0 && qt[i] < 255;
                // Wholly inside or outside: QPainter leaves the pixel and its neighbours alike.
                bool uniform = qt[i] == 0 || qt[i] == 255;
                for (int dy = -1; dy <= 1 && uniform; ++dy)
                    for (int dx = -1; dx <= 1 && uniform; ++dx)
                        uniform = qt[i + dy * size + dx] == qt[i];
                if (uniform) {
                    ASSERT_EQ(ours[i], qt[i]) << "pixel " << x << "," << y;
                }
            }
        }
        EXPECT_LE(worst, 2);
        EXPECT_GT(edgePixels, 50);
    }
}

// A fill kept while its path grows, adding only what each new segment changes,
// is exactly the fill of the whole path, under a mirror-like transform too.
TEST(CoverageRasterizer, GrowingAPathAddsUpToFillingItWhole)
{
    const QPainterPath path = loop({ 70, 90 }, 75, 2.5, 40, 20);
    for (const AffineTransform& transform :
        { AffineTransform::identity(), AffineTransform { -0.7660444f, 0.6427876f, 0.6427876f, 0.7660444f, 90.25f, -30.5f } }) {
        CoverageRasterizer rasterizer;
        rasterizer.reset(size, size);
        rasterizer.addPath(path, transform);
        const std::vector<int32_t> whole = sweptValues(rasterizer);

        std::vector<int32_t> grown(whole.size(), 0);
        QPainterPath partial;
        partial.moveTo(path.elementAt(0));
        int filled = 1;
        for (int i = 1; i < path.elementCount(); i += 3) {
            partial.cubicTo(path.elementAt(i), path.elementAt(i + 1), path.elementAt(i + 2));
            if (i == 1) {
                rasterizer.addPath(partial, transform);
            } else {
                ASSERT_TRUE(rasterizer.addPathGrowth(partial, transform, filled - 1));
            }
            filled = partial.elementCount();
            const std::vector<int32_t> step = sweptValues(rasterizer);
            for (size_t p = 0; p < grown.size(); ++p)
                grown[p] += step[p];
        }
        EXPECT_EQ(grown, whole);
        int inside = 0;
        for (int32_t value : whole)
            inside += std::abs(value) >= CoverageRasterizer::wholePixel;
        EXPECT_GT(inside, 2000) << "the loop should cover part of the target";
    }
}

// Points that are not numbers, or absurdly far, neither crash the rasteriser
// nor spoil what it fills next.
TEST(CoverageRasterizer, HostilePointsLeaveNoTrace)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    CoverageRasterizer rasterizer;
    rasterizer.reset(size, size);
    rasterizer.addLine({ 10, 10 }, { nan, 50 });
    rasterizer.addLine({ nan, 50 }, { 1e30f, -infinity });
    rasterizer.addQuad({ 1e30f, -infinity }, { 40, infinity }, { 10, 10 });
    sweptValues(rasterizer);
    rasterizer.addLine({ 10, 10 }, { 3e9f, 90 });

    const QPainterPath square = polygon({ { 20, 20 }, { 60, 20 }, { 60, 60 }, { 20, 60 } });
    EXPECT_EQ(ourCoverage(square, &rasterizer), qtCoverage(square));
}

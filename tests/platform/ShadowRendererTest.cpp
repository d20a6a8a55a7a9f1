#include "platform/graphics/BitmapContext.h"
#include "support/TestCanvas.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace platform;

namespace {

constexpr int width = 120;
constexpr int height = 90;

// A background with every kind of pixel: opaque, translucent and empty.
std::vector<uint32_t> background()
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t a = static_cast<uint32_t>((x * 7 + y * 3) % 256);
            if (y % 11 == 0)
                a = 0;
            uint32_t r = a * ((x * 5) % 256) / 255;
            uint32_t g = a * ((y * 9) % 256) / 255;
            uint32_t b = a * (((x + y) * 13) % 256) / 255;
            pixels[static_cast<size_t>(y) * width + x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    return pixels;
}

struct Shape {
    const char* name;
    std::function<void(GraphicsContext&)> configure;
    std::function<void(QPainter&)> reference;
};

// Draws the path through the context and the same path with QPainter straight
// into a copy of the background; the pixels must be identical.
void expectSamePixels(const Shape& shape, const std::function<void(GraphicsContext&)>& draw,
    const std::function<void(QPainterPath&)>& build)
{
    std::vector<uint32_t> drawn = background();
    {
        auto context = BitmapContext::create(drawn.data(), width, height, width * 4, PixelLayout::CanvasBGRA);
        ASSERT_TRUE(context);
        shape.configure(*context);
        draw(*context);
    }
    std::vector<uint32_t> expected = background();
    {
        QImage image(reinterpret_cast<uchar*>(expected.data()), width, height, width * 4,
            QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        // The bitmap context's y axis points up.
        painter.setTransform(QTransform(1, 0, 0, -1, 0, height));
        shape.reference(painter);
        QPainterPath path;
        build(path);
        painter.drawPath(path);
    }
    int differing = 0;
    for (size_t i = 0; i < drawn.size(); ++i)
        differing += drawn[i] != expected[i];
    EXPECT_EQ(differing, 0) << shape.name;
}

const Shape shapes[] = {
    { "round stroke",
        [](GraphicsContext& g) {
            g.setLineWidth(7);
            g.setLineCap(LineCap::Round);
            g.setLineJoin(LineJoin::Round);
            g.setStrokeColor(Color::rgba(0.9f, 0.3f, 0.1f, 1));
        },
        [](QPainter& p) {
            QPen pen(Color::rgba(0.9f, 0.3f, 0.1f, 1).toQColor(), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            pen.setMiterLimit(10);
            p.setPen(pen);
        } },
    { "translucent butt stroke",
        [](GraphicsContext& g) {
            g.setLineWidth(4.5f);
            g.setLineCap(LineCap::Butt);
            g.setLineJoin(LineJoin::Round);
            g.setStrokeColor(Color::rgba(1, 1, 1, 1));
            g.setAlpha(0.93333334f);
        },
        [](QPainter& p) {
            QPen pen(Color::rgba(1, 1, 1, 1).toQColor(), 4.5, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
            pen.setMiterLimit(10);
            p.setPen(pen);
            p.setOpacity(0.93333334f);
        } },
    { "fill",
        [](GraphicsContext& g) { g.setFillColor(Color::rgba(0.2f, 0.5f, 1, 0.6f)); },
        [](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(Color::rgba(0.2f, 0.5f, 1, 0.6f).toQColor());
        } },
};

void buildCurve(QPainterPath& path)
{
    // The context keeps coordinates as floats.
    path.moveTo(14.3f, 20.5f);
    path.quadTo(60, 95, 104.6f, 31.2f);
}

void curveInContext(GraphicsContext& g)
{
    g.moveToPoint({ 14.3f, 20.5f });
    g.addQuadCurveToPoint({ 60, 95 }, { 104.6f, 31.2f });
}

}

TEST(ShadowRenderer, SmallPathsDrawTheSamePixelsAsQPainter)
{
    for (const Shape& shape : shapes) {
        bool fill = std::string(shape.name) == "fill";
        expectSamePixels(
            shape,
            [fill](GraphicsContext& g) {
                curveInContext(g);
                if (fill) {
                    g.closePath();
                    g.fillPath();
                } else {
                    g.strokePath();
                }
            },
            [fill](QPainterPath& path) {
                buildCurve(path);
                if (fill)
                    path.closeSubpath();
            });
    }
}

TEST(ShadowRenderer, ShapeOverItsShadowIsTheSameAsWithoutShadow)
{
    // A shadow of no opacity leaves the target alone, so only the shape shows:
    // drawn from the shadow's coverage, it must match QPainter's own.
    for (const Shape& shape : shapes) {
        if (std::string(shape.name) == "fill")
            continue;
        for (float blur : { 0.0f, 6.0f, 20.0f }) {
            expectSamePixels(
                shape,
                [blur](GraphicsContext& g) {
                    g.setShadow({ 0, 0 }, blur, Color::rgba(0, 1, 0, 0));
                    curveInContext(g);
                    g.strokePath();
                },
                [](QPainterPath& path) { buildCurve(path); });
        }
    }
}

TEST(ShadowRenderer, ClearedPathMatchesQPainterClear)
{
    std::vector<uint32_t> drawn = background();
    {
        auto context = BitmapContext::create(drawn.data(), width, height, width * 4, PixelLayout::CanvasBGRA);
        context->setBlendMode(BlendMode::Clear);
        context->setLineWidth(13);
        context->setLineCap(LineCap::Round);
        context->setLineJoin(LineJoin::Round);
        context->setStrokeColor(Color::rgba(0, 0, 0, 0));
        curveInContext(*context);
        context->strokePath();
    }
    std::vector<uint32_t> expected = background();
    {
        QImage image(reinterpret_cast<uchar*>(expected.data()), width, height, width * 4,
            QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setTransform(QTransform(1, 0, 0, -1, 0, height));
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setPen(QPen(QColor(0, 0, 0, 0), 13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath path;
        buildCurve(path);
        painter.drawPath(path);
    }
    EXPECT_EQ(drawn, expected);
}

TEST(ShadowRenderer, ReusedGlowMaskGivesTheSamePixelsAsAFreshOne)
{
    // The same path stroked under shrinking blurs reuses its coverage and mask;
    // a small unrelated shadow in between forces everything to be made afresh.
    auto glow = [](bool interrupt) {
        TestCanvas canvas(width, height);
        auto& g = canvas.context();
        g.setLineWidth(6);
        g.setLineCap(LineCap::Round);
        g.setStrokeColor(Color::rgba(1, 0.2f, 0.6f, 1));
        for (float blur : { 20.0f, 20.0f, 10.0f, 0.0f }) {
            g.setShadow({ 0, 0 }, blur, Color::rgba(1, 0.2f, 0.6f, 1));
            curveInContext(g);
            g.strokePath();
            if (interrupt) {
                g.saveGState();
                g.setShadow({ 0, 0 }, 3, Color::rgba(0, 0, 0, 0));
                g.setFillColor(Color::rgba(0, 0, 0, 0));
                g.fillRect(Rect(0, 0, 2, 2));
                g.restoreGState();
            }
        }
        return canvas.uprightImage();
    };
    QImage reused = glow(false);
    QImage fresh = glow(true);
    EXPECT_EQ(maxChannelDifference(reused, fresh), 0);
    EXPECT_GT(qAlpha(reused.pixel(60, 90 - 45)), 0);
}

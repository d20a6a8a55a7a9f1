#include "platform/graphics/BitmapContext.h"
#include "support/TestCanvas.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <optional>
#include <vector>

using namespace platform;

namespace {

constexpr int width = 120;
constexpr int height = 90;

// A background with every kind of pixel: opaque, translucent and empty.
std::vector<uint32_t> background()
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (uint32_t i = 0; i < pixels.size(); ++i) {
        const uint32_t a = i % 11 == 0 ? 0 : i * 7 % 256;
        pixels[i] = a << 24 | (a * (i % 13) / 12) << 16 | (a * (i % 5) / 4) << 8 | a / 3;
    }
    return pixels;
}

void curveInContext(GraphicsContext& g)
{
    g.moveToPoint({ 14.3f, 20.5f });
    g.addQuadCurveToPoint({ 60, 95 }, { 104.6f, 31.2f });
}

// A line width of 0 fills the curve instead.
struct Shape {
    const char* name;
    float lineWidth;
    LineCap cap;
    Color color;
    float alpha;
    BlendMode mode;
};

const Shape shapes[] = {
    { "round stroke", 7, LineCap::Round, Color::rgba(0.9f, 0.3f, 0.1f, 1), 1, BlendMode::Normal },
    { "translucent butt stroke", 4.5f, LineCap::Butt, Color::rgba(1, 1, 1, 1), 0.93333334f, BlendMode::Normal },
    { "cleared stroke", 13, LineCap::Round, Color::rgba(0, 0, 0, 0), 1, BlendMode::Clear },
    { "fill", 0, LineCap::Butt, Color::rgba(0.2f, 0.5f, 1, 0.6f), 1, BlendMode::Normal },
};

// Whether the curve drawn through the context gives exactly the pixels of the
// same curve drawn by QPainter, over a background of every kind of pixel.
bool drawsAsQPainterDoes(const Shape& shape, std::optional<float> shadowBlur)
{
    std::vector<uint32_t> drawn = background(), expected = background();
    {
        auto g = BitmapContext::create(drawn.data(), width, height, width * 4, PixelLayout::CanvasBGRA);
        g->setLineWidth(shape.lineWidth);
        g->setLineCap(shape.cap);
        g->setLineJoin(LineJoin::Round);
        g->setStrokeColor(shape.color);
        g->setFillColor(shape.color);
        g->setAlpha(shape.alpha);
        g->setBlendMode(shape.mode);
        // A shadow of no opacity leaves the target alone, so only the shape,
        // drawn from the shadow's coverage, shows.
        if (shadowBlur)
            g->setShadow({ 0, 0 }, *shadowBlur, Color::rgba(0, 1, 0, 0));
        curveInContext(*g);
        shape.lineWidth == 0 ? g->fillPath() : g->strokePath();
    }
    QImage image(reinterpret_cast<uchar*>(expected.data()), width, height, width * 4, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setTransform(QTransform(1, 0, 0, -1, 0, height)); // y up
    const QPen pen(shape.color.toQColor(), shape.lineWidth, Qt::SolidLine, shape.cap == LineCap::Round ? Qt::RoundCap : Qt::FlatCap, Qt::RoundJoin);
    painter.setPen(shape.lineWidth == 0 ? QPen(Qt::NoPen) : pen);
    painter.setBrush(shape.lineWidth == 0 ? QBrush(shape.color.toQColor()) : QBrush());
    painter.setOpacity(shape.alpha);
    painter.setCompositionMode(shape.mode == BlendMode::Clear ? QPainter::CompositionMode_Clear : QPainter::CompositionMode_SourceOver);
    QPainterPath path({ 14.3f, 20.5f }); // the context keeps coordinates as floats
    path.quadTo(60, 95, 104.6f, 31.2f);
    painter.drawPath(path);
    painter.end();
    return drawn == expected;
}

}

TEST(ShadowRenderer, DirectlyPaintedPathsMatchQPainterExactly)
{
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        EXPECT_TRUE(drawsAsQPainterDoes(shape, std::nullopt));
        if (shape.lineWidth == 0 || shape.mode == BlendMode::Clear)
            continue;
        for (float blur : { 0.0f, 6.0f, 20.0f })
            EXPECT_TRUE(drawsAsQPainterDoes(shape, blur)) << "under a shadow of blur " << blur;
    }
}

// The glow is the shape's coverage blurred by a Gaussian of deviation blur / 2.
TEST(ShadowRenderer, GlowOutsideTheShapeIsAGaussianBlurOfItsCoverage)
{
    for (float blur : { 4.0f, 12.0f }) {
        TestCanvas shape(width, height), glow(width, height);
        for (TestCanvas* canvas : { &shape, &glow }) {
            auto& g = canvas->context();
            if (canvas == &glow)
                g.setShadow({ 0, 0 }, blur, Color::rgba(0, 0, 1, 1));
            g.setLineWidth(3);
            g.moveToPoint({ 30, 70 });
            g.addQuadCurveToPoint({ 40, 10 }, { 90, 20 });
            g.strokePath();
        }
        const int reach = static_cast<int>(std::ceil(2 * blur));
        std::vector<double> kernel;
        for (int k = -reach; k <= reach; ++k)
            kernel.push_back(std::exp(-2.0 * k * k / (blur * blur)));
        const double total = std::accumulate(kernel.begin(), kernel.end(), 0.0);
        int worst = 0; // nothing comes from beyond the edges
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (shape.alpha(x, y) != 0)
                    continue;
                double expected = 0;
                for (int i = std::max(-reach, -y); i <= std::min(reach, height - 1 - y); ++i)
                    for (int k = std::max(-reach, -x); k <= std::min(reach, width - 1 - x); ++k)
                        expected += kernel[i + reach] * kernel[k + reach] * shape.alpha(x + k, y + i);
                worst = std::max(worst, static_cast<int>(std::lround(std::abs(glow.alpha(x, y) - expected / (total * total)))));
            }
        }
        EXPECT_LE(worst, 6) << "blur " << blur;
    }
}

// The same path stroked again under the same or a smaller blur reuses its
// coverage and mask; an unrelated shadow in between makes everything afresh.
TEST(ShadowRenderer, ReusedGlowMaskGivesTheSamePixelsAsAFreshOne)
{
    QImage results[2];
    for (bool interrupt : { false, true }) {
        TestCanvas canvas(width, height);
        auto& g = canvas.context();
        g.setLineWidth(6);
        g.setFillColor(Color::rgba(0, 0, 0, 0));
        for (float blur : { 20.0f, 20.0f, 10.0f, 0.0f }) {
            g.setShadow({ 0, 0 }, blur, Color::rgba(1, 0.2f, 0.6f, 1));
            curveInContext(g);
            g.strokePath();
            if (interrupt) {
                g.setShadow({ 0, 0 }, 3, Color::rgba(0, 0, 0, 0));
                g.fillRect(Rect(0, 0, 2, 2));
            }
        }
        results[interrupt] = canvas.uprightImage();
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_GT(qAlpha(results[0].pixel(60, 45)), 0);
}

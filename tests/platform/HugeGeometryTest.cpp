#include "platform/graphics/BitmapContext.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace platform;

namespace {

constexpr int side = 64;

struct Canvas {
    std::vector<uint32_t> memory = std::vector<uint32_t>(side * side, 0);
    std::unique_ptr<BitmapContext> context
        = BitmapContext::create(memory.data(), side, side, side * 4, PixelLayout::CanvasBGRA);
};

// What a brush draws: a glowing curve, a filled blob and a picture.
void drawShapes(GraphicsContext& g, Point from, Point to, float width, float blur, Size offset)
{
    g.saveGState();
    g.setShadow(offset, blur, Color::rgba(1, 0, 0, 1));
    g.setLineWidth(width);
    g.setStrokeColor(Color::rgba(0, 1, 0, 1));
    g.moveToPoint(from);
    g.addQuadCurveToPoint({ (from.x + to.x) / 2, to.y }, to);
    g.strokePath();
    g.setFillColor(Color::rgba(0, 0, 1, 1));
    g.moveToPoint(from);
    g.addLineToPoint(to);
    g.addLineToPoint({ to.x, from.y });
    g.fillPath();
    QImage picture(4, 4, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    g.drawImageTopLeft(Rect(from.x, from.y, to.x - from.x, to.y - from.y), Image(picture));
    g.restoreGState();
    if (auto* bitmap = dynamic_cast<BitmapContext*>(&g))
        bitmap->flush();
}

}

// Geometry that no live drawing gives (recorded sizes and positions from a
// damaged file) draws nothing or what fits, quickly, and leaves the context
// drawing as before.
TEST(HugeGeometry, NonFiniteOrAstronomicShapesAndShadowsAreDrawnSafelyAndLeaveTheContextAsItWas)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        Point from, to;
        float width, blur;
        Size offset;
        bool leavesCanvasBlank;
    };
    const Case cases[] = {
        { "not a number anywhere", { nan, 5 }, { 30, nan }, nan, nan, { nan, nan }, true },
        { "infinite positions", { -inf, 5 }, { inf, 40 }, 5, 10, { 0, 0 }, true },
        { "infinite line and blur", { 5, 5 }, { 40, 40 }, inf, inf, { 0, 0 }, false },
        { "astronomic positions", { -1e30f, -1e30f }, { 1e30f, 1e30f }, 5, 10, { 0, 0 }, false },
        { "astronomic line and blur", { 5, 5 }, { 40, 40 }, 1e30f, 1e30f, { 0, 0 }, false },
        { "astronomic shadow offset", { 5, 5 }, { 40, 40 }, 5, 10, { 1e30f, -1e30f }, false },
        { "positions past 16-bit integers", { -40000, 3 }, { 70000, 60 }, 30000, 40, { 2, 2 }, false },
    };
    Canvas reference;
    drawShapes(*reference.context, { 5, 8 }, { 50, 44 }, 6, 8, { 2, 2 });
    for (const Case& c : cases) {
        Canvas canvas;
        QElapsedTimer timer;
        timer.start();
        drawShapes(*canvas.context, c.from, c.to, c.width, c.blur, c.offset);
        EXPECT_LT(timer.elapsed(), 1000) << c.what;
        if (c.leavesCanvasBlank) {
            EXPECT_EQ(canvas.memory, std::vector<uint32_t>(side * side, 0)) << c.what;
        }
        // The same context then draws an ordinary stroke exactly as a fresh one.
        std::fill(canvas.memory.begin(), canvas.memory.end(), 0);
        drawShapes(*canvas.context, { 5, 8 }, { 50, 44 }, 6, 8, { 2, 2 });
        EXPECT_EQ(canvas.memory, reference.memory) << c.what;
    }
}

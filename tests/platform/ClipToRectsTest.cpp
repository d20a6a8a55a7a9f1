#include "support/TestCanvas.h"
#include "platform/graphics/GraphicsContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using platform::Color;
using platform::Rect;

namespace {

constexpr int size = 320;

// Draws on a grey canvas twice, once clipped to the rectangles and once not,
// and checks that the clipped canvas has the unclipped pixels inside them and
// the grey outside.
void expectClippedToRects(const std::vector<Rect>& rects, const std::function<void(platform::GraphicsContext&)>& draw)
{
    TestCanvas clipped(size, size);
    TestCanvas whole(size, size);
    for (TestCanvas* canvas : { &clipped, &whole }) {
        canvas->context().setFillColor(Color::rgba(0.5f, 0.5f, 0.5f, 1));
        canvas->context().fillRect(Rect(0, 0, size, size));
    }
    const uint32_t grey = clipped.pixel(0, 0);
    clipped.context().saveGState();
    clipped.context().clipToRects(rects);
    draw(clipped.context());
    clipped.context().restoreGState();
    draw(whole.context());

    int inside = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            bool isInside = false;
            for (const Rect& r : rects)
                isInside = isInside || r.contains({ x + 0.5f, y + 0.5f });
            inside += isInside && whole.pixel(x, y) != grey;
            ASSERT_EQ(clipped.pixel(x, y), isInside ? whole.pixel(x, y) : grey) << x << "," << y;
        }
    }
    EXPECT_GT(inside, 100) << "the drawing should reach into the rectangles";
}

void fillLargeEllipse(platform::GraphicsContext& context)
{
    context.setFillColor(Color::rgba(0.9f, 0.2f, 0.1f, 0.8f));
    context.fillEllipseInRect(Rect(10, 20, 300, 280));
}

}

// Rows of side-by-side rectangles, as the layer's redraw regions come, and overlapping ones.
TEST(ClipToRects, FillsPaintOnlyInsideRowsOfRectanglesOrTheirUnion)
{
    expectClippedToRects({ Rect(0, 32, 48, 16), Rect(96, 32, 16, 16), Rect(40, 48, 200, 16), Rect(300, 300, 20, 20) },
        fillLargeEllipse);
    expectClippedToRects({ Rect(20, 20, 100, 100), Rect(60, 60, 100, 100), Rect(250, 10, 30, 300) }, fillLargeEllipse);
}

TEST(ClipToRects, ShadowsAndStrokesStayInsideTheRectangles)
{
    expectClippedToRects({ Rect(50, 50, 60, 40), Rect(150, 120, 80, 80) }, [](platform::GraphicsContext& context) {
        context.setLineWidth(12);
        context.setLineCap(platform::LineCap::Round);
        context.setStrokeColor(Color::rgba(0.1f, 0.9f, 0.3f, 1));
        context.setShadow({ 0, 0 }, 20, Color::rgba(0.1f, 0.9f, 0.3f, 1));
        context.moveToPoint({ 40, 60 });
        context.addQuadCurveToPoint({ 200, 20 }, { 220, 190 });
        context.strokePath();
    });
}

TEST(ClipToRects, ClearingStaysInsideTheRectangles)
{
    expectClippedToRects({ Rect(30, 30, 40, 40), Rect(90, 30, 40, 40) }, [](platform::GraphicsContext& context) {
        context.setBlendMode(platform::BlendMode::Clear);
        context.setLineWidth(10);
        context.moveToPoint({ 20, 50 });
        context.addLineToPoint({ 150, 50 });
        context.strokePath();
    });
}

TEST(ClipToRects, ALaterRectangleClipNarrowsTheRegion)
{
    TestCanvas canvas(size, size);
    auto& context = canvas.context();
    const Rect parts[] = { Rect(0, 0, 100, 100), Rect(200, 200, 100, 100) };
    context.clipToRects(parts);
    context.clipToRect(Rect(50, 50, 200, 200));
    context.setFillColor(Color::rgba(1, 1, 1, 1));
    context.fillRect(Rect(0, 0, size, size));
    EXPECT_EQ(canvas.alpha(75, 75), 255);
    EXPECT_EQ(canvas.alpha(225, 225), 255);
    EXPECT_EQ(canvas.alpha(25, 25), 0);
    EXPECT_EQ(canvas.alpha(275, 275), 0);
    EXPECT_EQ(canvas.alpha(150, 150), 0);
}

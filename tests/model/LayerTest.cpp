#include "ModelTestSupport.h"
#include "platform/graphics/GraphicsContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using platform::Point;
using platform::Rect;

namespace {

std::unique_ptr<Brush> pen(int mirrixMode = 0)
{
    auto brush = Brush::createBrush(13, nullptr);
    brush->setMirrix(mirrixMode, { 100, 100 });
    return brush;
}

constexpr int canvasWidth = 300;
constexpr int canvasHeight = 260;

// A scribble that loops round the canvas more than twice, so the shape overlaps
// itself, with points about 25 apart.
std::vector<Point> loopingScribble(int count)
{
    std::vector<Point> points;
    for (int i = 0; i < count; ++i) {
        float angle = i * 0.33f;
        points.push_back({ 150 + 95 * std::cos(angle) + 8 * std::sin(i * 1.3f), 130 + 85 * std::sin(angle) });
    }
    return points;
}

// Stripes of three colours, half transparent in places, on both of the layer's canvases.
void paintBackground(Layer& layer)
{
    auto& context = *layer.layerContext();
    for (int i = 0; i < canvasWidth; i += 30) {
        context.setFillColor(platform::Color::rgba(i % 90 == 0 ? 1.0f : 0.2f, 0.5f, i % 60 == 0 ? 0.9f : 0.1f,
            i % 45 == 0 ? 0.5f : 1.0f));
        context.fillRect(Rect(static_cast<float>(i), 0, 17, canvasHeight));
    }
    layer.syncOnScreenToOffScreen();
}

// A shape brush in a fixed, slightly translucent colour, so that a part filled
// twice would show.
std::unique_ptr<Brush> shapeBrush(int mode)
{
    auto brush = Brush::createBrush(16, nullptr);
    brush->setColor(platform::Color::rgba(0.9f, 0.3f, 0.1f, 1));
    brush_meta data = brush->brushData();
    data.alpha = 240;
    brush->setBrushData(data);
    brush->setMirrix(mode, { canvasWidth / 2.0f, canvasHeight / 2.0f });
    return brush;
}

// Each step restores the canvas under the whole stroke so far and fills the
// whole shape again: the plain way that the layer's shortcut must match.
std::vector<uint8_t> drawnTheLongWay(int mode, const std::vector<Point>& points)
{
    auto layer = Layer::createWithSize({ canvasWidth, canvasHeight });
    paintBackground(*layer);
    auto brush = shapeBrush(mode);
    auto& context = *layer->layerContext();
    auto stroke = Stroke::create();
    stroke->setBrush(brush.get());
    stroke->strokeFrom(context, StrokePoint(points.front()), false);
    for (size_t i = 1; i < points.size(); ++i) {
        layer->syncToOnScreen(context, stroke->dirtyRect());
        if (i + 1 < points.size())
            stroke->strokeTo(context, StrokePoint(points[i]), false);
        else
            stroke->strokeEnd(context, StrokePoint(points[i]), false);
    }
    return onScreen(*layer);
}

void drawnLive(Layer& layer, Brush& brush, const std::vector<Point>& points)
{
    layer.strokeFromWithBrush(brush, points.front());
    for (size_t i = 1; i + 1 < points.size(); ++i)
        layer.strokeTo(points[i]);
    layer.strokeEnd(points.back());
}

}

TEST(WholePathRedraw, ShapeStrokeRedrawnInPartsEqualsTheWholeRedrawInEveryMirrorMode)
{
    const std::vector<Point> points = loopingScribble(45);
    for (int mode : { 0, 1, 2, 4, 9 }) {
        SCOPED_TRACE(mode);
        auto layer = Layer::createWithSize({ canvasWidth, canvasHeight });
        paintBackground(*layer);
        auto brush = shapeBrush(mode);
        drawnLive(*layer, *brush, points);
        EXPECT_TRUE(onScreen(*layer) == drawnTheLongWay(mode, points));
    }
}

// The replay takes the same shortcut, seven points a step.
TEST(WholePathRedraw, ShapeStrokeReplaysAsDrawn)
{
    auto layer = Layer::createWithSize({ canvasWidth, canvasHeight });
    auto brush = shapeBrush(4);
    drawnLive(*layer, *brush, loopingScribble(30));
    layer->startPlayback();
    while (layer->getPlaybackProgress() < 1)
        layer->playbackNextStrokePointsOfNumber(7);
    EXPECT_TRUE(canvasBytes(layer->playbackBitmapBuffer(), *layer) == onScreen(*layer));
}

TEST(LayerStroke, MovesUnderTwentyPointsInSumFromTheLastRecordedPointAreDroppedButTheEndIsKept)
{
    auto layer = Layer::createWithSize({ 300, 300 });
    auto brush = pen();
    EXPECT_TRUE(layer->strokeEnd({ 50, 50 }).isNull()) << "no stroke to end";
    layer->strokeFromWithBrush(*brush, { 100, 100 });
    // 12 + 7 falls short and 12 + 8 is enough; the sum counts from the last recorded point, backwards too.
    for (auto [x, y, recorded] : { std::tuple { 112.0f, 107.0f, false }, { 112.0f, 108.0f, true },
             { 122.0f, 108.0f, false }, { 132.0f, 108.0f, true }, { 112.0f, 108.0f, true } })
        EXPECT_EQ(layer->strokeTo({ x, y }).isNull(), !recorded) << x << ", " << y;
    layer->strokeEnd({ 112, 108 });
    ASSERT_EQ(layer->getStrokeNumber(), 1);
    EXPECT_EQ(layer->strokeList()[0]->getStrokePointsNumber(), 5);
}

TEST(LayerCanvas, SizesAreWholePixelsAndOnlyAShortageOfMemoryIsReported)
{
    EXPECT_EQ(Layer::createWithSize({ 320.6f, 416.9f })->offscreenContext()->height(), 416);
    for (platform::Size size : { platform::Size { 0, 100 }, platform::Size { 100, 0.5f }, platform::Size { -10, 20 } }) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(createLayerCanvasWithSize(size.width, size.height).has_value());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    testing::internal::CaptureStderr();
    auto huge = Layer::createWithSize({ 1.0e9f, 10 });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Memory not allocated!");
    // Such a layer takes strokes without drawing them.
    auto brush = pen();
    huge->strokeFromWithBrush(*brush, { 1, 1 });
    EXPECT_TRUE(huge->strokeEnd({ 60, 5 }).isNull());
    EXPECT_FALSE(huge->undo());
}

TEST(LayerUndo, TakesBackTheLastFiveStrokesExactlyAndTheCanvasDrawsOnAfterwards)
{
    auto layer = Layer::createWithSize({ 240, 200 });
    auto brush = pen(4);
    std::vector<std::vector<uint8_t>> before;
    for (float x = 20; x < 110; x += 15) {
        before.push_back(onScreen(*layer));
        layer->strokeFromWithBrush(*brush, { x, 20 });
        layer->strokeTo({ x + 30, 80 });
        layer->strokeEnd({ 100, 180 });
    }
    for (int stroke = 6; stroke >= 2; --stroke) {
        SCOPED_TRACE(stroke);
        ASSERT_TRUE(layer->undo());
        EXPECT_EQ(layer->getStrokeNumber(), stroke - 1);
        EXPECT_TRUE(onScreen(*layer) == before[stroke - 1]);
        EXPECT_TRUE(offScreen(*layer) == before[stroke - 1]);
    }
    EXPECT_FALSE(layer->undo());
    EXPECT_EQ(layer->getStrokeNumber(), 1);

    layer->strokeFromWithBrush(*brush, { 10, 150 });
    layer->strokeEnd({ 150, 10 });
    EXPECT_TRUE(offScreen(*layer) == onScreen(*layer));
    ASSERT_TRUE(layer->undo());
    EXPECT_TRUE(onScreen(*layer) == before[1]);
}

#include "ModelTestSupport.h"
#include "platform/graphics/GraphicsContext.h"

#include <gtest/gtest.h>

#include <cmath>

using platform::Point;
using platform::Rect;

namespace {

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

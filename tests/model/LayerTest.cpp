#include "Classes/brushes/Brush.h"
#include "Classes/model/Layer.h"
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

using platform::Rect;

namespace {

std::unique_ptr<Brush> pen(int mirrixMode = 0)
{
    auto brush = Brush::createBrush(13, nullptr);
    brush->setMirrix(mirrixMode, { 100, 100 });
    return brush;
}

std::vector<uint8_t> onScreen(const Layer& layer) { return canvasBytes(layer.layerBitmapBuffer(), layer); }
std::vector<uint8_t> offScreen(const Layer& layer) { return canvasBytes(layer.offscreenBitmapBuffer(), layer); }

}

TEST(LayerStroke, MovesCloserThanTwentyPointsInSumAreDroppedButTheEndIsAlwaysKept)
{
    auto layer = Layer::createWithSize({ 300, 300 });
    auto brush = pen();
    EXPECT_TRUE(layer->strokeEnd({ 50, 50 }).isNull()) << "no stroke to end";
    layer->strokeFromWithBrush(*brush, { 100, 100 });
    EXPECT_TRUE(layer->strokeTo({ 112, 107 }).isNull());
    const Rect drawn = layer->strokeTo({ 112, 108 });
    EXPECT_FALSE(drawn.isNull());
    EXPECT_EQ(layer->dirtyRect(), drawn);
    // The spacing counts from the last recorded point, not the last touch, and backwards too.
    EXPECT_TRUE(layer->strokeTo({ 122, 108 }).isNull());
    EXPECT_FALSE(layer->strokeTo({ 132, 108 }).isNull());
    EXPECT_FALSE(layer->strokeTo({ 112, 108 }).isNull());
    EXPECT_EQ(layer->currentStroke()->getStrokePointsNumber(), 4);
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

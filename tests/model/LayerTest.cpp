#include "Classes/brushes/Brush.h"
#include "Classes/model/Layer.h"
#include "ModelTestSupport.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

std::unique_ptr<Brush> pen(int mirrixMode = 0)
{
    auto brush = Brush::createBrush(13, nullptr);
    brush->setMirrix(mirrixMode, { 100, 100 });
    return brush;
}

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

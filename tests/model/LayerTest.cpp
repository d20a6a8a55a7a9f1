#include "Classes/brushes/Brush.h"
#include "Classes/model/Layer.h"
#include "ModelTestSupport.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

using platform::Point;
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

TEST(LayerStroke, MovesCloserThanTwentyPointsInSumAreDropped)
{
    auto layer = Layer::createWithSize({ 300, 300 });
    auto brush = pen();
    layer->strokeFromWithBrush(*brush, { 100, 100 });
    EXPECT_TRUE(layer->strokeTo({ 112, 107 }).isNull());
    EXPECT_EQ(layer->currentStroke()->getStrokePointsNumber(), 1);
    Rect drawn = layer->strokeTo({ 112, 108 });
    EXPECT_FALSE(drawn.isNull());
    EXPECT_EQ(layer->dirtyRect(), drawn);
    // The spacing counts from the last recorded point, not the last touch, and backwards too.
    EXPECT_TRUE(layer->strokeTo({ 122, 108 }).isNull());
    EXPECT_FALSE(layer->strokeTo({ 132, 108 }).isNull());
    EXPECT_FALSE(layer->strokeTo({ 112, 108 }).isNull());
    EXPECT_EQ(layer->currentStroke()->getStrokePointsNumber(), 4);
}

TEST(LayerStroke, StrokeBegunAndEndedInOnePlaceHoldsTwoPoints)
{
    auto layer = Layer::createWithSize({ 200, 200 });
    auto brush = pen();
    EXPECT_TRUE(layer->strokeEnd({ 50, 50 }).isNull()) << "no stroke to end";
    layer->strokeFromWithBrush(*brush, { 50.7f, 60.2f });
    Rect drawn = layer->strokeEnd({ 50.7f, 60.2f });
    ASSERT_EQ(layer->getStrokeNumber(), 1);
    EXPECT_EQ(layer->currentStroke(), nullptr);
    const auto& points = layer->strokeList()[0]->strokePoints();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1].CGPoint(), (Point { 50, 60 }));
    EXPECT_TRUE(drawn.contains({ 50, 60 }));
}

TEST(LayerStroke, FinishedStrokeReachesTheOffscreenCanvasOnlyWhenItEnds)
{
    auto layer = Layer::createWithSize({ 200, 200 });
    auto brush = pen();
    const auto empty = offScreen(*layer);
    layer->strokeFromWithBrush(*brush, { 20, 20 });
    layer->strokeTo({ 80, 30 });
    layer->strokeTo({ 150, 90 });
    EXPECT_NE(onScreen(*layer), empty);
    EXPECT_EQ(offScreen(*layer), empty);
    layer->strokeEnd({ 160, 160 });
    EXPECT_EQ(offScreen(*layer), onScreen(*layer));
}

TEST(LayerCanvas, SizesAreWholePixelsAndOnlyAShortageOfMemoryIsReported)
{
    auto layer = Layer::createWithSize({ 320.6f, 416.9f });
    EXPECT_EQ(layer->layerContext()->height(), 416);
    EXPECT_EQ(layer->offscreenContext()->bytesPerRow(), 320 * 4);
    for (platform::Size size : { platform::Size { 0, 100 }, platform::Size { 100, 0.5f }, platform::Size { -10, 20 } }) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(createLayerCanvasWithSize(size.width, size.height).has_value());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    testing::internal::CaptureStderr();
    auto huge = Layer::createWithSize({ 1.0e9f, 10 });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Memory not allocated!");
    // Such a layer takes strokes without drawing them.
    EXPECT_FALSE(huge->hasCanvas());
    auto brush = pen();
    huge->strokeFromWithBrush(*brush, { 1, 1 });
    EXPECT_TRUE(huge->strokeTo({ 50, 5 }).isNull());
    EXPECT_TRUE(huge->strokeEnd({ 60, 5 }).isNull());
    EXPECT_FALSE(huge->undo());
    EXPECT_FALSE(huge->getLayerImage().has_value());
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
    EXPECT_FALSE(onScreen(*layer) == before[1]);
    EXPECT_TRUE(offScreen(*layer) == onScreen(*layer));
    ASSERT_TRUE(layer->undo());
    EXPECT_TRUE(onScreen(*layer) == before[1]);
}

TEST(LayerCanvas, LayerImageDrawnBackGivesTheSamePixelsAtTheScreensScale)
{
    platform::ScopedDeviceProfile phone(platform::DeviceProfile::retinaPhone());
    auto layer = Layer::createWithSize({ 160, 120 });
    auto brush = pen();
    layer->strokeFromWithBrush(*brush, { 10, 10 });
    layer->strokeTo({ 60, 20 });
    layer->strokeEnd({ 150, 100 });

    auto image = layer->getLayerImage();
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->scale(), 2);
    EXPECT_EQ(image->pixelWidth(), 160);
    auto copy = Layer::createWithSize({ 160, 120 });
    copy->layerContext()->drawImage(Rect(0, 0, 160, 120), *image);
    EXPECT_TRUE(onScreen(*copy) == onScreen(*layer));

    layer->clear();
    EXPECT_TRUE(onScreen(*layer) == onScreen(*Layer::createWithSize({ 160, 120 })));
    EXPECT_TRUE(offScreen(*layer) == onScreen(*layer));
}

#include "Classes/brushes/Brush.h"
#include "Classes/model/Layer.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using platform::DeviceProfile;
using platform::Rect;
using platform::ScopedDeviceProfile;

namespace {

std::vector<uint8_t> bytesOf(const uint8_t* memory, const Layer& layer)
{
    size_t size = static_cast<size_t>(layer.width()) * static_cast<size_t>(layer.height()) * 4;
    return std::vector<uint8_t>(memory, memory + size);
}

// Six overlapping strokes, each with the on-screen canvas as it stood before it.
std::vector<std::vector<uint8_t>> drawSixStrokes(Layer& layer, Brush& brush)
{
    std::vector<std::vector<uint8_t>> before;
    for (int i = 0; i < 6; ++i) {
        before.push_back(bytesOf(layer.layerBitmapBuffer(), layer));
        float x = 20.0f + i * 15;
        layer.strokeFromWithBrush(brush, { x, 20 });
        layer.strokeTo({ x + 30, 80 });
        layer.strokeTo({ x + 10, 150 });
        layer.strokeEnd({ 100, 180 });
    }
    return before;
}

}

TEST(LayerCanvas, SizesAreTruncatedToWholePixels)
{
    auto layer = Layer::createWithSize({ 320.6f, 416.9f });
    ASSERT_TRUE(layer->hasCanvas());
    EXPECT_EQ(layer->width(), 320.0f);
    EXPECT_EQ(layer->height(), 416.0f);
    for (auto* context : { layer->layerContext(), layer->offscreenContext() }) {
        EXPECT_EQ(context->width(), 320);
        EXPECT_EQ(context->height(), 416);
        EXPECT_EQ(context->bytesPerRow(), 320 * 4);
    }
}

TEST(LayerCanvas, NewCanvasIsTransparent)
{
    auto canvas = createLayerCanvasWithSize(33, 17);
    ASSERT_TRUE(canvas.has_value());
    for (int i = 0; i < 33 * 17 * 4; ++i)
        ASSERT_EQ(canvas->memory[i], 0);
}

TEST(LayerCanvas, UnobtainableMemorySaysSoAndLeavesALayerThatDrawsNothing)
{
    testing::internal::CaptureStderr();
    auto canvas = createLayerCanvasWithSize(1.0e9f, 10);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Memory not allocated!");
    EXPECT_FALSE(canvas.has_value());

    testing::internal::CaptureStderr();
    auto layer = Layer::createWithSize({ 1.0e9f, 10 });
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(layer->hasCanvas());
    EXPECT_EQ(layer->layerContext(), nullptr);
    auto brush = Brush::createBrush(13, nullptr);
    layer->strokeFromWithBrush(*brush, { 1, 1 });
    EXPECT_TRUE(layer->strokeTo({ 50, 5 }).isNull());
    EXPECT_TRUE(layer->strokeEnd({ 60, 5 }).isNull());
    EXPECT_FALSE(layer->undo());
    EXPECT_FALSE(layer->getLayerImage().has_value());
}

TEST(LayerCanvas, EmptySizeGivesNoCanvasWithoutComplaint)
{
    for (platform::Size size : { platform::Size { 0, 100 }, platform::Size { 100, 0.5f }, platform::Size { -10, 20 } }) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(createLayerCanvasWithSize(size.width, size.height).has_value());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
}

TEST(LayerUndo, TakesBackTheLastFiveStrokesExactly)
{
    auto layer = Layer::createWithSize({ 240, 200 });
    auto brush = Brush::createBrush(13, nullptr);
    brush->setMirrix(4, { 120, 100 });
    auto before = drawSixStrokes(*layer, *brush);
    ASSERT_EQ(layer->getStrokeNumber(), 6);
    EXPECT_EQ(layer->undoSnapshotCount(), Layer::maxUndoSnapshots);

    for (int stroke = 6; stroke >= 2; --stroke) {
        ASSERT_TRUE(layer->undo()) << "stroke " << stroke;
        EXPECT_EQ(layer->getStrokeNumber(), stroke - 1);
        EXPECT_TRUE(bytesOf(layer->layerBitmapBuffer(), *layer) == before[stroke - 1]) << "stroke " << stroke;
        EXPECT_TRUE(bytesOf(layer->offscreenBitmapBuffer(), *layer) == before[stroke - 1]) << "stroke " << stroke;
    }
    EXPECT_FALSE(layer->undo());
    EXPECT_EQ(layer->getStrokeNumber(), 1);
    EXPECT_TRUE(bytesOf(layer->layerBitmapBuffer(), *layer) == before[1]);
}

TEST(LayerUndo, CanvasCanBeDrawnOnAfterUndo)
{
    auto layer = Layer::createWithSize({ 200, 200 });
    auto brush = Brush::createBrush(13, nullptr);
    brush->setMirrix(0, { 100, 100 });
    auto empty = bytesOf(layer->layerBitmapBuffer(), *layer);
    layer->strokeFromWithBrush(*brush, { 10, 10 });
    layer->strokeEnd({ 150, 150 });
    ASSERT_TRUE(layer->undo());
    EXPECT_TRUE(bytesOf(layer->layerBitmapBuffer(), *layer) == empty);

    layer->strokeFromWithBrush(*brush, { 10, 150 });
    layer->strokeEnd({ 150, 10 });
    EXPECT_FALSE(bytesOf(layer->layerBitmapBuffer(), *layer) == empty);
    EXPECT_TRUE(bytesOf(layer->offscreenBitmapBuffer(), *layer) == bytesOf(layer->layerBitmapBuffer(), *layer));
    ASSERT_TRUE(layer->undo());
    EXPECT_TRUE(bytesOf(layer->layerBitmapBuffer(), *layer) == empty);
}

TEST(LayerCanvas, LayerImageDrawnBackGivesTheSamePixels)
{
    auto layer = Layer::createWithSize({ 160, 120 });
    auto brush = Brush::createBrush(13, nullptr);
    brush->setMirrix(0, { 80, 60 });
    layer->strokeFromWithBrush(*brush, { 10, 10 });
    layer->strokeTo({ 60, 20 });
    layer->strokeEnd({ 150, 100 });
    auto drawn = bytesOf(layer->layerBitmapBuffer(), *layer);

    auto image = layer->getLayerImage();
    ASSERT_TRUE(image.has_value());
    ASSERT_TRUE(layer->snapShotImage().has_value());
    EXPECT_EQ(layer->snapShotImage()->qimage(), image->qimage());

    auto copy = Layer::createWithSize({ 160, 120 });
    copy->layerContext()->drawImage(Rect(0, 0, 160, 120), *image);
    EXPECT_TRUE(bytesOf(copy->layerBitmapBuffer(), *copy) == drawn);
}

TEST(LayerCanvas, LayerImageHasTheMainScreensScale)
{
    for (const DeviceProfile& profile : { DeviceProfile::retinaPhone(), DeviceProfile::tablet() }) {
        ScopedDeviceProfile device(profile);
        auto layer = Layer::createWithSize({ 320, 436 });
        auto image = layer->getLayerImage();
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->scale(), profile.screenScale);
        EXPECT_EQ(image->pixelWidth(), 320);
        EXPECT_EQ(image->pixelHeight(), 436);
    }
}

TEST(LayerCanvas, ClearEmptiesBothCanvases)
{
    auto layer = Layer::createWithSize({ 100, 100 });
    auto brush = Brush::createBrush(13, nullptr);
    brush->setMirrix(0, { 50, 50 });
    layer->strokeFromWithBrush(*brush, { 10, 10 });
    layer->strokeEnd({ 90, 90 });
    layer->clear();
    auto layerBytes = bytesOf(layer->layerBitmapBuffer(), *layer);
    auto offscreenBytes = bytesOf(layer->offscreenBitmapBuffer(), *layer);
    EXPECT_TRUE(layerBytes == std::vector<uint8_t>(layerBytes.size(), 0));
    EXPECT_TRUE(offscreenBytes == std::vector<uint8_t>(offscreenBytes.size(), 0));
}

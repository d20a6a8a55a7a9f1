#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/ImageContext.h"
#include "support/TestCanvas.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

uint32_t memoryPixel(const std::vector<uint32_t>& memory, int width, int column, int row)
{
    return memory[static_cast<size_t>(row) * width + column];
}

}

TEST(BitmapContext, YGrowsUpwardSoTheFirstMemoryRowIsTheTopContextRow)
{
    std::vector<uint32_t> memory(8 * 6, 0);
    auto context = BitmapContext::create(memory.data(), 8, 6, 8 * 4, PixelLayout::CanvasBGRA);
    ASSERT_TRUE(context);
    context->setShouldAntialias(false);
    context->setFillColor(Color::rgba(1, 0, 0, 1));
    context->fillRect(Rect(2, 0, 1, 1)); // context row 0: the last memory row
    context->setFillColor(Color::rgba(0, 0, 1, 1));
    context->fillRect(Rect(5, 5, 1, 1)); // context row height − 1: the first memory row
    EXPECT_EQ(memoryPixel(memory, 8, 2, 5), 0xffff0000u);
    EXPECT_EQ(memoryPixel(memory, 8, 5, 0), 0xff0000ffu);
    // Bytes in memory are B, G, R, A.
    auto* bytes = reinterpret_cast<const uint8_t*>(&memory[5 * 8 + 2]);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[2], 255);
    EXPECT_EQ(bytes[3], 255);
}

TEST(BitmapContext, VideoLayoutStoresAlphaRedGreenBlueBytes)
{
    std::vector<uint8_t> memory(4 * 2 * 4 + 32, 0);
    {
        // A padded row of 24 bytes for 4 pixels.
        auto context = BitmapContext::create(memory.data(), 4, 2, 24, PixelLayout::VideoARGB);
        ASSERT_TRUE(context);
        context->setFillColor(Color::rgba(1, 0.5f, 0, 1));
        context->fillRect(Rect(0, 0, 4, 2));
    }
    EXPECT_EQ(memory[0], 255);
    EXPECT_EQ(memory[1], 255);
    EXPECT_NEAR(memory[2], 128, 1);
    EXPECT_EQ(memory[3], 0);
    EXPECT_EQ(memory[24], 255); // second row starts after the padding
    EXPECT_EQ(memory[16], 0); // padding untouched
}

TEST(BitmapContext, RejectsMemoryThatCannotHoldTheBitmap)
{
    std::vector<uint32_t> memory(16);
    EXPECT_FALSE(BitmapContext::create(memory.data(), 4, 4, 8, PixelLayout::CanvasBGRA));
    EXPECT_FALSE(BitmapContext::create(memory.data(), 0, 4, 16, PixelLayout::CanvasBGRA));
    EXPECT_FALSE(BitmapContext::create(nullptr, 4, 4, 16, PixelLayout::CanvasBGRA));
}

TEST(BitmapContext, ImageDrawnBackOverTheWholeContextGivesTheSamePixels)
{
    TestCanvas canvas(40, 30);
    auto& context = canvas.context();
    context.setFillColor(Color::rgba(0.2f, 0.6f, 0.9f, 0.7f));
    context.fillEllipseInRect(Rect(3, 4, 20, 11));
    context.setStrokeColor(Color::rgba(1, 0, 0, 1));
    context.setLineWidth(3);
    context.moveToPoint({ 0, 0 });
    context.addLineToPoint({ 39, 29 });
    context.strokePath();
    QImage before = canvas.uprightImage();

    Image snapshot = context.makeImage();
    context.clearRect(Rect(0, 0, 40, 30));
    EXPECT_EQ(canvas.paintedPixelCount(), 0);
    context.drawImage(Rect(0, 0, 40, 30), snapshot);
    EXPECT_EQ(maxChannelDifference(before, canvas.uprightImage()), 0);
}

TEST(GraphicsContext, CopyReplacesAlphaAndClearLeavesTransparency)
{
    TestCanvas canvas(10, 10);
    auto& context = canvas.context();
    context.setShouldAntialias(false);
    context.setFillColor(Color::rgba(1, 1, 1, 1));
    context.fillRect(Rect(0, 0, 10, 10));

    context.setBlendMode(BlendMode::Copy);
    context.setFillColor(Color::rgba(1, 0, 0, 0.5f));
    context.fillRect(Rect(0, 0, 5, 10));
    EXPECT_NEAR(canvas.alpha(2, 2), 128, 1);
    EXPECT_NEAR(static_cast<int>((canvas.pixel(2, 2) >> 16) & 0xff), 128, 1); // premultiplied red
    EXPECT_EQ(canvas.pixel(2, 2) & 0xffff, 0u);

    context.setBlendMode(BlendMode::Clear);
    context.setFillColor(Color::rgba(0, 1, 0, 1));
    context.fillRect(Rect(5, 0, 5, 10));
    EXPECT_EQ(canvas.pixel(7, 7), 0u);
    EXPECT_EQ(canvas.alpha(2, 2), canvas.alpha(3, 3)); // outside the cleared part untouched
}

TEST(GraphicsContext, ConcatenationAppliesTheNewTransformFirst)
{
    // Translate then scale: a point is scaled first, then moved.
    TestCanvas canvas(40, 40);
    auto& context = canvas.context();
    context.setShouldAntialias(false);
    context.translateCTM(10, 0);
    context.scaleCTM(2, 2);
    context.setFillColor(Color::rgba(0, 1, 0, 1));
    context.fillRect(Rect(1, 1, 1, 1)); // → pixels x 12..13, y 2..3
    EXPECT_EQ(canvas.alpha(12, 2), 255);
    EXPECT_EQ(canvas.alpha(13, 3), 255);
    EXPECT_EQ(canvas.alpha(11, 2), 0);
    EXPECT_EQ(canvas.alpha(14, 2), 0);
    EXPECT_EQ(context.getCTM(), AffineTransform::makeTranslation(10, 0).scaled(2, 2));
}

TEST(GraphicsContext, SaveAndRestoreBringBackStateAndClip)
{
    TestCanvas canvas(20, 20);
    auto& context = canvas.context();
    context.setShouldAntialias(false);
    context.saveGState();
    context.clipToRect(Rect(0, 0, 5, 5));
    context.translateCTM(100, 100);
    context.restoreGState();
    context.setFillColor(Color::rgba(0, 0, 1, 1));
    context.fillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(canvas.paintedPixelCount(), 400);

    context.clearRect(Rect(0, 0, 20, 20));
    context.clipToRect(Rect(0, 0, 5, 5));
    context.fillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(canvas.paintedPixelCount(), 25);
}

TEST(GraphicsContext, ShadowGlowsAroundTheShapeAndFadesOut)
{
    TestCanvas canvas(100, 60);
    auto& context = canvas.context();
    context.setShadow({ 0, 0 }, 20, Color::rgba(1, 0, 0, 1));
    context.setStrokeColor(Color::rgba(1, 0, 0, 1));
    context.setLineWidth(8);
    context.setLineCap(LineCap::Round);
    context.moveToPoint({ 30, 30 });
    context.addLineToPoint({ 70, 30 });
    context.strokePath();

    EXPECT_EQ(canvas.alpha(50, 30), 255);
    int near = canvas.alpha(50, 40); // 6 points outside the line
    int far = canvas.alpha(50, 50);
    EXPECT_GT(near, 40);
    EXPECT_GT(near, far);
    EXPECT_GT(far, 0);
    EXPECT_EQ(canvas.alpha(50, 0), 0); // beyond three deviations
    // The glow is the shadow's colour.
    uint32_t glow = canvas.pixel(50, 42);
    EXPECT_GT((glow >> 16) & 0xff, 0u);
    EXPECT_EQ(glow & 0xffff, 0u);
}

TEST(GraphicsContext, ShadowWithoutColourIsOff)
{
    TestCanvas canvas(60, 60);
    auto& context = canvas.context();
    context.setShadow({ 0, 0 }, 10, Color::rgba(0, 0, 1, 1));
    context.setShadow({ 0, 0 }, 10, std::nullopt);
    context.setFillColor(Color::rgba(1, 1, 1, 1));
    context.setShouldAntialias(false);
    context.fillRect(Rect(20, 20, 10, 10));
    EXPECT_EQ(canvas.paintedPixelCount(), 100);
}

TEST(ImageContext, OriginTopLeftAndImagesDrawUprightBothWays)
{
    ImageContext context({ 10, 8 }, false, 2);
    context.setShouldAntialias(false);
    context.setFillColor(Color::rgba(1, 0, 0, 1));
    context.fillRect(Rect(0, 0, 10, 1)); // top band
    Image image = context.image();
    ASSERT_EQ(image.pixelWidth(), 20);
    ASSERT_EQ(image.pixelHeight(), 16);
    EXPECT_EQ(image.size(), (Size { 10, 8 }));
    EXPECT_EQ(qAlpha(image.qimage().pixel(5, 0)), 255);
    EXPECT_EQ(qAlpha(image.qimage().pixel(5, 15)), 0);

    // Top-left drawing keeps it upright in an image context...
    ImageContext upright({ 10, 8 }, false, 1);
    upright.drawImageTopLeft(Rect(0, 0, 10, 8), image);
    EXPECT_EQ(qAlpha(upright.image().qimage().pixel(5, 0)), 255);
    // ...and the y-up convention turns it over there, as it keeps it upright in a bitmap.
    ImageContext flipped({ 10, 8 }, false, 1);
    flipped.drawImage(Rect(0, 0, 10, 8), image);
    EXPECT_EQ(qAlpha(flipped.image().qimage().pixel(5, 7)), 255);
    TestCanvas canvas(10, 8);
    canvas.context().drawImage(Rect(0, 0, 10, 8), image);
    EXPECT_EQ(canvas.uprightImage().pixel(5, 7) >> 24, 255u); // painting y-down: its top band sits at the bottom
}

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/Path.h"
#include "support/TestCanvas.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numbers>

using namespace platform;

// Mirror copies, the context's own transforms, and the rounding of redraw
// rectangles are checked where they are used; here only what those uses leave open.
TEST(Geometry, NullRectsDropOutAndMappedRectsBoxAllFourCorners)
{
    const Rect r(1, 2, 3, 4);
    EXPECT_EQ(Rect::null().united(r), r);
    EXPECT_EQ(r.united(Rect::null()), r);
    EXPECT_EQ(Rect::zero().united(r), Rect(0, 0, 4, 6)); // zero is a real point
    EXPECT_TRUE(AffineTransform::makeScale(2, 2).mapRect(Rect::null()).isNull());
    EXPECT_NEAR(AffineTransform::makeRotation(std::numbers::pi_v<float> / 4).mapRect(Rect(0, 0, 10, 10)).width(), 14.142f, 1e-3);

    Path path;
    EXPECT_TRUE(path.boundingBox().isNull());
    path.moveTo({ 0, 0 });
    path.quadCurveTo({ 50, 100 }, { 100, 0 });
    EXPECT_EQ(path.boundingBox(), Rect(0, 0, 100, 100)); // control point included
}

// Canvas pixels are little-endian words (bytes B, G, R, A), video pixels bytes
// A, R, G, B; rows may be padded.
TEST(BitmapContext, YGrowsUpwardAndLayoutsPlaceTheBytes)
{
    for (PixelLayout layout : { PixelLayout::CanvasBGRA, PixelLayout::VideoARGB }) {
        std::vector<uint8_t> memory(2 * 24, 0); // two rows of 24 bytes for 4 pixels
        {
            auto context = BitmapContext::create(memory.data(), 4, 2, 24, layout);
            ASSERT_TRUE(context);
            context->setShouldAntialias(false);
            context->setFillColor(Color::rgba(1, 0.5f, 0, 1));
            context->fillRect(Rect(0, 0, 1, 1)); // context row 0 is the last memory row
        }
        const int bgra[] = { 0, 128, 255, 255 }, argb[] = { 255, 255, 128, 0 };
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(memory[24 + i], (layout == PixelLayout::CanvasBGRA ? bgra : argb)[i], 1) << i;
        EXPECT_EQ(std::count(memory.begin(), memory.begin() + 24, 0) + std::count(memory.begin() + 28, memory.end(), 0), 44);
    }
    std::vector<uint32_t> memory(16);
    EXPECT_FALSE(BitmapContext::create(memory.data(), 4, 4, 8, PixelLayout::CanvasBGRA)); // rows too short
    EXPECT_FALSE(BitmapContext::create(nullptr, 4, 4, 16, PixelLayout::CanvasBGRA));
}

// Images are stored top row first; drawImage follows the y-up convention, so
// it keeps them upright in a bitmap and turns them over in a y-down context.
TEST(ImageContext, ImagesKeepTheirOrientationThroughEveryContext)
{
    ImageContext context({ 10, 8 }, false, 2);
    context.setShouldAntialias(false);
    context.setFillColor(Color::rgba(1, 0, 0, 1));
    context.fillRect(Rect(0, 0, 10, 1)); // origin top-left: the top band
    Image image = context.image();
    ASSERT_EQ(image.pixelHeight(), 16);
    EXPECT_EQ(qAlpha(image.qimage().pixel(5, 0)), 255);
    EXPECT_EQ(qAlpha(image.qimage().pixel(5, 15)), 0);

    ImageContext yDown({ 20, 8 }, false, 1);
    yDown.drawImageTopLeft(Rect(0, 0, 10, 8), image);
    yDown.drawImage(Rect(10, 0, 10, 8), image);
    EXPECT_EQ(qAlpha(yDown.image().qimage().pixel(5, 0)), 255);
    EXPECT_EQ(qAlpha(yDown.image().qimage().pixel(15, 7)), 255);
    TestCanvas canvas(10, 8);
    canvas.context().drawImage(Rect(0, 0, 10, 8), image);
    EXPECT_EQ(canvas.alpha(5, 7), 255); // y up: row 7 is the top
}

TEST(GraphicsContext, CopyAndClearReplacePixelsAndRestoreDropsTransformAndClip)
{
    TestCanvas canvas(20, 20);
    auto& context = canvas.context();
    context.setShouldAntialias(false);
    context.setFillColor(Color::rgba(1, 1, 1, 1));
    context.fillRect(Rect(0, 0, 20, 20));
    context.saveGState();
    context.translateCTM(10, 0);
    context.scaleCTM(2, 2);
    EXPECT_EQ(context.getCTM(), AffineTransform::makeTranslation(10, 0).scaled(2, 2));
    context.setBlendMode(BlendMode::Copy);
    context.setFillColor(Color::rgba(1, 0, 0, 0.5f));
    context.fillRect(Rect(1, 1, 1, 1)); // scaled first, then moved: x 12..13, y 2..3
    EXPECT_NEAR(canvas.alpha(12, 2), 128, 1);
    EXPECT_NEAR(static_cast<int>((canvas.pixel(13, 3) >> 16) & 0xff), 128, 1); // premultiplied red
    EXPECT_EQ(canvas.pixel(13, 3) & 0xffff, 0u);
    EXPECT_EQ(canvas.alpha(14, 2) + canvas.alpha(11, 3) + canvas.alpha(12, 4), 3 * 255);
    context.clipToRect(Rect(0, 0, 1, 1));
    context.restoreGState();

    context.clipToRect(Rect(0, 0, 5, 5));
    context.setBlendMode(BlendMode::Clear);
    context.fillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(canvas.paintedPixelCount(), 400 - 25);
}

// Rectangles on whole pixels are filled without the path rasteriser; they
// must come out exactly as the same rectangle filled as a path, under every
// state a fill honours, and rectangles off the pixel grid keep their soft edges.
TEST(GraphicsContext, RectanglesFillExactlyAsTheSamePathUnderEveryState)
{
    struct Case {
        const char* name;
        Rect rect;
        float alpha;
        BlendMode mode;
        float scale;
        std::vector<Rect> clips;
    };
    const std::vector<Case> cases {
        { "whole pixels", Rect(2, 3, 9, 7), 1, BlendMode::Normal, 1, {} },
        { "translucent", Rect(2, 3, 9, 7), 0.6f, BlendMode::Normal, 1, {} },
        { "scaled onto whole pixels", Rect(1, 1, 4.5f, 3), 1, BlendMode::Normal, 2, {} },
        { "off the grid", Rect(2.5f, 3.25f, 9, 7), 1, BlendMode::Normal, 1, {} },
        { "copy", Rect(2, 3, 9, 7), 0.5f, BlendMode::Copy, 1, {} },
        { "clear", Rect(0, 0, 20, 16), 1, BlendMode::Clear, 1, { Rect(4, 4, 5, 5) } },
        { "fractional clip", Rect(0, 0, 20, 16), 1, BlendMode::Normal, 1, { Rect(3.5f, 2.5f, 6, 6) } },
        { "clip of parts", Rect(0, 0, 20, 16), 0.8f, BlendMode::Normal, 1, { Rect(1, 1, 3, 3), Rect(10, 8, 5, 4) } },
    };
    for (const Case& c : cases) {
        TestCanvas byRect(20, 16);
        TestCanvas byPath(20, 16);
        for (TestCanvas* canvas : { &byRect, &byPath }) {
            auto& context = canvas->context();
            context.setFillColor(Color::rgba(0, 0, 1, 1));
            context.fillRect(Rect(0, 8, 20, 8)); // something for the blend modes to act on
            context.setFillColor(Color::rgba(1, 0.5f, 0, 0.9f));
            context.setAlpha(c.alpha);
            context.setBlendMode(c.mode);
            context.scaleCTM(c.scale, c.scale);
            if (c.clips.size() == 1)
                context.clipToRect(c.clips.front());
            else if (!c.clips.empty())
                context.clipToRects(c.clips);
            if (canvas == &byRect) {
                context.fillRect(c.rect);
            } else {
                context.beginPath();
                context.addRect(c.rect);
                context.fillPath();
            }
        }
        EXPECT_EQ(maxChannelDifference(byRect, byPath), 0) << c.name;
    }
    TestCanvas soft(20, 16);
    soft.context().setFillColor(Color::rgba(1, 1, 1, 1));
    soft.context().fillRect(Rect(2.5f, 2, 4, 4));
    EXPECT_NEAR(soft.alpha(2, 3), 128, 2);
    EXPECT_EQ(soft.alpha(3, 3), 255);
}

// Pictures of the canvas are drawn flipped, since it is stored bottom-up: at
// their own size on whole pixels each pixel must land unchanged, repaint after
// repaint, with no filtering to round it.
TEST(GraphicsContext, PicturesFlippedOntoWholePixelsKeepEveryPixel)
{
    QImage picture(13, 9, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 13; ++x) {
            const int a = (x * 37 + y * 91) % 256;
            picture.setPixel(x, y, qRgba((x * 53) % (a + 1), (y * 29) % (a + 1), (x * y) % (a + 1), a));
        }
    }
    // A top-left context, as the screen's: drawImage turns the rows over.
    ImageContext screen({ 20, 16 }, false, 1);
    screen.drawImage(Rect(3, 4, 13, 9), Image(picture));
    const QImage shown = screen.image().qimage();
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(shown.pixel(3 + x, 4 + 8 - y), picture.pixel(x, y)) << x << "," << y;
    }
}

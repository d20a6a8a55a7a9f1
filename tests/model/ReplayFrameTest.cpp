#include "Classes/gallery/Utility.h"
#include "Classes/model/Painting.h"
#include "Classes/model/VideoFrameRenderer.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/media/PixelBuffer.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

using platform::AffineTransform;
using platform::Color;
using platform::PixelBuffer;
using platform::Rect;

namespace {

constexpr Color red { 1, 0, 0, 1 };
constexpr Color green { 0, 1, 0, 1 };
constexpr Color blue { 0, 0, 1, 1 };

// A stroke-less painting in replay, so that the test can paint the replay
// canvas directly, in painting coordinates (top-left origin, y down).
struct ReplayingPainting {
    explicit ReplayingPainting(int width, int height)
        : painting({ static_cast<float>(width), static_cast<float>(height) })
    {
        painting.addTransparentLayer();
        painting.setBackgroundColor(Color::rgba(1, 1, 1, 1));
        painting.startPlayback();
    }

    platform::BitmapContext& canvas() { return *painting.playbackLayer()->playbackLayerContext(); }
    const LayerCanvas& layerCanvas() { return *painting.playbackLayer()->playbackCanvas(); }
    void paint(const Rect& r, const Color& color)
    {
        canvas().setFillColor(color);
        canvas().fillRect(r);
    }

    Painting painting;
};

// Frame pixels are stored A, R, G, B; returned as 0xAARRGGBB.
uint32_t framePixel(const PixelBuffer& frame, int x, int y)
{
    const uint8_t* p = frame.row(y) + x * 4;
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

QImage frameImage(const PixelBuffer& frame)
{
    QImage image(frame.width(), frame.height(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            image.setPixel(x, y, framePixel(frame, x, y));
    return image;
}

int maxDifference(const PixelBuffer& a, const PixelBuffer& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 4; ++x)
            worst = std::max(worst, std::abs(int(a.row(y)[x]) - int(b.row(y)[x])));
    return worst;
}

// The export's orientations: quarter turns to the left that keep the picture
// on the frame, as the movie export screen builds them.
AffineTransform turnedLeft(int turns, float& width, float& height)
{
    AffineTransform t;
    for (int i = 0; i < turns; ++i) {
        t = t.concatenated(AffineTransform::makeRotation(std::numbers::pi_v<float> / 2))
                .concatenated(AffineTransform::makeTranslation(height, 0));
        std::swap(width, height);
    }
    return t;
}

constexpr uint32_t opaqueRed = 0xffff0000;
constexpr uint32_t opaqueGreen = 0xff00ff00;
constexpr uint32_t opaqueBlue = 0xff0000ff;
constexpr uint32_t opaqueWhite = 0xffffffff;

}

TEST(ReplayFrame, PictureIsUprightWithTheCropBottomOnTheFrameBottom)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    ReplayingPainting p(48, 40);
    // Crop height 33 aligns down to a 32-row frame: the painting's top row
    // falls off the frame, its row 32 is the frame's bottom row.
    p.painting.setCropRegion(Rect(0, 0, 48, 33));
    ASSERT_EQ(p.painting.cropRect().height(), 32);
    p.paint(Rect(0, 0, 48, 1), green);
    p.paint(Rect(5, 1, 1, 1), red);
    p.paint(Rect(7, 32, 1, 1), blue);
    p.paint(Rect(0, 33, 48, 7), green);

    auto frame = p.painting.createPixelBufferFromCurrentFrameWithVideoSize({ 48, 32 }, AffineTransform::identity());
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->width(), 48);
    ASSERT_EQ(frame->height(), 32);
    EXPECT_EQ(frame->bytesPerRow(), 48 * 4);
    EXPECT_EQ(framePixel(*frame, 5, 0), opaqueRed);
    EXPECT_EQ(framePixel(*frame, 7, 31), opaqueBlue);
    EXPECT_EQ(framePixel(*frame, 6, 0), opaqueWhite);
    for (int x = 0; x < 48; ++x) {
        EXPECT_NE(framePixel(*frame, x, 0), opaqueGreen) << x;
        EXPECT_NE(framePixel(*frame, x, 31), opaqueGreen) << x;
    }
    // The bytes themselves are alpha, red, green, blue.
    const uint8_t* bytes = frame->row(0) + 5 * 4;
    EXPECT_EQ(bytes[0], 255);
    EXPECT_EQ(bytes[1], 255);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 0);
}

TEST(ReplayFrame, UncroppedPaintingFillsTheFrameCornerToCorner)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    ReplayingPainting p(32, 20);
    p.paint(Rect(0, 0, 1, 1), red);
    p.paint(Rect(31, 19, 1, 1), blue);
    auto frame = p.painting.createPixelBufferFromCurrentFrameWithVideoSize({ 32, 20 }, AffineTransform::identity());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(framePixel(*frame, 0, 0), opaqueRed);
    EXPECT_EQ(framePixel(*frame, 31, 19), opaqueBlue);
}

TEST(ReplayFrame, RetinaPhoneFrameIsTwiceThePaintingInPixels)
{
    platform::ScopedDeviceProfile phone(platform::DeviceProfile::retinaPhone());
    ReplayingPainting p(40, 30);
    p.painting.setCropRegion(Rect(0, 0, 40, 30));
    p.paint(Rect(4, 3, 3, 3), red);
    p.paint(Rect(30, 25, 3, 3), blue);

    auto frame = p.painting.createPixelBufferFromCurrentFrameWithVideoSize({ 80, 60 }, AffineTransform::identity());
    ASSERT_NE(frame, nullptr);
    // Each painting pixel covers 2 × 2 frame pixels; the middle of a mark is pure.
    EXPECT_EQ(framePixel(*frame, 10, 8), opaqueRed);
    EXPECT_EQ(framePixel(*frame, 11, 9), opaqueRed);
    EXPECT_EQ(framePixel(*frame, 62, 52), opaqueBlue);
    EXPECT_EQ(framePixel(*frame, 20, 20), opaqueWhite);
    // Outside the marks by a whole painting pixel, nothing bleeds.
    EXPECT_EQ(framePixel(*frame, 5, 8), opaqueWhite);
    EXPECT_EQ(framePixel(*frame, 16, 8), opaqueWhite);
}

TEST(ReplayFrame, QuarterTurnsOfTheExportKeepTheCornersWhereTheTurnTakesThem)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    ReplayingPainting p(32, 16);
    p.paint(Rect(0, 0, 1, 1), red);     // top left
    p.paint(Rect(31, 15, 1, 1), blue);  // bottom right
    float width = 32, height = 16;
    AffineTransform left = turnedLeft(1, width, height);
    auto frame = p.painting.createPixelBufferFromCurrentFrameWithVideoSize({ width, height }, left);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->width(), 16);
    ASSERT_EQ(frame->height(), 32);
    // A left turn brings the top left corner to the bottom left.
    EXPECT_EQ(framePixel(*frame, 0, 31), opaqueRed);
    EXPECT_EQ(framePixel(*frame, 15, 0), opaqueBlue);

    width = 32, height = 16;
    auto upsideDown = p.painting.createPixelBufferFromCurrentFrameWithVideoSize({ 32, 16 }, turnedLeft(2, width, height));
    EXPECT_EQ(framePixel(*upsideDown, 31, 15), opaqueRed);
    EXPECT_EQ(framePixel(*upsideDown, 0, 0), opaqueBlue);
}

TEST(ReplayFrame, ComposedFrameEqualsTheDrawnOne)
{
    struct Case {
        const char* name;
        platform::DeviceProfile device;
        int turns;
    };
    // The raster engine's own blending and resampling (by the turn's float
    // sine and cosine, a hair off the exact quarter turn) round a step or two
    // differently from the composition.
    const Case cases[] = {
        { "tablet", platform::DeviceProfile::tablet(), 0 },
        { "tablet, left", platform::DeviceProfile::tablet(), 1 },
        { "tablet, upside down", platform::DeviceProfile::tablet(), 2 },
        { "tablet, right", platform::DeviceProfile::tablet(), 3 },
        { "retina phone", platform::DeviceProfile::retinaPhone(), 0 },
        { "retina phone, left", platform::DeviceProfile::retinaPhone(), 1 },
    };
    for (const Case& c : cases) {
        platform::ScopedDeviceProfile device(c.device);
        for (bool withImage : { false, true }) {
            ReplayingPainting p(64, 50);
            p.painting.setCropRegion(Rect(0, 0, 64, 50));
            if (withImage) {
                QImage photo(60, 44, QImage::Format_ARGB32_Premultiplied);
                photo.fill(QColor(30, 90, 160));
                QPainter(&photo).fillRect(10, 10, 20, 30, QColor(200, 40, 40));
                p.painting.setBackgroundImage(platform::Image(photo));
            }
            // Translucent and antialiased strokes over a mark.
            p.paint(Rect(3, 4, 20, 9), Color::rgba(0.2f, 0.5f, 0.9f, 0.5f));
            p.canvas().setStrokeColor(Color::rgba(0.9f, 0.3f, 0.1f, 0.8f));
            p.canvas().setLineWidth(7);
            p.canvas().moveToPoint({ 5, 45 });
            p.canvas().addQuadCurveToPoint({ 30, -10 }, { 60, 30 });
            p.canvas().strokePath();

            float width = 64 * getScreenScale();
            float height = AlignTo16(50) * getScreenScale();
            AffineTransform t = turnedLeft(c.turns, width, height);
            auto frame = PixelBuffer::create(static_cast<int>(width), static_cast<int>(height));
            auto drawn = PixelBuffer::create(static_cast<int>(width), static_cast<int>(height));
            VideoFrameRenderer::Geometry geometry { getScreenScale(), 64, 50, 50, t };
            VideoFrameRenderer renderer;
            renderer.render(*frame, geometry, p.painting, &p.layerCanvas());
            VideoFrameRenderer::renderWithContext(*drawn, geometry, p.painting, &p.layerCanvas());
            EXPECT_LE(maxDifference(*frame, *drawn), 2) << c.name << (withImage ? ", photo" : "");

            // Later frames reuse the background and follow the canvas.
            p.paint(Rect(40, 30, 6, 6), green);
            renderer.render(*frame, geometry, p.painting, &p.layerCanvas());
            VideoFrameRenderer::renderWithContext(*drawn, geometry, p.painting, &p.layerCanvas());
            EXPECT_LE(maxDifference(*frame, *drawn), 2) << c.name << ", second frame";
        }
    }
}

TEST(ReplayFrame, OtherTransformsAndPaddedRowsAreDrawnToo)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    ReplayingPainting p(40, 40);
    p.paint(Rect(0, 0, 40, 40), red);
    // Half a turn of 45 degrees about the centre: the general drawing.
    AffineTransform tilt = AffineTransform::makeTranslation(-20, -20)
                               .concatenated(AffineTransform::makeRotation(std::numbers::pi_v<float> / 4))
                               .concatenated(AffineTransform::makeTranslation(20, 20));
    auto frame = p.painting.createPixelBufferFromCurrentFrameWithVideoSize({ 40, 40 }, tilt);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(framePixel(*frame, 20, 20), opaqueRed);
    EXPECT_EQ(framePixel(*frame, 0, 0), 0u);

    // A buffer whose rows are padded, reused from an earlier frame.
    auto padded = PixelBuffer::create(40, 40, 40 * 4 + 64);
    std::memset(padded->data(), 0x5a, padded->byteCount());
    p.painting.drawCurrentFrameToPixelBuffer(*padded, AffineTransform::identity());
    EXPECT_EQ(framePixel(*padded, 0, 0), opaqueRed);
    EXPECT_EQ(framePixel(*padded, 39, 39), opaqueRed);
    p.painting.drawCurrentFrameToPixelBuffer(*padded, tilt);
    EXPECT_EQ(framePixel(*padded, 0, 0), 0u);
}

TEST(ReplayFrame, UnusableSizesGiveNoFrameAndNoReplayGivesTheBackground)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    Painting painting({ 20, 20 });
    painting.addTransparentLayer();
    painting.setBackgroundColor(Color::rgba(0, 0, 1, 1));
    EXPECT_EQ(painting.createPixelBufferFromCurrentFrameWithVideoSize({ 0, 20 }, AffineTransform::identity()), nullptr);
    EXPECT_EQ(painting.createPixelBufferFromCurrentFrameWithVideoSize({ 20, -3 }, AffineTransform::identity()), nullptr);
    EXPECT_EQ(painting.createPixelBufferFromCurrentFrameWithVideoSize({ 1e9f, 20 }, AffineTransform::identity()), nullptr);
    auto frame = painting.createPixelBufferFromCurrentFrameWithVideoSize({ 20.7f, 20.2f }, AffineTransform::identity());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->width(), 20);
    EXPECT_EQ(framePixel(*frame, 10, 10), opaqueBlue);
}

// Set PINTARO_FRAME_PNG to a folder to look at a replay frame of a real stroke.
TEST(ReplayFrame, RealStrokeFrameCanBeWrittenForViewing)
{
    platform::ScopedDeviceProfile phone(platform::DeviceProfile::retinaPhone());
    Painting painting({ 320, 416 });
    painting.addTransparentLayer();
    painting.setCropRegion(Rect(0, 0, 320, 416));
    painting.setBrushColorWithSolidColor(Color::rgba(1, 0.8f, 0, 1));
    painting.switchBrush(17);
    painting.setMirrixMode(0);
    // An "L": down the left side, then along the bottom.
    painting.strokeFrom({ 40, 40 });
    for (float y = 70; y <= 370; y += 30)
        painting.strokeTo({ 40, y });
    for (float x = 70; x <= 280; x += 30)
        painting.strokeTo({ x, 370 });
    painting.strokeEnd({ 280, 370 });
    painting.startPlayback();
    painting.setPlaybackSpeed(1000);
    painting.playback();
    auto frame = painting.createPixelBufferFromCurrentFrameWithVideoSize({ 640, 832 }, AffineTransform::identity());
    ASSERT_NE(frame, nullptr);
    QImage image = frameImage(*frame);
    // The "L" stands upright: its corner is at the bottom left of the frame.
    EXPECT_NE(image.pixel(80, 740), 0xff000000u);
    EXPECT_EQ(image.pixel(560, 80), 0xff000000u);

    // Turned left for a landscape movie, the corner of the "L" goes to the bottom right.
    float width = 640, height = 832;
    auto turned = painting.createPixelBufferFromCurrentFrameWithVideoSize({ 832, 640 }, turnedLeft(1, width, height));
    ASSERT_NE(turned, nullptr);
    QImage turnedImage = frameImage(*turned);
    EXPECT_NE(turnedImage.pixel(740, 560), 0xff000000u);
    EXPECT_EQ(turnedImage.pixel(80, 80), 0xff000000u);
    if (const char* folder = std::getenv("PINTARO_FRAME_PNG")) {
        image.save(QString::fromUtf8(folder) + "/replay-frame.png");
        turnedImage.save(QString::fromUtf8(folder) + "/replay-frame-left.png");
    }
}

#include "Classes/gallery/Utility.h"
#include "Classes/model/Painting.h"
#include "Classes/model/VideoFrameRenderer.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/media/PixelBuffer.h"
#include "platform/system/Device.h"

#include <QImage>
#include <QPainter>
#include <cstring>
#include <gtest/gtest.h>
#include <numbers>

using platform::AffineTransform;
using platform::Color;
using platform::DeviceProfile;
using platform::PixelBuffer;
using platform::Rect;
using platform::ScopedDeviceProfile;

namespace {

// A stroke-less painting in replay, so that the test can paint the replay
// canvas directly, in painting coordinates (top-left origin, y down).
struct ReplayingPainting {
    ReplayingPainting(int width, int height)
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
    std::unique_ptr<PixelBuffer> frame(platform::Size size)
    {
        return painting.createPixelBufferFromCurrentFrameWithVideoSize(size, AffineTransform::identity());
    }

    Painting painting;
};

// Frame pixels are stored A, R, G, B; returned as 0xAARRGGBB.
uint32_t framePixel(const PixelBuffer& frame, int x, int y)
{
    const uint8_t* p = frame.row(y) + x * 4;
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

int maxDifference(const PixelBuffer& a, const PixelBuffer& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 4; ++x)
            worst = std::max(worst, std::abs(int(a.row(y)[x]) - int(b.row(y)[x])));
    return worst;
}

// Quarter turns to the left that keep the picture on the frame, as the movie
// export builds them; the frame's sides are swapped to match.
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

constexpr Color red { 1, 0, 0, 1 };
constexpr Color blue { 0, 0, 1, 1 };
constexpr uint32_t opaqueRed = 0xffff0000;
constexpr uint32_t opaqueWhite = 0xffffffff;

}

TEST(ReplayFrame, PictureIsUprightWithTheCropBottomOnTheFrameBottom)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    ReplayingPainting p(48, 40);
    // Crop height 33 aligns down to a 32-row frame: the painting's top row
    // falls off the frame, its row 32 is the frame's bottom row.
    p.painting.setCropRegion(Rect(0, 0, 48, 33));
    p.paint(Rect(5, 1, 1, 1), red);
    p.paint(Rect(7, 32, 1, 1), blue);
    auto frame = p.frame({ 48.7f, 32.2f });
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->height(), 32);
    EXPECT_EQ(frame->bytesPerRow(), 48 * 4);
    EXPECT_EQ(framePixel(*frame, 5, 0), opaqueRed);
    EXPECT_EQ(framePixel(*frame, 7, 31), 0xff0000ffu);
    EXPECT_EQ(framePixel(*frame, 6, 0), opaqueWhite);
    EXPECT_EQ(p.frame({ 0, 20 }), nullptr);
    EXPECT_EQ(p.frame({ 1e9f, 20 }), nullptr);
    // Out of replay the frame is the background alone.
    p.painting.stopPlayback();
    EXPECT_EQ(framePixel(*p.frame({ 48, 32 }), 5, 0), opaqueWhite);

    // On a scale-2 screen each painting pixel covers 2 × 2 frame pixels, without bleeding.
    ScopedDeviceProfile phone(DeviceProfile::retinaPhone());
    ReplayingPainting retina(40, 30);
    retina.paint(Rect(4, 3, 3, 3), red);
    frame = retina.frame({ 80, 60 });
    EXPECT_TRUE(framePixel(*frame, 10, 8) == opaqueRed && framePixel(*frame, 11, 9) == opaqueRed);
    EXPECT_TRUE(framePixel(*frame, 5, 8) == opaqueWhite && framePixel(*frame, 16, 8) == opaqueWhite);
}

TEST(ReplayFrame, ComposedFrameEqualsTheDrawnOne)
{
    // The raster engine's own blending and resampling (by the turn's float
    // sine and cosine, a hair off the exact quarter turn) round a step or two
    // differently from the composition.
    for (auto [device, turns] : { std::pair { DeviceProfile::tablet(), 0 }, { DeviceProfile::tablet(), 1 },
             { DeviceProfile::tablet(), 2 }, { DeviceProfile::tablet(), 3 }, { DeviceProfile::retinaPhone(), 0 },
             { DeviceProfile::retinaPhone(), 1 } }) {
        ScopedDeviceProfile scoped(device);
        for (bool withImage : { false, true }) {
            SCOPED_TRACE(testing::Message() << device.name << ", turns " << turns << (withImage ? ", photo" : ""));
            ReplayingPainting p(64, 50);
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
            AffineTransform t = turnedLeft(turns, width, height);
            const int w = static_cast<int>(width), h = static_cast<int>(height);
            // Rows padded and full of an earlier frame's bytes, as a reused buffer may be.
            auto frame = PixelBuffer::create(w, h, w * 4 + 64);
            std::memset(frame->data(), 0x5a, frame->byteCount());
            auto drawn = PixelBuffer::create(w, h);
            VideoFrameRenderer::Geometry geometry { getScreenScale(), 64, 50, 50, t };
            VideoFrameRenderer renderer;
            // Later frames reuse the background and follow the canvas.
            for (const char* which : { "first frame", "second frame" }) {
                renderer.render(*frame, geometry, p.painting, &p.layerCanvas());
                VideoFrameRenderer::renderWithContext(*drawn, geometry, p.painting, &p.layerCanvas());
                EXPECT_LE(maxDifference(*frame, *drawn), 2) << which;
                p.paint(Rect(40, 30, 6, 6), Color::rgba(0, 1, 0, 1));
            }
        }
    }
}

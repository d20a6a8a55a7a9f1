#include "Classes/brushes/RubberBrush.h"
#include "Classes/model/Stroke.h"
#include "NeonTestHelpers.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

using namespace neontest;
using platform::Color;
using platform::DeviceProfile;
using platform::Point;
using platform::Rect;
using platform::ScopedDeviceProfile;

namespace {

void paintBackgroundStroke(TestCanvas& canvas)
{
    auto& g = canvas.context();
    g.setFillColor(Color::rgba(0.9f, 0.5f, 0.1f, 1));
    g.fillRect(Rect(0, 0, canvas.width(), canvas.height()));
}

}

TEST(RubberBrush, SizeIsClampedAndColourNeverTurnsRandom)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    RubberBrush rubber;
    EXPECT_EQ(rubber.name(), "RubberBrush");
    EXPECT_EQ(rubber.brushData().size, 20.0f);
    EXPECT_FALSE(rubber.isRandomColor());
    rubber.setSize(10);
    EXPECT_EQ(rubber.brushData().size, 16.0f);
    rubber.setSize(250);
    EXPECT_EQ(rubber.brushData().size, 100.0f);
    rubber.setColor(Color::rgba(1, 0, 0));
    EXPECT_FALSE(rubber.isRandomColor());
    EXPECT_EQ(rubber.getBrushMetaPackLength(), 0);

    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    EXPECT_EQ(RubberBrush().brushData().size, 30.0f);
}

TEST(RubberBrush, ClearsToTransparentWhereItPassesAndNowhereElse)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    TestCanvas canvas(200, 120);
    paintBackgroundStroke(canvas);
    auto rubber = makeBrush(23, 0, canvas);
    // Even a colour set on the eraser does not paint: clear ignores it.
    rubber->setColor(Color::rgba(0, 1, 0));
    const Point points[] = { { 20, 60 }, { 60, 60 }, { 100, 60 }, { 140, 60 }, { 180, 60 } };
    auto stroke = drawLiveStroke(*rubber, canvas, points);

    for (int x = 25; x <= 175; x += 10) {
        EXPECT_EQ(canvas.pixel(x, 60), 0u) << x;
        EXPECT_EQ(canvas.pixel(x, 60 + 13), 0u) << x;
    }
    EXPECT_EQ(canvas.alpha(100, 60 + 17), 255);
    EXPECT_EQ(canvas.alpha(100, 20), 255);
    // Round caps: the line reaches a half width past its ends.
    EXPECT_EQ(canvas.alpha(8, 60), 0);
    EXPECT_EQ(canvas.alpha(2, 60), 255);
    // Every changed pixel lies inside the reported rectangle.
    Rect dirty = stroke->dirtyRect();
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.alpha(x, y) != 255) {
                EXPECT_TRUE(dirty.contains({ x + 0.5f, y + 0.5f })) << x << "," << y;
            }
        }
    }
}

TEST(RubberBrush, ErasesEveryMirrorCopy)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    TestCanvas canvas(200, 200);
    paintBackgroundStroke(canvas);
    auto rubber = makeBrush(23, 4, canvas);
    const Point points[] = { { 30, 40 }, { 60, 45 }, { 80, 50 } };
    drawLiveStroke(*rubber, canvas, points);
    // Four rotations and their mirrors: the segment near (45, 42) shows up in every quadrant.
    EXPECT_EQ(canvas.alpha(45, 42), 0);
    EXPECT_EQ(canvas.alpha(200 - 45, 42), 0);
    EXPECT_EQ(canvas.alpha(45, 200 - 42), 0);
    EXPECT_EQ(canvas.alpha(200 - 45, 200 - 42), 0);
    EXPECT_EQ(canvas.alpha(100, 100), 255);
}

TEST(RubberBrush, ReplayErasesTheSameRegionWithTheFirstRecordsWidth)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    for (int mode : { 0, 1, 9 }) {
        TestCanvas live(240, 240);
        paintBackgroundStroke(live);
        auto rubber = makeBrush(23, mode, live);
        rubber->setSize(34);
        auto stroke = drawLiveStroke(*rubber, live, wavyPoints({ 30, 70 }, 9, 22));
        // Changing the brush afterwards does not matter: replay uses the records.
        rubber->setSize(16);

        TestCanvas replay(240, 240);
        paintBackgroundStroke(replay);
        ASSERT_TRUE(replayStroke(*stroke, replay));
        EXPECT_EQ(maxChannelDifference(live, replay), 0) << mode;
        EXPECT_LT(replay.paintedPixelCount(), 240 * 240 - 3000) << mode;
    }
}

TEST(RubberBrush, GoldenStrokes)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    for (int mode : { 0, 4 }) {
        TestCanvas canvas(240, 180);
        paintBackgroundStroke(canvas);
        auto rubber = makeBrush(23, mode, canvas);
        drawLiveStroke(*rubber, canvas, wavyPoints({ 40, 60 }, 8, 18));
        EXPECT_EQ(compareWithGolden(canvas.uprightImage(), "RubberBrush_mode" + std::to_string(mode), 2), "");
    }
}

#include "Classes/brushes/ShapeBrush.h"
#include "Classes/model/Stroke.h"
#include "platform/system/Device.h"
#include "support/TestCanvas.h"
#include "tests/brushes/RecordedStrokeHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using platform::DeviceProfile;
using platform::Point;
using platform::ScopedDeviceProfile;

namespace {

// Touch points round a circle, `turns` times.
std::vector<Point> loopPoints(Point centre, float radius, float turns, int count)
{
    std::vector<Point> points;
    for (int i = 0; i <= count; ++i) {
        double angle = 2 * std::numbers::pi * turns * i / count;
        points.push_back({ static_cast<float>(centre.x + radius * std::cos(angle)),
            static_cast<float>(centre.y + radius * std::sin(angle)) });
    }
    return points;
}

std::unique_ptr<ShapeBrush> shapeBrush(const TestCanvas& canvas, int mode = 0)
{
    auto brush = std::make_unique<ShapeBrush>();
    brush->setMirrix(mode, { canvas.width() / 2.0f, canvas.height() / 2.0f });
    return brush;
}

}

TEST(ShapeBrush, StartsWithTheDevicesSizesAndAnAlmostOpaqueRandomColour)
{
    {
        ScopedDeviceProfile phone(DeviceProfile::phone());
        ShapeBrush brush;
        EXPECT_FLOAT_EQ(brush.brushData().size, 3.5f);
        EXPECT_FLOAT_EQ(brush.maxSize(), 7.0f);
    }
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    ShapeBrush brush;
    EXPECT_FLOAT_EQ(brush.brushData().size, 5.0f);
    EXPECT_FLOAT_EQ(brush.maxSize(), 12.0f);
    EXPECT_FLOAT_EQ(brush.minSize(), 2.0f);
    EXPECT_TRUE(brush.mMustRedrawWholeStrokePath());
    EXPECT_EQ(brush.name(), "ShapeBrush");
    for (int i = 0; i < 50; ++i) {
        brush.prepareBrush();
        ASSERT_GE(brush.brushData().alpha, 237);
    }
}

TEST(ShapeBrush, AClosedLoopFillsItsInside)
{
    TestCanvas canvas(200, 200);
    auto brush = shapeBrush(canvas);
    brush->setColor(platform::Color::rgba(1, 0, 0, 1));
    auto stroke = drawLiveStroke(*brush, canvas, loopPoints({ 100, 100 }, 60, 1, 16));
    EXPECT_EQ(canvas.pixel(100, 100), 0xffff0000u);
    EXPECT_EQ(canvas.pixel(100, 150), 0xffff0000u);
    EXPECT_EQ(canvas.alpha(100, 170), 0);
    EXPECT_EQ(canvas.alpha(20, 100), 0);
    // The stroke's changed area covers the whole shape.
    EXPECT_TRUE(stroke->dirtyRect().contains({ 41, 41 }));
    EXPECT_TRUE(stroke->dirtyRect().contains({ 159, 159 }));
}

TEST(ShapeBrush, AnOpenStrokeFillsUpToTheLineBackToItsStart)
{
    // A V: the fill is the triangle closed by the line from the last point to the first.
    TestCanvas canvas(300, 200);
    auto brush = shapeBrush(canvas);
    brush->setColor(platform::Color::rgba(0, 0, 1, 1));
    std::vector<Point> points { { 50, 40 }, { 90, 90 }, { 150, 160 }, { 210, 90 }, { 250, 40 } };
    drawLiveStroke(*brush, canvas, points);
    EXPECT_EQ(canvas.pixel(150, 60), 0xff0000ffu); // inside the V
    EXPECT_EQ(canvas.pixel(150, 42), 0xff0000ffu); // just under the closing line
    EXPECT_EQ(canvas.alpha(150, 30), 0); // above the closing line
    EXPECT_EQ(canvas.alpha(150, 175), 0); // below the point of the V
}

TEST(ShapeBrush, ALoopDrawnTwiceRoundIsFilledSolidlyAtItsCentre)
{
    TestCanvas canvas(200, 200);
    ShapeBrush brush;
    brush.setColor(platform::Color::rgba(0, 1, 0, 1));
    // The whole path at once, as the last step of such a stroke fills it.
    auto points = loopPoints({ 100, 100 }, 60, 2, 32);
    platform::Path path;
    path.moveTo(points.front());
    for (size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    brush.drawStroke(canvas.context(), path);
    // Wound twice round, the middle is inside under the non-zero rule.
    EXPECT_EQ(canvas.pixel(100, 100), 0xff00ff00u);
}

TEST(ShapeBrush, ReplayDrawsWhatWasDrawnLiveInEveryMirrorMode)
{
    for (int mode : { 0, 1, 4, 9 }) {
        SCOPED_TRACE(mode);
        TestCanvas live(300, 300);
        auto brush = shapeBrush(live, mode);
        auto stroke = drawLiveStroke(*brush, live, loopPoints({ 110, 120 }, 50, 0.8f, 12));
        TestCanvas replay(300, 300);
        ASSERT_TRUE(replayStroke(*stroke, replay));
        EXPECT_GT(live.paintedPixelCount(), 5000);
        EXPECT_EQ(maxChannelDifference(live, replay), 0);
    }
}

TEST(ShapeBrushGolden, FixedRecordsDrawTheirReferencePictures)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    auto open = recorded::strokeOf(recorded::record(16, 5, 250, 200, 30, 240, 0),
        wavyPoints({ 30, 100 }, 10, 25));
    TestCanvas canvas(300, 240);
    ASSERT_TRUE(replayStroke(*open, canvas));
    auto loop = recorded::strokeOf(recorded::record(16, 5, 60, 120, 250, 250, 0, 4),
        loopPoints({ 100, 80 }, 40, 1, 12));
    ASSERT_TRUE(replayStroke(*loop, canvas));
    EXPECT_EQ(compareWithGolden(recorded::onBackground(canvas, Qt::black), "ShapeBrush_open_and_mirrored_loop", 3), "");
}

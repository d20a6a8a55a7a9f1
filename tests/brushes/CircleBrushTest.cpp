#include "Classes/brushes/CircleChasisBrush.h"
#include "Classes/brushes/CircleFlowerBrush.h"
#include "Classes/model/Stroke.h"
#include "platform/system/Device.h"
#include "support/TestCanvas.h"
#include "tests/brushes/RecordedStrokeHelpers.h"

#include <gtest/gtest.h>

using platform::DeviceProfile;
using platform::Point;
using platform::Rect;
using platform::ScopedDeviceProfile;

TEST(CircleBrushes, StartWithTheDevicesSizesAndAtLeast200Alpha)
{
    {
        ScopedDeviceProfile phone(DeviceProfile::phone());
        EXPECT_FLOAT_EQ(CircleChasisBrush().brushData().size, 1.0f);
        EXPECT_FLOAT_EQ(CircleFlowerBrush().maxSize(), 1.0f);
    }
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    CircleChasisBrush chassis;
    EXPECT_FLOAT_EQ(chassis.brushData().size, 2.0f);
    EXPECT_FLOAT_EQ(chassis.maxSize(), 3.0f);
    EXPECT_EQ(chassis.name(), "CircleChasisBrush");
    CircleFlowerBrush flower;
    EXPECT_FLOAT_EQ(flower.brushData().size, 1.0f);
    EXPECT_FLOAT_EQ(flower.maxSize(), 3.0f);
    EXPECT_EQ(flower.name(), "CircleFlowerBrush");
    for (int i = 0; i < 50; ++i) {
        chassis.prepareBrush();
        flower.prepareBrush();
        ASSERT_GE(chassis.brushData().alpha, 200);
        ASSERT_GE(flower.brushData().alpha, 200);
    }
}

TEST(CircleChasisBrush, FillsACircleSpanningTwoTouchPoints)
{
    TestCanvas canvas(200, 200);
    CircleChasisBrush brush;
    brush.setColor(platform::Color::rgba(1, 1, 0, 1));
    brush.strokeFrom(canvas.context(), { 50, 100 });
    Rect r = brush.strokeTo(canvas.context(), { 90, 100 });
    // Diameter 40 about (70, 100), widened by 4.
    EXPECT_EQ(r, Rect(46, 76, 48, 48));
    EXPECT_EQ(canvas.pixel(70, 100), 0xffffff00u);
    EXPECT_EQ(canvas.pixel(70, 82), 0xffffff00u);
    EXPECT_EQ(canvas.pixel(52, 100), 0xffffff00u);
    EXPECT_EQ(canvas.alpha(70, 77), 0);
    EXPECT_EQ(canvas.alpha(48, 100), 0);
}

TEST(CircleFlowerBrush, CentresItsCirclesOnTheGridOfTheDevice)
{
    {
        ScopedDeviceProfile tablet(DeviceProfile::tablet());
        EXPECT_EQ(CircleFlowerBrush::gridCentre({ 130, 260 }), (Point { 150, 250 }));
        EXPECT_EQ(CircleFlowerBrush::gridCentre({ 0, 99.5f }), (Point { 50, 50 }));
    }
    ScopedDeviceProfile phone(DeviceProfile::phone());
    EXPECT_EQ(CircleFlowerBrush::gridCentre({ 130, 260 }), (Point { 120, 280 }));
}

TEST(CircleFlowerBrush, ItsLargestCircleHasTwiceTheStepAsRadius)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    TestCanvas canvas(300, 300);
    CircleFlowerBrush brush;
    brush.setColor(platform::Color::rgba(1, 1, 1, 1));
    for (int seed = 1; seed <= 20; ++seed) {
        brush.prepareBrush();
        brush.strokeFrom(canvas.context(), { 130, 250 });
        Rect r = brush.strokeTo(canvas.context(), { 130, 260 });
        // Step 10, so radius 20 about (150, 250), widened by 4.
        EXPECT_EQ(r, Rect(126, 226, 48, 48));
    }
    EXPECT_GT(canvas.alpha(170, 250), 0);
    EXPECT_EQ(canvas.alpha(150, 250), 0);
}

TEST(CircleFlowerBrush, DrawsNothingForFastStepsOnAHighResolutionPhone)
{
    ScopedDeviceProfile retina(DeviceProfile::retinaPhone());
    TestCanvas canvas(300, 300);
    CircleFlowerBrush brush;
    brush.prepareBrush();
    brush.strokeFrom(canvas.context(), { 100, 100 });
    EXPECT_TRUE(brush.strokeTo(canvas.context(), { 136, 100 }).isNull()); // circles of radius 72
    EXPECT_EQ(canvas.paintedPixelCount(), 0);
    EXPECT_FALSE(brush.strokeTo(canvas.context(), { 150, 100 }).isNull()); // radius 28
}

TEST(CircleBrushes, ReplayDrawsWhatWasDrawnLive)
{
    for (int type : { 32, 33 }) {
        for (int mode : { 0, 4 }) {
            SCOPED_TRACE(testing::Message() << "type " << type << " mode " << mode);
            TestCanvas live(400, 300);
            auto brush = Brush::createBrush(type, nullptr);
            brush->setMirrix(mode, { 200, 150 });
            auto stroke = drawLiveStroke(*brush, live, wavyPoints({ 20, 150 }, 16, 22));
            TestCanvas replay(400, 300);
            ASSERT_TRUE(replayStroke(*stroke, replay));
            EXPECT_GT(live.paintedPixelCount(), 300);
            EXPECT_EQ(maxChannelDifference(live, replay), 0);
        }
    }
}

TEST(CircleBrushGolden, FixedRecordsDrawTheirReferencePictures)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    const auto points = wavyPoints({ 20, 110 }, 14, 20);
    TestCanvas chassis(300, 220);
    ASSERT_TRUE(replayStroke(*recorded::strokeOf(recorded::record(32, 2, 40, 220, 200, 210, 5), points), chassis));
    EXPECT_EQ(compareWithGolden(recorded::onBackground(chassis, Qt::black), "CircleChasisBrush_wave", 3), "");
    TestCanvas flower(300, 220);
    ASSERT_TRUE(replayStroke(*recorded::strokeOf(recorded::record(33, 1, 250, 120, 220, 255, 5), points), flower));
    EXPECT_EQ(compareWithGolden(recorded::onBackground(flower, Qt::black), "CircleFlowerBrush_wave", 3), "");
}

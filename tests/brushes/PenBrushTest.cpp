#include "Classes/brushes/Brush.h"
#include "Classes/brushes/Mirrix.h"
#include "Classes/brushes/PenBrush.h"
#include "Classes/model/Stroke.h"
#include "platform/system/Device.h"
#include "support/TestCanvas.h"

#include <gtest/gtest.h>

using platform::DeviceProfile;
using platform::Point;
using platform::Rect;
using platform::ScopedDeviceProfile;

TEST(BrushFactory, TypesWithoutAClassGiveNoBrush)
{
    for (int type : { 0, 10, 12, 25, 49, -1, 256 })
        EXPECT_FALSE(Brush::createBrush(type, nullptr)) << type;
    auto pen = Brush::createBrush(13, nullptr);
    ASSERT_TRUE(pen);
    EXPECT_EQ(pen->name(), "PenBrush");
    EXPECT_EQ(pen->type(), 13);
    EXPECT_EQ(pen->brushData().type, 13u);
    EXPECT_EQ(pen->renderType(), 48);
}

TEST(PenBrush, SizesFollowTheDeviceAndClamp)
{
    {
        ScopedDeviceProfile phone(DeviceProfile::phone());
        PenBrush pen;
        EXPECT_FLOAT_EQ(pen.brushData().size, 3.5f);
        EXPECT_TRUE(pen.isRandomColor());
        pen.setSize(100);
        EXPECT_FLOAT_EQ(pen.brushData().size, 7.0f);
        EXPECT_FALSE(pen.isRandomColor()); // a size switches random colour off
        pen.setSize(1);
        EXPECT_FLOAT_EQ(pen.brushData().size, 3.0f);
        EXPECT_FLOAT_EQ(pen.clampSize(std::nanf("")), 7.0f);
    }
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    PenBrush pen;
    EXPECT_FLOAT_EQ(pen.brushData().size, 6.0f);
    EXPECT_FLOAT_EQ(pen.maxSize(), 12.0f);
}

TEST(PenBrush, SolidColourTruncatesComponentsAndSetsFullAlpha)
{
    PenBrush pen;
    pen.setColor(platform::Color::rgba(0.5f, 1.0f, 0.999f, 0.2f));
    EXPECT_EQ(pen.brushData().red, 127);
    EXPECT_EQ(pen.brushData().green, 255);
    EXPECT_EQ(pen.brushData().blue, 254);
    EXPECT_EQ(pen.brushData().alpha, 255);
    EXPECT_EQ(pen.mode(), Brush::modeSolidColor);
    pen.setMode(Brush::modeRandomColor);
    EXPECT_TRUE(pen.isRandomColor());
}

TEST(PenBrush, DegenerateStrokeDirtyRectAndClampAtTheTopLeft)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    TestCanvas canvas(100, 100);
    PenBrush pen;
    pen.setMirrix(0, { 50, 50 });
    float size = pen.brushData().size;
    pen.strokeFrom(canvas.context(), { 40, 30 });
    Rect r = pen.strokeEnd(canvas.context(), { 40, 30 });
    int x0 = static_cast<int>(40 - (size + 1));
    EXPECT_EQ(r, Rect(x0, static_cast<int>(30 - (size + 1)), static_cast<int>(40 + size + 1) - x0,
                     static_cast<int>(30 + size + 1) - static_cast<int>(30 - (size + 1))));
    EXPECT_GT(canvas.alpha(40, 30), 0); // a round cap leaves a dot

    pen.strokeFrom(canvas.context(), { 2, 3 });
    Rect edge = pen.strokeEnd(canvas.context(), { 2, 3 });
    EXPECT_EQ(edge.x(), 0);
    EXPECT_EQ(edge.y(), 0);
    EXPECT_EQ(edge.width(), static_cast<int>(2 + size + 1));
    EXPECT_EQ(edge.height(), static_cast<int>(3 + size + 1));
}

TEST(PenBrush, SegmentsRunThroughMidpointsWithTouchPointsAsControls)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    TestCanvas canvas(200, 100);
    PenBrush pen;
    pen.setMirrix(0, { 100, 50 });
    pen.strokeFrom(canvas.context(), { 10, 50 });
    Rect first = pen.strokeTo(canvas.context(), { 90, 50 });
    // The first segment ends at the midpoint (50, 50), not at the touch.
    float margin = pen.brushData().size + 1;
    EXPECT_EQ(first.x() + first.width(), static_cast<int>(50 + margin));
    EXPECT_GT(canvas.alpha(45, 50), 0);
    EXPECT_EQ(canvas.alpha(70, 50), 0);
    pen.strokeEnd(canvas.context(), { 190, 50 });
    EXPECT_GT(canvas.alpha(70, 50), 0);
}

TEST(PenBrush, MirrorCopiesLandWhereTheTransformsSay)
{
    ScopedDeviceProfile phone(DeviceProfile::phone());
    TestCanvas canvas(320, 480);
    PenBrush pen;
    pen.setMirrix(1, { 160, 240 });
    pen.strokeFrom(canvas.context(), { 100, 100 });
    Rect r = pen.strokeEnd(canvas.context(), { 100, 140 });
    EXPECT_GT(canvas.alpha(100, 120), 0);
    EXPECT_GT(canvas.alpha(220, 120), 0); // reflected across x = 160
    EXPECT_EQ(canvas.alpha(160, 120), 0);
    EXPECT_LE(r.x(), 100 - 3);
    EXPECT_GE(r.maxX(), 220 + 3);

    TestCanvas vertical(320, 480);
    PenBrush other;
    other.setMirrix(2, { 160, 240 });
    other.strokeFrom(vertical.context(), { 50, 100 });
    other.strokeEnd(vertical.context(), { 90, 100 });
    EXPECT_GT(vertical.alpha(70, 100), 0);
    EXPECT_GT(vertical.alpha(70, 380), 0);
}

TEST(PenBrush, EveryCopyOfAModeIsDrawnAndTheirRectanglesJoined)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    TestCanvas canvas(400, 400);
    PenBrush pen;
    pen.setMirrix(4, { 200, 200 });
    pen.strokeFrom(canvas.context(), { 300, 200 });
    Rect r = pen.strokeEnd(canvas.context(), { 300, 200 });
    // A dot at (300, 200) lands on the four points 100 away from the centre on each axis.
    for (Point p : { Point { 300, 200 }, Point { 200, 300 }, Point { 100, 200 }, Point { 200, 100 } })
        EXPECT_GT(canvas.alpha(static_cast<int>(p.x), static_cast<int>(p.y)), 0) << p.x << "," << p.y;
    EXPECT_LE(r.x(), 100 - 6);
    EXPECT_LE(r.y(), 100 - 6);
    EXPECT_GE(r.maxX(), 300 + 6);
    EXPECT_GE(r.maxY(), 300 + 6);
}

TEST(PenBrush, WidthsWanderWithinBoundsAndReplayRedrawsTheSamePixels)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    TestCanvas live(300, 200);
    PenBrush pen;
    pen.setMirrix(9, { 150, 100 });
    auto points = wavyPoints({ 20, 100 }, 14, 20);
    auto stroke = drawLiveStroke(pen, live, points);
    float smallest = 100, largest = 0;
    for (const StrokePoint& point : stroke->strokePoints()) {
        smallest = std::min(smallest, point.brushData().size);
        largest = std::max(largest, point.brushData().size);
    }
    EXPECT_GE(smallest, 6.0f);
    EXPECT_LE(largest, 12.0f);
    EXPECT_GT(largest, smallest); // widths do vary
    EXPECT_EQ(stroke->strokePoints()[0].brushData().alpha, 1); // random colour marks its alpha byte

    TestCanvas replayed(300, 200);
    ASSERT_TRUE(replayStroke(*stroke, replayed));
    EXPECT_EQ(maxChannelDifference(live, replayed), 0);
    // Replaying from the packed bytes gives the same picture too.
    Stroke fromBytes;
    ASSERT_TRUE(fromBytes.unpackStrokePoints(stroke->packStrokePoints(), stroke->getStrokePointsNumber()));
    TestCanvas again(300, 200);
    ASSERT_TRUE(replayStroke(fromBytes, again));
    EXPECT_EQ(maxChannelDifference(live, again), 0);
}

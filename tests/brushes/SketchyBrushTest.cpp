#include "Classes/brushes/SketchyBrush.h"
#include "Classes/model/Stroke.h"
#include "platform/system/Device.h"
#include "support/TestCanvas.h"
#include "tests/brushes/RecordedStrokeHelpers.h"

#include <gtest/gtest.h>

using platform::DeviceProfile;
using platform::Point;
using platform::ScopedDeviceProfile;

namespace {

// The sketchy brush without its hatching, to see what the hatching adds.
class CoreOnlySketchyBrush final : public SketchyBrush {
public:
    void drawSideStrokes(platform::GraphicsContext&, Point) override { }
};

// A zigzag whose successive points are `step` apart, and points two apart twice as far.
std::vector<Point> zigzag(float step, int count)
{
    const float leg = step / std::sqrt(2.0f);
    std::vector<Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({ 20 + i * leg, 100 + ((i % 2) ? leg / 2 : -leg / 2) });
    return points;
}

template <typename B>
TestCanvas drawn(const std::vector<Point>& points)
{
    TestCanvas canvas(400, 200);
    B brush;
    brush.setColor(platform::Color::rgba(1, 1, 1, 1));
    brush.setMirrix(0, { 200, 100 });
    drawLiveStroke(brush, canvas, points);
    return canvas;
}

}

TEST(SketchyBrush, StartsWithTheDevicesSizes)
{
    {
        ScopedDeviceProfile phone(DeviceProfile::phone());
        SketchyBrush brush;
        EXPECT_FLOAT_EQ(brush.brushData().size, 1.5f);
        EXPECT_FLOAT_EQ(brush.maxSize(), 3.0f);
    }
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    SketchyBrush brush;
    EXPECT_FLOAT_EQ(brush.brushData().size, 2.0f);
    EXPECT_FLOAT_EQ(brush.maxSize(), 12.0f);
    EXPECT_FLOAT_EQ(brush.minSize(), 1.0f);
    EXPECT_EQ(brush.name(), "SketchyBrush");
    EXPECT_EQ(brush.getBrushMetaPackLength(), 0);
}

TEST(SketchyBrush, HatchesOnlyBetweenPointsCloserThanAbout63)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    // 64 apart (d = 4096): never joined, so the picture is the line alone.
    auto far = zigzag(64.5f, 8);
    EXPECT_EQ(maxChannelDifference(drawn<SketchyBrush>(far), drawn<CoreOnlySketchyBrush>(far)), 0);
    // 60 apart (d = 3600): joined about four times in five.
    auto close = zigzag(60, 8);
    EXPECT_GT(maxChannelDifference(drawn<SketchyBrush>(close), drawn<CoreOnlySketchyBrush>(close)), 0);
}

TEST(SketchyBrush, HatchingIsTheSameLiveAndInEveryReplay)
{
    for (auto profile : { DeviceProfile::tablet(), DeviceProfile::retinaPhone() }) {
        SCOPED_TRACE(profile.name);
        ScopedDeviceProfile device(profile);
        const auto points = wavyPoints({ 30, 100 }, 14, 18);
        TestCanvas live(320, 200);
        SketchyBrush brush;
        brush.setMirrix(0, { 160, 100 });
        auto stroke = drawLiveStroke(brush, live, points);
        // A second live stroke of the same brush restarts the same sequence.
        TestCanvas again(320, 200);
        brush.prepareBrush();
        brush.setIsRandomColor(false);
        auto second = drawLiveStroke(brush, again, points);
        TestCanvas first(320, 200);
        TestCanvas replayed(320, 200);
        ASSERT_TRUE(replayStroke(*stroke, first));
        ASSERT_TRUE(replayStroke(*stroke, replayed));
        EXPECT_EQ(maxChannelDifference(live, first), 0);
        EXPECT_EQ(maxChannelDifference(first, replayed), 0);
        EXPECT_EQ(stroke->strokePoints()[0].brushData().randSeed, second->strokePoints()[0].brushData().randSeed);
    }
}

TEST(SketchyBrush, MirrorModesDrawTheStrokeOnce)
{
    const auto points = wavyPoints({ 30, 60 }, 10, 20);
    TestCanvas plain(320, 200);
    ASSERT_TRUE(replayStroke(*recorded::strokeOf(recorded::record(29, 2, 200, 100, 50, 255, 99, 0), points), plain));
    TestCanvas mirrored(320, 200);
    ASSERT_TRUE(replayStroke(*recorded::strokeOf(recorded::record(29, 2, 200, 100, 50, 255, 99, 9), points), mirrored));
    EXPECT_EQ(maxChannelDifference(plain, mirrored), 0);
}

TEST(SketchyBrush, ReportsTheLineAndItsHatchingAsChanged)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    TestCanvas canvas(300, 200);
    SketchyBrush brush;
    brush_meta meta = brush.brushData();
    meta.randSeed = 7;
    brush.setBrushData(meta);
    brush.prepareBrush();
    brush.strokeFrom(canvas.context(), { 100, 100 });
    EXPECT_TRUE(brush.dirtyRect().isNull());
    // 70 apart, so no hatching: the first piece runs from the first point to
    // the midpoint, widened by 4.
    platform::Rect r = brush.strokeTo(canvas.context(), { 170, 100 });
    EXPECT_EQ(r, platform::Rect(96, 96, 43, 8));
    EXPECT_EQ(brush.points().size(), 2u);
    // 20 further on, the hatching back to the previous point (from 184 to 176)
    // reaches beyond the piece of line, whose box ends at 184 with its margin.
    r = brush.strokeTo(canvas.context(), { 190, 100 });
    EXPECT_EQ(r.x(), 131);
    EXPECT_EQ(r.maxX(), 188);
    brush.strokeEnd(canvas.context(), { 200, 110 });
    EXPECT_TRUE(brush.points().empty());
}

TEST(SketchyBrushGolden, FixedRecordsDrawTheirReferencePictures)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    auto stroke = recorded::strokeOf(recorded::record(29, 2, 250, 210, 60, 255, 2024), wavyPoints({ 30, 110 }, 16, 15));
    TestCanvas canvas(300, 220);
    ASSERT_TRUE(replayStroke(*stroke, canvas));
    EXPECT_EQ(compareWithGolden(recorded::onBackground(canvas, Qt::black), "SketchyBrush_wave", 3), "");
}

#include "Classes/brushes/SketchyBrush.h"
#include "BrushTestHelpers.h"

using namespace brushtest;

namespace {

// The sketchy brush without its hatching, to see what the hatching adds.
class CoreOnlySketchyBrush final : public SketchyBrush {
public:
    void drawSideStrokes(platform::GraphicsContext&, Point) override { }
};

template <typename B> TestCanvas drawnZigzag(float step)
{
    // Successive points `step` apart, points two apart twice as far.
    const float leg = step / std::sqrt(2.0f);
    std::vector<Point> points;
    for (int i = 0; i < 8; ++i)
        points.push_back({ 20 + i * leg, 100 + ((i % 2) ? leg / 2 : -leg / 2) });
    TestCanvas canvas(400, 200);
    B brush;
    brush.setColor(platform::Color::rgba(1, 1, 1, 1));
    brush.setMirrix(0, { 200, 100 });
    drawLiveStroke(brush, canvas, points);
    return canvas;
}

}

TEST(SketchyBrush, HatchesOnlyBetweenPointsCloserThanAbout63)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    EXPECT_EQ(
        maxChannelDifference(drawnZigzag<SketchyBrush>(64.5f), drawnZigzag<CoreOnlySketchyBrush>(64.5f)), 0);
    EXPECT_GT(maxChannelDifference(drawnZigzag<SketchyBrush>(60), drawnZigzag<CoreOnlySketchyBrush>(60)), 0);
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
    EXPECT_EQ(brush.strokeTo(canvas.context(), { 170, 100 }), Rect(96, 96, 43, 8));
    // 20 further on, the hatching back to the previous point (from 184 to 176)
    // reaches beyond the piece of line, whose box ends at 184 with its margin.
    Rect r = brush.strokeTo(canvas.context(), { 190, 100 });
    EXPECT_EQ(r.x(), 131);
    EXPECT_EQ(r.maxX(), 188);
}

TEST(SketchyBrush, MirrorModesDrawTheStrokeOnce)
{
    const auto points = wavyPoints({ 30, 60 }, 10, 20);
    TestCanvas plain(320, 200);
    ASSERT_TRUE(replayStroke(*strokeOf(record(29, 2, { 200, 100, 50, 255 }, 99, 0), points), plain));
    TestCanvas mirrored(320, 200);
    ASSERT_TRUE(replayStroke(*strokeOf(record(29, 2, { 200, 100, 50, 255 }, 99, 9), points), mirrored));
    EXPECT_EQ(maxChannelDifference(plain, mirrored), 0);
}

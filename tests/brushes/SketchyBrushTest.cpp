#include "Classes/brushes/SketchyBrush.h"
#include "BrushTestHelpers.h"

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

TEST(SketchyBrush, MirrorModesDrawTheStrokeOnce)
{
    const auto points = wavyPoints({ 30, 60 }, 10, 20);
    TestCanvas plain(320, 200), mirrored(320, 200);
    ASSERT_TRUE(replayStroke(*recordedStroke(29, 2, { 200, 100, 50, 255 }, 99, 0, points), plain));
    ASSERT_TRUE(replayStroke(*recordedStroke(29, 2, { 200, 100, 50, 255 }, 99, 9, points), mirrored));
    EXPECT_EQ(maxChannelDifference(plain, mirrored), 0);
}

#include "Classes/brushes/RainbowBrush.h"
#include "Classes/model/Stroke.h"
#include "NeonTestHelpers.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

using namespace neontest;
using platform::Color;
using platform::DeviceProfile;
using platform::Point;
using platform::ScopedDeviceProfile;

namespace {

float hueOf(const brush_meta& meta)
{
    float h, s, b;
    Color::rgba(meta.red / 255.0f, meta.green / 255.0f, meta.blue / 255.0f).getHsb(h, s, b);
    return h;
}

std::vector<Point> longStroke(int count)
{
    std::vector<Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({ 30.0f + (i % 12) * 22.0f, 30.0f + (i / 12) * 25.0f + 8 * std::sin(i * 0.9f) });
    return points;
}

}

TEST(RainbowBrush, HuesStepByOneTwentyFirstPerPoint)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    seedRandomness();
    TestCanvas canvas(320, 240);
    auto rainbow = makeBrush(11, 0, canvas);
    // A solid colour changes nothing: every stroke recolours itself.
    rainbow->setColor(Color::rgba(0.3f, 0.3f, 0.3f));
    auto stroke = drawLiveStroke(*rainbow, canvas, longStroke(22));
    const auto& points = stroke->strokePoints();
    ASSERT_EQ(points.size(), 22u);
    std::set<std::tuple<int, int, int>> colours;
    for (size_t i = 0; i < points.size(); ++i) {
        const brush_meta& m = points[i].brushData();
        colours.insert({ m.red, m.green, m.blue });
        EXPECT_EQ(m.alpha, 1);
        if (i == 0)
            continue;
        float step = hueOf(m) - hueOf(points[i - 1].brushData());
        step -= std::floor(step + 0.5f - 1.0f / 21);
        EXPECT_NEAR(step, 1.0f / 21, 0.004f) << i;
    }
    // 21 segments in 21 hues; the last point is back at the first point's hue.
    EXPECT_EQ(colours.size(), 21u);
    const brush_meta& first = points.front().brushData();
    const brush_meta& last = points.back().brushData();
    EXPECT_EQ(std::tie(first.red, first.green, first.blue), std::tie(last.red, last.green, last.blue));
}

TEST(RainbowBrush, NextStrokeContinuesTheHueSequence)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    seedRandomness();
    TestCanvas canvas(320, 240);
    auto rainbow = makeBrush(11, 0, canvas);
    auto a = drawLiveStroke(*rainbow, canvas, longStroke(5));
    auto b = drawLiveStroke(*rainbow, canvas, longStroke(3));
    float step = hueOf(b->strokePoints().front().brushData()) - hueOf(a->strokePoints().back().brushData());
    EXPECT_NEAR(step, 1.0f / 21, 0.004f);
}

TEST(RainbowBrush, WidthsStayWithinTheDeviceBounds)
{
    struct Case {
        DeviceProfile profile;
        float low, high;
    };
    for (const Case& c : { Case { DeviceProfile::phone(), 3, 6 }, Case { DeviceProfile::tablet(), 5, 11 } }) {
        ScopedDeviceProfile device(c.profile);
        seedRandomness();
        TestCanvas canvas(320, 240);
        auto rainbow = makeBrush(11, 0, canvas);
        std::set<float> widths;
        for (int s = 0; s < 4; ++s) {
            auto stroke = drawLiveStroke(*rainbow, canvas, longStroke(80));
            for (const StrokePoint& p : stroke->strokePoints()) {
                widths.insert(p.brushData().size);
                EXPECT_GE(p.brushData().size, c.low);
                EXPECT_LE(p.brushData().size, c.high);
            }
        }
        // The walk reaches both bounds over a few hundred points.
        EXPECT_EQ(*widths.begin(), c.low) << c.profile.name;
        EXPECT_EQ(*widths.rbegin(), c.high) << c.profile.name;
    }
}

TEST(RainbowBrush, SegmentsAreStrokedInTheColourOfThePointThatEndsThem)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    seedRandomness();
    TestCanvas canvas(300, 100);
    auto rainbow = makeBrush(11, 0, canvas);
    const Point points[] = { { 20, 50 }, { 100, 50 }, { 180, 50 }, { 260, 50 } };
    auto stroke = drawLiveStroke(*rainbow, canvas, points);
    // Segment 2 runs from (60, 50) to (140, 50) and belongs to point 2.
    const brush_meta& m = stroke->strokePoints()[2].brushData();
    uint32_t expected = 0xff000000u | (m.red << 16) | (m.green << 8) | m.blue;
    EXPECT_EQ(canvas.pixel(100, 50), expected);
}

TEST(RainbowBrush, ReplayedAfterOtherStrokesKeepsItsRecordedColours)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    for (int mode : { 0, 1, 4, 9 }) {
        seedRandomness();
        TestCanvas live(300, 300);
        auto rainbow = makeBrush(11, mode, live);
        auto stroke = drawLiveStroke(*rainbow, live, wavyPoints({ 40, 80 }, 14, 16));

        // Packed and read back, as from a file, after the sequence has moved on.
        Stroke reread;
        ASSERT_TRUE(reread.unpackStrokePoints(stroke->packStrokePoints(), stroke->getStrokePointsNumber()));
        TestCanvas other(300, 300);
        drawLiveStroke(*rainbow, other, wavyPoints({ 40, 80 }, 5, 16));

        TestCanvas replay(300, 300);
        ASSERT_TRUE(replayStroke(reread, replay));
        EXPECT_EQ(maxChannelDifference(live, replay), 0) << mode;
    }
}

TEST(RainbowBrush, GoldenStrokes)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    for (int mode : { 0, 4 }) {
        seedRandomness(11);
        TestCanvas canvas(240, 180);
        auto rainbow = makeBrush(11, mode, canvas);
        drawLiveStroke(*rainbow, canvas, wavyPoints({ 40, 60 }, 8, 18));
        EXPECT_EQ(compareWithGolden(onBackground(canvas, Qt::white), "RainbowBrush_mode" + std::to_string(mode), 2), "");
    }
}

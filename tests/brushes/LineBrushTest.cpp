#include "BrushTestHelpers.h"

#include <set>

using namespace brushtest;

// A motionless stroke still leaves its round cap, and its rectangle stops at the canvas edge.
TEST(PenBrush, AMotionlessStrokeLeavesADotWithAClampedRectangle)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    TestCanvas dot(100, 100);
    auto pen = makeBrush(13, 0, dot);
    pen->strokeFrom(dot.context(), { 40, 30 });
    EXPECT_EQ(pen->strokeEnd(dot.context(), { 40, 30 }), Rect(33, 23, 14, 14));
    EXPECT_GT(dot.alpha(40, 30), 0);
    pen->strokeFrom(dot.context(), { 2, 3 });
    EXPECT_EQ(pen->strokeEnd(dot.context(), { 2, 3 }), Rect(0, 0, 9, 10));
}

TEST(RubberBrush, ClearsToTransparentWhereItPassesAndReportsEveryClearedPixel)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    TestCanvas canvas(200, 120);
    fillCanvas(canvas);
    auto rubber = makeBrush(23, 0, canvas);
    rubber->setColor(Color::rgba(0, 1, 0));
    const Point points[] = { { 20, 60 }, { 60, 60 }, { 100, 60 }, { 140, 60 }, { 180, 60 } };
    auto stroke = drawLiveStroke(*rubber, canvas, points);
    // Round caps reach a half width past the ends; the colour set paints nothing.
    EXPECT_EQ(canvas.pixel(8, 60) | canvas.pixel(100, 73), 0u);
    EXPECT_EQ(canvas.alpha(2, 60), 255);
    EXPECT_EQ(canvas.alpha(100, 77), 255);
    const Rect dirty = stroke->dirtyRect();
    int cleared = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.alpha(x, y) != 255) {
                ++cleared;
                EXPECT_TRUE(dirty.contains({ x + 0.5f, y + 0.5f })) << x << "," << y;
            }
        }
    }
    EXPECT_GT(cleared, 4000);
}

// Every point takes the next of 21 hues, whatever colour was chosen, and the
// next stroke goes on from there.
TEST(RainbowBrush, EachPointTakesTheNextHueAndColoursTheSegmentItEnds)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    seedRandomness();
    TestCanvas canvas(300, 100);
    auto rainbow = makeBrush(11, 0, canvas);
    rainbow->setColor(Color::rgba(0.3f, 0.3f, 0.3f));
    auto hueOf = [](const StrokePoint& p) {
        float h, s, b;
        const brush_meta& m = p.brushData();
        Color::rgba(m.red / 255.0f, m.green / 255.0f, m.blue / 255.0f).getHsb(h, s, b);
        return h;
    };
    std::vector<StrokePoint> points;
    for (int s = 0; s < 8; ++s) {
        auto stroke = drawLiveStroke(
            *rainbow, canvas, std::vector<Point> { { 20, 50 }, { 100, 50 }, { 180, 50 }, { 260, 50 } });
        points.insert(points.end(), stroke->strokePoints().begin(), stroke->strokePoints().end());
        EXPECT_EQ(stroke->strokePoints()[0].brushData().alpha, 1);
    }
    for (size_t i = 1; i < points.size(); ++i) {
        float step = hueOf(points[i]) - hueOf(points[i - 1]);
        step -= std::floor(step + 0.5f - 1.0f / 21);
        EXPECT_NEAR(step, 1.0f / 21, 0.004f) << i;
    }

    // The last stroke's segment from (60, 50) to (140, 50) belongs to its point 2.
    const brush_meta& m = points[points.size() - 2].brushData();
    EXPECT_EQ(canvas.pixel(100, 50), 0xff000000u | (m.red << 16) | (m.green << 8) | m.blue);
}

// Widths wander per point by a bounded step and reach both of the device's bounds.
TEST(BrushWidth, RandomWidthsWalkBetweenTheDevicesBounds)
{
    struct Case {
        DeviceProfile profile;
        int type;
        float low, high, maxStep;
    };
    const Case cases[]
        = { { DeviceProfile::phone(), 11, 3, 6, 0.6f }, { DeviceProfile::tablet(), 11, 5, 11, 0.6f },
              { DeviceProfile::tablet(), 13, 6, 12, 0.6f }, { DeviceProfile::tablet(), 24, 4, 8, 1.2f } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.profile.name << " type " << c.type);
        ScopedDeviceProfile device(c.profile);
        TestCanvas canvas(320, 240);
        auto brush = makeBrush(c.type, 0, canvas);
        seedRandomness(); // the pen seeds the generator from the clock when made
        std::set<float> widths;
        for (int s = 0; s < 60; ++s) {
            auto stroke = drawLiveStroke(*brush, canvas, wavyPoints({ 10, 100 }, 30, 10));
            const auto& points = stroke->strokePoints();
            widths.insert(points[0].brushData().size);
            for (size_t i = 1; i < points.size(); ++i) {
                widths.insert(points[i].brushData().size);
                EXPECT_LE(std::fabs(points[i].brushData().size - points[i - 1].brushData().size),
                    c.maxStep + 1e-5f);
            }
        }
        EXPECT_EQ(*widths.begin(), c.low);
        EXPECT_EQ(*widths.rbegin(), c.high);
    }
}

#include "BrushTestHelpers.h"

#include <set>

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

// The screen is refreshed only inside the rectangle each step reports, so it must
// hold every pixel the step changed: the eraser's wide cut, a refilled shape, glows,
// hatching back to earlier points, and mirrored copies.
TEST(BrushDirtyRect, EachStepReportsEveryPixelItChanged)
{
    struct Case {
        int type, mode;
        std::vector<Point> points;
    };
    const auto wave = wavyPoints({ 30, 40 }, 8, 18);
    const Case cases[] = { { 23, 0, { { 20, 60 }, { 100, 60 }, { 180, 60 } } },
        { 16, 0, loopPoints({ 100, 60 }, 40, 1, 12) }, { 17, 1, wave }, { 34, 4, wave }, { 101, 4, wave },
        { 29, 9, wave }, { 32, 0, wave }, { 33, 0, wave } };
    ScopedDeviceProfile device(DeviceProfile::tablet());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " mode " << c.mode);
        TestCanvas canvas(200, 120);
        if (c.type == 23)
            fillCanvas(canvas);
        auto brush = makeBrush(c.type, c.mode, canvas);
        seedRandomness();
        Stroke stroke;
        stroke.setBrush(brush.get());
        stroke.strokeFrom(canvas.context(), StrokePoint(c.points[0]), false);
        int changed = 0;
        for (size_t i = 1; i < c.points.size(); ++i) {
            const QImage before = canvas.uprightImage();
            const StrokePoint point(c.points[i]);
            const Rect step = i + 1 < c.points.size() ? stroke.strokeTo(canvas.context(), point, false)
                                                      : stroke.strokeEnd(canvas.context(), point, false);
            for (int y = 0; y < canvas.height(); ++y) {
                for (int x = 0; x < canvas.width(); ++x) {
                    const bool same = canvas.pixel(x, y) == reinterpret_cast<const uint32_t*>(before.constScanLine(y))[x];
                    changed += !same;
                    ASSERT_TRUE(same || step.contains({ x + 0.5f, y + 0.5f })) << "step " << i << " at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(changed, 300);
    }
}

// Widths wander per point by a bounded step and reach both of the device's bounds.
// Each rainbow point takes the next of 21 hues, whatever colour was chosen, and the
// next stroke goes on from there.
TEST(BrushPoints, WidthsWalkWithinTheDevicesBoundsAndRainbowHuesStepOnAcrossStrokes)
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
        brush->setColor(Color::rgba(0.3f, 0.3f, 0.3f));
        std::set<float> widths;
        float lastHue = -1;
        for (int s = 0; s < 60; ++s) {
            auto stroke = drawLiveStroke(*brush, canvas, wavyPoints({ 10, 100 }, 30, 10));
            const auto& points = stroke->strokePoints();
            for (size_t i = 0; i < points.size(); ++i) {
                const brush_meta& m = points[i].brushData();
                widths.insert(m.size);
                EXPECT_LE(std::fabs(m.size - points[i > 0 ? i - 1 : 0].brushData().size), c.maxStep + 1e-5f);
                if (c.type != 11)
                    continue;
                // The record keeps an alpha byte of 1; the line is drawn opaque.
                EXPECT_EQ(m.alpha, 1);
                float hue, saturation, brightness;
                Color::rgba(m.red / 255.0f, m.green / 255.0f, m.blue / 255.0f)
                    .getHsb(hue, saturation, brightness);
                const float step = hue - lastHue - std::floor(hue - lastHue + 0.5f - 1.0f / 21);
                EXPECT_TRUE(lastHue < 0 || std::fabs(step - 1.0f / 21) < 0.004f) << step;
                lastHue = hue;
            }
        }
        EXPECT_EQ(*widths.begin(), c.low);
        EXPECT_EQ(*widths.rbegin(), c.high);
    }
}

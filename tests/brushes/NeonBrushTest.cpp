#include "BrushTestHelpers.h"
#include "Classes/brushes/NeonBrightBrush.h"

// Three glow widths and ten on a tablet; on phones at least the reach of the
// widest glow pass (three half-blurs beyond the line's edge, plus antialiasing),
// which is wider. The high-resolution phone has set its glow to 7 by the time the
// margin is taken.
TEST(NeonBrush, DirtyRectMarginFollowsTheDevice)
{
    struct Case {
        DeviceProfile profile;
        float size, margin;
    };
    for (const Case& c : { Case { DeviceProfile::tablet(), 6, 40 }, Case { DeviceProfile::phone(), 3, 37 },
             Case { DeviceProfile::retinaPhone(), 3, 28 } }) {
        ScopedDeviceProfile device(c.profile);
        TestCanvas canvas(300, 300);
        for (int type : { 17, 24 }) {
            SCOPED_TRACE(testing::Message() << c.profile.name << " type " << type);
            auto brush = makeBrush(type, 0, canvas);
            brush->prepareBrush();
            brush->setSize(c.size);
            brush->strokeFrom(canvas.context(), { 100, 100 });
            // The first segment runs from (100, 100) to the midpoint (120, 110).
            Rect r = brush->strokeTo(canvas.context(), { 140, 120 });
            EXPECT_EQ(r, Rect(100 - c.margin, 100 - c.margin, 20 + 2 * c.margin, 10 + 2 * c.margin));
            brush->strokeEnd(canvas.context(), { 160, 120 });
            EXPECT_TRUE(c.margin != 28 || brush->brushData().neonSize == 7u);
        }
    }
}

// Each brush keeps the past segments of its own stroke: a new stroke drops the
// leftovers of one left unfinished (a replay stopped half-way), another bright
// neon brush made meanwhile (a painting opened in the background) leaves them
// alone, and the end of the stroke empties them.
TEST(NeonBright, TheWhiteCoreCoversTheLastThreeSegmentsOfThisStrokeOnly)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    TestCanvas canvas(400, 100);
    platform::Path leftover;
    leftover.moveTo({ 0, 0 });
    leftover.lineTo({ 10, 90 });
    NeonBrightBrush brush;
    brush.pushSubStroke(leftover);
    brush.setMirrix(0, { 200, 50 });
    brush.strokeFrom(canvas.context(), { 0, 50 });
    // Touch points 40 apart on a line: segment k ends at the midpoint 20 + 40k.
    std::vector<Rect> segments;
    for (int k = 1; k <= 5; ++k) {
        NeonBrightBrush other;
        other.pushSubStroke(leftover);
        brush.strokeTo(canvas.context(), { 40.0f * k, 50 });
        segments.push_back(brush.strokePath()->boundingBox());
        Rect expected = Rect::null();
        for (size_t i = segments.size() > 3 ? segments.size() - 3 : 0; i < segments.size(); ++i)
            expected = expected.united(segments[i]);
        EXPECT_EQ(brush.innerBrightLinePath().boundingBox(), expected) << k;
    }
    brush.strokeEnd(canvas.context(), { 220, 50 });
    EXPECT_TRUE(brush.getPathOfPastSubStrokes().isEmpty());
}

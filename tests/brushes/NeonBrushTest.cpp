#include "Classes/brushes/NeonBrightBrush.h"
#include "Classes/brushes/NeonBrush.h"
#include "Classes/brushes/NeonNecklaceBrush.h"
#include "Classes/brushes/NeonPenBrush.h"
#include "Classes/colorpicker/HSVColor.h"
#include "Classes/model/Stroke.h"
#include "NeonTestHelpers.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace neontest;
using platform::Color;
using platform::DeviceProfile;
using platform::Point;
using platform::Rect;
using platform::ScopedDeviceProfile;

namespace {

constexpr int neonTypes[] = { 17, 24, 34, 37 };

std::vector<Point> straightPoints(Point start, int count, float step)
{
    std::vector<Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({ start.x + i * step, start.y });
    return points;
}

}

TEST(NeonColor, AChosenColourIsReducedToItsPureHue)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    NeonBrush brush;
    for (Color chosen : { Color::rgba(0.4f, 0, 0), Color::rgba(1, 0.6f, 0.6f), Color::rgba(0.5f, 0.5f, 0.5f) }) {
        brush.setColor(chosen);
        EXPECT_EQ(brush.brushData().red, 255);
        EXPECT_EQ(brush.brushData().green, 0);
        EXPECT_EQ(brush.brushData().blue, 0);
        EXPECT_EQ(brush.brushData().alpha, 255);
        EXPECT_EQ(*brush.brushColor(), Color::rgba(1, 0, 0, 1));
        EXPECT_FALSE(brush.isRandomColor());
    }
    // Not the textbook hue of 40 degrees: the hue function does not normalise.
    brush.setColor(Color::rgba(0.5f, 0.4f, 0.2f));
    Color expected = Color::hsba(12.0f / 360, 1, 1, 1);
    EXPECT_EQ(*brush.brushColor(), expected);
}

TEST(NeonColor, ADarkRedGlowsPureRedAroundAWhiteCore)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    seedRandomness();
    TestCanvas canvas(200, 120);
    auto brush = makeBrush(17, 0, canvas);
    brush->setColor(Color::rgba(0.35f, 0.0f, 0.0f));
    auto points = straightPoints({ 30, 60 }, 8, 20);
    drawLiveStroke(*brush, canvas, points);

    Rgb core = straightColor(canvas, 100, 60);
    EXPECT_GT(core.red, 240);
    EXPECT_GT(core.green, 200);
    EXPECT_GT(core.blue, 200);
    // Out in the halo only the hue remains, fading with distance.
    int previousAlpha = 256;
    for (int dy : { 8, 14, 20, 26 }) {
        Rgb halo = straightColor(canvas, 100, 60 + dy);
        EXPECT_EQ(halo.red, 255) << dy;
        EXPECT_LE(halo.green, 1) << dy;
        EXPECT_LE(halo.blue, 1) << dy;
        EXPECT_GT(halo.alpha, 0) << dy;
        EXPECT_LT(halo.alpha, previousAlpha) << dy;
        previousAlpha = halo.alpha;
    }
    EXPECT_EQ(canvas.alpha(100, 110), 0);
}

TEST(NeonDirtyRect, MarginDependsOnTheDevice)
{
    struct Case {
        DeviceProfile profile;
        float margin;
    };
    // The high-resolution phone has already set its glow to 7 when the margin is taken.
    for (const Case& c : { Case { DeviceProfile::tablet(), 40 }, Case { DeviceProfile::phone(), 20 },
             Case { DeviceProfile::retinaPhone(), 17 } }) {
        ScopedDeviceProfile device(c.profile);
        TestCanvas canvas(300, 300);
        for (int type : { 17, 24 }) {
            auto brush = makeBrush(type, 0, canvas);
            brush->prepareBrush();
            brush->strokeFrom(canvas.context(), { 100, 100 });
            // The first segment runs from (100, 100) to the midpoint (120, 110).
            Rect r = brush->strokeTo(canvas.context(), { 140, 120 });
            EXPECT_EQ(r, Rect(100 - c.margin, 100 - c.margin, 20 + 2 * c.margin, 10 + 2 * c.margin))
                << c.profile.name << " type " << type;
        }
    }
}

TEST(NeonDirtyRect, ClampsAtTheCanvasEdgeAndCoversEveryMirrorCopy)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    TestCanvas canvas(300, 200);
    auto brush = makeBrush(17, 1, canvas);
    brush->strokeFrom(canvas.context(), { 10, 20 });
    Rect r = brush->strokeTo(canvas.context(), { 30, 40 });
    // The copy mirrored across x = 150 reaches 300 - 10 + 40.
    EXPECT_EQ(r.x(), 0);
    EXPECT_EQ(r.y(), 0);
    EXPECT_EQ(r.x() + r.width(), 300);
    EXPECT_EQ(r.y() + r.height(), 70);
}

TEST(NeonSize, HighResolutionPhoneDrawsWithGlowSeven)
{
    ScopedDeviceProfile device(DeviceProfile::retinaPhone());
    TestCanvas canvas(200, 200);
    for (int type : { 17, 24, 34 }) {
        auto brush = makeBrush(type, 0, canvas);
        EXPECT_NE(brush->brushData().neonSize, 7u) << type;
        auto points = straightPoints({ 20, 100 }, 6, 25);
        drawLiveStroke(*brush, canvas, points);
        EXPECT_EQ(brush->brushData().neonSize, 7u) << type;
    }
}

TEST(NeonSize, InitialSizesFollowTheDevice)
{
    struct Case {
        DeviceProfile profile;
        int type;
        float maxSize, minSize, size;
        unsigned neonSize;
    };
    const Case cases[] = {
        { DeviceProfile::tablet(), 17, 8, 4, 6, 10 },
        { DeviceProfile::retinaPhone(), 24, 5, 3, 3, 30 },
        { DeviceProfile::phone(), 17, 4, 2, 3, 10 },
        { DeviceProfile::tablet(), 34, 8, 4, 6, 6 },
        { DeviceProfile::retinaPhone(), 34, 4, 3, 3, 5 },
        { DeviceProfile::phone(), 34, 5, 3, 4, 6 },
        { DeviceProfile::phone(), 37, 4, 2, 3, 7 },
    };
    for (const Case& c : cases) {
        ScopedDeviceProfile device(c.profile);
        auto brush = Brush::createBrush(c.type, nullptr);
        ASSERT_TRUE(brush);
        EXPECT_EQ(brush->type(), c.type);
        EXPECT_EQ(brush->brushData().type, static_cast<unsigned>(c.type));
        EXPECT_EQ(brush->maxSize(), c.maxSize) << c.profile.name << " " << c.type;
        EXPECT_EQ(brush->minSize(), c.minSize) << c.profile.name << " " << c.type;
        EXPECT_EQ(brush->brushData().size, c.size) << c.profile.name << " " << c.type;
        EXPECT_EQ(brush->brushData().neonSize, c.neonSize) << c.profile.name << " " << c.type;
        EXPECT_EQ(brush->getBrushMetaPackLength(), c.type == 24 ? 4 : 0);
    }
}

TEST(NeonWidth, LineStepsOncePerStrokeAndThePenWandersPerPoint)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    seedRandomness();
    TestCanvas canvas(400, 100);
    auto points = straightPoints({ 10, 50 }, 15, 25);

    auto neon = makeBrush(17, 0, canvas);
    float before = neon->brushData().size;
    auto line = drawLiveStroke(*neon, canvas, points);
    float width = line->strokePoints().front().brushData().size;
    EXPECT_LE(std::fabs(width - before), 1.0f);
    for (const StrokePoint& p : line->strokePoints())
        EXPECT_EQ(p.brushData().size, width);

    auto pen = makeBrush(24, 0, canvas);
    auto wandering = drawLiveStroke(*pen, canvas, points);
    int changes = 0;
    for (size_t i = 1; i < wandering->strokePoints().size(); ++i) {
        float previous = wandering->strokePoints()[i - 1].brushData().size;
        float size = wandering->strokePoints()[i].brushData().size;
        EXPECT_GE(size, 4.0f);
        EXPECT_LE(size, 8.0f);
        EXPECT_LE(std::fabs(size - previous), 1.2f + 1e-5f);
        changes += size != previous;
    }
    EXPECT_GT(changes, 3);
}

TEST(NeonNecklace, BeadsAreNeverCloserThanFourFifthsOfTheSize)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    TestCanvas canvas(300, 300);
    NeonNecklaceBrush necklace;
    necklace.setMirrix(0, { 150, 150 });
    ASSERT_EQ(necklace.brushData().size, 4.0f);
    // Points closer than the subdivision threshold give one bead candidate per
    // segment, so following the last bead sees every bead.
    std::vector<Point> beads;
    necklace.strokeFrom(canvas.context(), { 40, 40 });
    for (int i = 1; i < 120; ++i) {
        float t = i * 0.05f;
        necklace.strokeTo(canvas.context(), { 40 + i * 1.3f, 40 + 30 * std::sin(t) });
        Point bead = necklace.prevDrawedPoint();
        if (beads.empty() || beads.back().x != bead.x || beads.back().y != bead.y)
            beads.push_back(bead);
    }
    ASSERT_GT(beads.size(), 20u);
    for (size_t i = 1; i < beads.size(); ++i) {
        float d = std::hypot(beads[i].x - beads[i - 1].x, beads[i].y - beads[i - 1].y);
        EXPECT_GE(d, 3.2f - 1e-4f) << i;
        EXPECT_LT(d, 6.0f) << i;
    }
}

TEST(NeonNecklace, DrawsSeparateBeadsInEveryMirrorCopy)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    seedRandomness();
    TestCanvas canvas(300, 200);
    auto necklace = makeBrush(34, 1, canvas);
    necklace->setColor(Color::rgba(0, 0, 1));
    auto points = straightPoints({ 20, 60 }, 6, 24);
    drawLiveStroke(*necklace, canvas, points);

    // Along the row the white cores come and go: the beads do not join up.
    int cores = 0;
    bool inCore = false;
    for (int x = 20; x <= 130; ++x) {
        Rgb c = straightColor(canvas, x, 60);
        bool white = c.red > 200 && c.green > 200;
        cores += white && !inCore;
        inCore = white;
        // The mirrored copy across x = 150 matches, up to antialiasing.
        Rgb mirrored = straightColor(canvas, 299 - x, 60);
        EXPECT_NEAR(c.alpha, mirrored.alpha, 6) << x;
        EXPECT_NEAR(c.green, mirrored.green, 6) << x;
    }
    EXPECT_GE(cores, 4);
}

TEST(NeonNecklace, WithoutMirrorListDrawsNothing)
{
    TestCanvas canvas(100, 100);
    NeonNecklaceBrush necklace;
    necklace.strokeFrom(canvas.context(), { 10, 10 });
    EXPECT_TRUE(necklace.strokeTo(canvas.context(), { 60, 60 }).isNull());
    EXPECT_TRUE(necklace.strokeEnd(canvas.context(), { 90, 20 }).isNull());
    EXPECT_EQ(canvas.paintedPixelCount(), 0);
}

TEST(NeonBright, CoreCoversTheLastThreeSegments)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    TestCanvas canvas(400, 100);
    NeonBrightBrush brush;
    brush.setMirrix(0, { 200, 50 });
    brush.strokeFrom(canvas.context(), { 0, 50 });
    // Touch points 40 apart on a line: segment k ends at the midpoint 20 + 40k.
    std::vector<Rect> segments;
    for (int k = 1; k <= 5; ++k) {
        brush.strokeTo(canvas.context(), { 40.0f * k, 50 });
        segments.push_back(brush.strokePath()->boundingBox());
        size_t first = segments.size() > 3 ? segments.size() - 3 : 0;
        Rect expected = Rect::null();
        for (size_t i = first; i < segments.size(); ++i)
            expected = expected.united(segments[i]);
        EXPECT_EQ(brush.innerBrightLinePath().boundingBox(), expected) << k;
    }
    // The stack is process-wide and emptied when the stroke ends.
    brush.strokeEnd(canvas.context(), { 220, 50 });
    EXPECT_TRUE(NeonBrightBrush::getPathOfPastSubStrokes().isEmpty());
}

TEST(NeonBright, OneSegmentStrokeHasItsCoreOnThatSegmentOnly)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    TestCanvas canvas(300, 100);
    // Leftovers of an unfinished stroke are dropped by a new brush.
    platform::Path leftover;
    leftover.moveTo({ 0, 0 });
    leftover.lineTo({ 10, 90 });
    NeonBrightBrush::pushSubStroke(leftover);
    NeonBrightBrush brush;
    brush.setMirrix(0, { 150, 50 });
    brush.setColor(Color::rgba(0, 1, 0));
    brush.strokeFrom(canvas.context(), { 100, 50 });
    brush.strokeEnd(canvas.context(), { 200, 50 });
    EXPECT_EQ(brush.innerBrightLinePath().boundingBox(), Rect(100, 50, 100, 0));
    Rgb core = straightColor(canvas, 150, 50);
    EXPECT_GT(core.red, 200);
    Rgb beyond = straightColor(canvas, 90, 50);
    EXPECT_LT(beyond.red, 60);
    EXPECT_GT(beyond.green, 200);
}

TEST(NeonBright, NewPaintingDefaultBrushDraws)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    seedRandomness();
    TestCanvas canvas(320, 240);
    auto brush = Brush::createBrush(37, nullptr);
    ASSERT_TRUE(brush);
    EXPECT_EQ(brush->name(), "NeonBrightBrush");
    brush->setMirrix(0, { 160, 120 });
    auto stroke = drawLiveStroke(*brush, canvas, wavyPoints({ 40, 120 }, 10, 25));
    EXPECT_GT(canvas.paintedPixelCount(), 5000);
    EXPECT_FALSE(stroke->dirtyRect().isNull());
    Point p = stroke->strokePoints()[4].CGPoint();
    EXPECT_GT(canvas.alpha(static_cast<int>(p.x), static_cast<int>(p.y)), 200);
}

class NeonReplay : public testing::TestWithParam<std::tuple<int, int>> { };

TEST_P(NeonReplay, ReplayFromRecordsEqualsLiveDrawing)
{
    auto [type, mode] = GetParam();
    ScopedDeviceProfile device(DeviceProfile::tablet());
    seedRandomness();
    TestCanvas live(360, 300);
    auto brush = makeBrush(type, mode, live);
    auto points = wavyPoints({ 60, 90 }, 9, 22);
    auto stroke = drawLiveStroke(*brush, live, points);
    // A second stroke of the same brush: state carried between strokes must not leak into the records.
    auto second = drawLiveStroke(*brush, live, wavyPoints({ 80, 200 }, 7, 25));

    TestCanvas replay(360, 300);
    ASSERT_TRUE(replayStroke(*stroke, replay));
    ASSERT_TRUE(replayStroke(*second, replay));
    EXPECT_GT(live.paintedPixelCount(), 1000);
    EXPECT_EQ(maxChannelDifference(live, replay), 0);
}

INSTANTIATE_TEST_SUITE_P(NeonTypesAndMirrorModes, NeonReplay,
    testing::Combine(testing::ValuesIn(neonTypes), testing::Values(0, 1, 4, 9)));

TEST(NeonReplay, SolidColourReplaysWithinTheRecordPrecision)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    seedRandomness();
    for (int type : neonTypes) {
        TestCanvas live(300, 200);
        auto brush = makeBrush(type, 0, live);
        brush->setColor(Color::rgba(0.2f, 0.9f, 0.6f));
        auto stroke = drawLiveStroke(*brush, live, wavyPoints({ 40, 100 }, 9, 25));
        TestCanvas replay(300, 200);
        ASSERT_TRUE(replayStroke(*stroke, replay));
        EXPECT_LE(maxChannelDifference(live, replay), 2) << type;
    }
}

TEST(NeonGolden, FixedSeedStrokesMatchTheirReferences)
{
    for (int type : neonTypes) {
        for (int mode : { 0, 4 }) {
            ScopedDeviceProfile device(DeviceProfile::tablet());
            seedRandomness(7 + type);
            TestCanvas canvas(240, 180);
            auto brush = makeBrush(type, mode, canvas);
            drawLiveStroke(*brush, canvas, wavyPoints({ 40, 60 }, 8, 18));
            std::string name = std::string(brush->name()) + "_mode" + std::to_string(mode);
            EXPECT_EQ(compareWithGolden(onBackground(canvas, Qt::black), name, 2), "");
        }
    }
}

TEST(NeonNecklace, StrokeStartingAtThePreviousBeadReplaysAsDrawn)
{
    // A fresh replay brush has no previous bead; the live brush must not keep one
    // from the stroke before, or the first bead would be missing live only.
    ScopedDeviceProfile device(DeviceProfile::tablet());
    seedRandomness();
    TestCanvas live(300, 200);
    auto necklace = makeBrush(34, 0, live);
    const Point first[] = { { 40, 100 }, { 80, 100 }, { 120, 100 } };
    auto a = drawLiveStroke(*necklace, live, first);
    const Point second[] = { { 120, 100 }, { 160, 140 }, { 200, 160 } };
    auto b = drawLiveStroke(*necklace, live, second);

    TestCanvas replay(300, 200);
    ASSERT_TRUE(replayStroke(*a, replay));
    ASSERT_TRUE(replayStroke(*b, replay));
    EXPECT_EQ(maxChannelDifference(live, replay), 0);
}

#include "Classes/brushes/Bezier.h"
#include "Classes/brushes/PatternBrush.h"
#include "Classes/brushes/PatternManager.h"
#include "Classes/brushes/SparseChalkBrush.h"
#include "Classes/model/Stroke.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"
#include "support/TestCanvas.h"
#include "tests/brushes/RecordedStrokeHelpers.h"

#include <gtest/gtest.h>

#include <set>

using platform::Color;
using platform::DeviceProfile;
using platform::Point;
using platform::ScopedDeviceProfile;

namespace {

const int tableTypes[] = { 51, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 64, 66, 101 };

std::unique_ptr<Brush> makeBrush(int type, int mirrorMode, const TestCanvas& canvas)
{
    auto brush = Brush::createBrush(type, nullptr);
    if (brush)
        brush->setMirrix(mirrorMode, { canvas.width() / 2.0f, canvas.height() / 2.0f });
    return brush;
}

// Premultiplied pixels of a stamp, for comparing stamps.
std::vector<uint32_t> stampPixels(const platform::Image& image)
{
    std::vector<uint32_t> pixels;
    const QImage& q = image.qimage();
    for (int y = 0; y < q.height(); ++y)
        for (int x = 0; x < q.width(); ++x)
            pixels.push_back(q.pixel(x, y));
    return pixels;
}

}

TEST(PatternBrushFactory, MakesPatternBrushesOnlyForTypesOfThePatternTable)
{
    for (int type : tableTypes) {
        auto brush = Brush::createBrush(type, nullptr);
        ASSERT_TRUE(brush) << type;
        EXPECT_EQ(brush->name(), "PatternBrush");
        EXPECT_EQ(brush->type(), type);
        EXPECT_EQ(brush->brushData().type, static_cast<uint32_t>(type));
        EXPECT_EQ(brush->getBrushMetaPackLength(), 0);
    }
    for (int type : { 50, 52, 63, 65, 86, 100, 102, 200, 255 })
        EXPECT_FALSE(Brush::createBrush(type, nullptr)) << type;

    auto chalk = Brush::createBrush(101, nullptr);
    ASSERT_TRUE(dynamic_cast<SparseChalkBrush*>(chalk.get()));
    EXPECT_EQ(chalk->brushData().hasJitter, 1u);
    EXPECT_EQ(chalk->brushData().hasRotation, 1u);
    auto plain = Brush::createBrush(67, nullptr);
    EXPECT_FALSE(dynamic_cast<SparseChalkBrush*>(plain.get()));
    EXPECT_EQ(plain->brushData().hasJitter, 0u);
    EXPECT_EQ(plain->brushData().hasRotation, 0u);
}

TEST(PatternBrush, EveryLiveStrokeGetsAWholeSizeFrom14To24AndStampsOfThatSize)
{
    PatternBrush brush(67, std::make_shared<PatternManager>());
    std::set<int> sizes;
    for (int i = 0; i < 200; ++i) {
        brush.prepareBrush();
        float size = brush.brushData().size;
        ASSERT_EQ(size, static_cast<float>(static_cast<int>(size)));
        ASSERT_GE(size, 14.0f);
        ASSERT_LE(size, 24.0f);
        sizes.insert(static_cast<int>(size));
        ASSERT_TRUE(brush.patternArray());
        ASSERT_EQ(brush.patternArray()->size(), 1u);
        EXPECT_EQ(brush.patternArray()->front().pixelWidth(), static_cast<int>(size));
        EXPECT_EQ(brush.patternArray()->front().pixelHeight(), static_cast<int>(size));
    }
    // The clamped ends come up most often; something in between too.
    EXPECT_TRUE(sizes.count(14) && sizes.count(24));
    EXPECT_GT(sizes.size(), 2u);
}

TEST(PatternBrush, SpacingIsHalvedOnAScale2Screen)
{
    {
        ScopedDeviceProfile tablet(DeviceProfile::tablet());
        EXPECT_FLOAT_EQ(PatternBrush(67, nullptr).space(), 3.0f);
        EXPECT_FLOAT_EQ(SparseChalkBrush(101, nullptr).space(), 5.0f);
    }
    {
        ScopedDeviceProfile phone(DeviceProfile::phone());
        EXPECT_FLOAT_EQ(PatternBrush(67, nullptr).space(), 3.0f);
    }
    ScopedDeviceProfile retina(DeviceProfile::retinaPhone());
    PatternBrush brush(67, nullptr);
    EXPECT_FLOAT_EQ(brush.space(), 1.5f);
    // And the stamps are that close: a straight 30-point segment gets stamps
    // less than 1.5 apart.
    brush.prepareBrush();
    TestCanvas canvas(64, 64);
    brush.drawStroke(canvas.context(), { 10, 10 }, { 25, 10 }, { 40, 10 });
    Bezier bezier;
    EXPECT_FLOAT_EQ(bezier.threashold(), 1.5f);
}

TEST(PatternBrush, RandomColoursKeepAlphaAtLeast200AndSolidColoursAre255)
{
    for (int type : { 70, 64, 101 }) {
        auto brush = Brush::createBrush(type, nullptr);
        for (int i = 0; i < 100; ++i) {
            brush->prepareBrush();
            const brush_meta& meta = brush->brushData();
            ASSERT_GE(meta.alpha, 200) << type;
            // The colour drawn with is the record's, so a replay matches it.
            ASSERT_TRUE(brush->brushColor());
            EXPECT_FLOAT_EQ(brush->brushColor()->alpha, static_cast<float>(meta.alpha / 255.0));
            EXPECT_FLOAT_EQ(brush->brushColor()->red, static_cast<float>(meta.red / 255.0));
        }
    }

    // Type 70's table alpha is 200; a solid colour replaces it with 255, even
    // when the colour itself is translucent.
    PatternBrush brush(70, std::make_shared<PatternManager>());
    EXPECT_EQ(brush.brushData().alpha, 200);
    brush.setColor(Color::rgba(0.2f, 0.4f, 0.6f, 0.3f));
    EXPECT_EQ(brush.brushData().alpha, 255);
    EXPECT_FALSE(brush.isRandomColor());
    brush.prepareBrush();
    EXPECT_EQ(brush.brushData().alpha, 255);
    EXPECT_EQ(brush.brushData().red, 51);
}

TEST(PatternManager, CachesByTypeSizeAndColourButNotBySeed)
{
    PatternManager manager;
    const Color red = Color::rgba(1, 0, 0, 1);
    auto first = manager.getPatternArrayBrushWithType(64, 20, red, 1);
    ASSERT_TRUE(first);
    EXPECT_EQ(manager.getPatternArrayBrushWithType(64, 20, red, 2), first);
    EXPECT_NE(manager.getPatternArrayBrushWithType(64, 21, red, 1), first);
    auto other = manager.getPatternArrayBrushWithType(64, 20, Color::rgba(1, 0, 0, 0.9f), 1);
    EXPECT_NE(other, first);
    EXPECT_NE(manager.getPatternArrayBrushWithType(67, 20, Color::rgba(1, 0, 0, 0.9f), 1), other);
    EXPECT_EQ(manager.brushType(), 67);
    EXPECT_EQ(manager.brushSize(), 20);
}

TEST(PatternManager, ColourDotsDependOnTheSeedOnly)
{
    const Color blue = Color::rgba(0.1f, 0.2f, 0.9f, 1);
    auto dots = [&](uint32_t seed) {
        PatternManager manager;
        return stampPixels(manager.getPatternArrayBrushWithType(64, 24, blue, seed)->front());
    };
    EXPECT_EQ(dots(7), dots(7));
    EXPECT_NE(dots(7), dots(8));

    // The dots have several hues, all a little above the colour's own.
    PatternManager manager;
    const QImage& stamp = manager.getPatternArrayBrushWithType(64, 24, blue, 7)->front().qimage();
    std::set<int> hues;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            if (qAlpha(stamp.pixel(x, y)) == 255)
                hues.insert(QColor::fromRgba(stamp.pixel(x, y)).hsvHue());
    EXPECT_GT(hues.size(), 5u);
    for (int hue : hues) {
        EXPECT_GE(hue, 228); // the colour's hue is about 232 degrees
        EXPECT_LE(hue, 272);
    }
}

TEST(PatternManager, StampsAreTheColourWhereThePictureIsDarkAndClearWhereItIsLight)
{
    PatternManager manager;
    const QImage& stamp = manager.getPatternArrayBrushWithType(67, 24, Color::rgba(0, 1, 0, 1), 0)->front().qimage();
    EXPECT_EQ(stamp.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(stamp.pixel(12, 12), qRgba(0, 255, 0, 255));
    EXPECT_EQ(qAlpha(stamp.pixel(0, 0)), 0);
    EXPECT_FALSE(PatternManager::patternNameOfType(52));
    EXPECT_EQ(PatternManager::patternNameOfType(66), "crayon_1.png");
}

TEST(PatternBrush, ALongSegmentIsStampedOnlyUpToItsFiveHundredthPoint)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    TestCanvas canvas(3200, 40);
    PatternBrush brush(67, nullptr);
    brush.setColor(Color::rgba(1, 1, 1, 1));
    brush.prepareBrush();
    const float half = brush.brushData().size / 2;
    // 3090 points of straight line would split into 2048 pieces of about 1.5.
    brush.drawStroke(canvas.context(), { 10, 20 }, { 1555, 20 }, { 3100, 20 });
    const float step = 3090.0f / 2048;
    const int lastStamp = static_cast<int>(10 + 498 * step);
    EXPECT_GT(canvas.alpha(lastStamp, 20), 0);
    for (int x = static_cast<int>(lastStamp + half + 2); x < 3200; ++x)
        ASSERT_EQ(canvas.alpha(x, 20), 0) << x;
    EXPECT_LE(brush.dirtyRect().maxX(), lastStamp + half + 1);
}

TEST(PatternBrush, ATapStampsOnceAtItsPoint)
{
    TestCanvas canvas(64, 64);
    PatternBrush brush(67, nullptr);
    brush.setColor(Color::rgba(1, 1, 1, 1));
    brush.prepareBrush();
    const float w = brush.brushData().size;
    platform::Rect r = brush.drawStroke(canvas.context(), { 30, 30 }, { 30, 30 }, { 30, 30 });
    EXPECT_EQ(r, platform::Rect(30 - w / 2, 30 - w / 2, w, w));
    EXPECT_GT(canvas.alpha(30, 30), 0);
}

// Live and replayed pattern strokes share positions, sizes and colours; the
// chalk's angles come from the record's seed in both.
TEST(PatternBrush, ReplayDrawsWhatWasDrawnLiveInEveryMirrorMode)
{
    const auto points = wavyPoints({ 40, 100 }, 9, 25);
    for (int type : { 51, 64, 66, 67, 72, 101 }) {
        for (int mode : { 0, 1, 4, 9 }) {
            SCOPED_TRACE(testing::Message() << "type " << type << " mode " << mode);
            TestCanvas live(320, 240);
            auto brush = makeBrush(type, mode, live);
            auto stroke = drawLiveStroke(*brush, live, points);
            TestCanvas replay(320, 240);
            ASSERT_TRUE(replayStroke(*stroke, replay));
            EXPECT_GT(live.paintedPixelCount(), 500);
            EXPECT_EQ(maxChannelDifference(live, replay), 0);
        }
    }
}

TEST(PatternBrush, ASolidColourReplaysWithinTheRecordsBytePrecision)
{
    const auto points = wavyPoints({ 40, 100 }, 9, 25);
    TestCanvas live(320, 240);
    auto brush = makeBrush(75, 0, live);
    brush->setColor(Color::rgba(0.3337f, 0.6663f, 0.1f, 1));
    auto stroke = drawLiveStroke(*brush, live, points);
    TestCanvas replay(320, 240);
    ASSERT_TRUE(replayStroke(*stroke, replay));
    // Live stamps use the colour as given, replayed ones its bytes; the rounding
    // of a few overlapping stamps adds up to a little more than one step.
    EXPECT_LE(maxChannelDifference(live, replay), 3);
}

TEST(SparseChalkBrush, ReplaysOfAStrokeAreIdenticalAndItsStampsTurn)
{
    auto stroke = recorded::strokeOf(recorded::record(101, 24, 255, 255, 255, 255, 4242),
        wavyPoints({ 40, 100 }, 9, 25));
    auto patterns = std::make_shared<PatternManager>();
    TestCanvas first(320, 240);
    TestCanvas second(320, 240);
    ASSERT_TRUE(replayStroke(*stroke, first, patterns));
    platform::rand(); // whatever ran in between
    ASSERT_TRUE(replayStroke(*stroke, second, patterns));
    EXPECT_EQ(maxChannelDifference(first, second), 0);

    // The same record without turning draws something else.
    auto straight = recorded::strokeOf(recorded::record(101, 24, 255, 255, 255, 255, 4243),
        wavyPoints({ 40, 100 }, 9, 25));
    TestCanvas other(320, 240);
    ASSERT_TRUE(replayStroke(*straight, other, patterns));
    EXPECT_GT(maxChannelDifference(first, other), 0);
}

TEST(PatternBrushGolden, FixedRecordsDrawTheirReferencePictures)
{
    struct Case {
        const char* name;
        int type;
        float size;
        uint8_t rgba[4];
        int mode;
    };
    const Case cases[] = {
        { "PatternBrush_51_mac_brush", 51, 20, { 240, 60, 200, 255 }, 0 },
        { "PatternBrush_64_colour_dots", 64, 24, { 40, 90, 250, 230 }, 0 },
        { "PatternBrush_66_crayon", 66, 22, { 250, 140, 20, 250 }, 1 },
        { "PatternBrush_72_heart", 72, 24, { 250, 40, 80, 255 }, 0 },
        { "PatternBrush_80_mirror4", 80, 16, { 40, 200, 90, 220 }, 4 },
        { "SparseChalkBrush_101_chalk", 101, 18, { 255, 255, 255, 255 }, 9 },
    };
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto stroke = recorded::strokeOf(
            recorded::record(c.type, c.size, c.rgba[0], c.rgba[1], c.rgba[2], c.rgba[3], 31337, c.mode),
            wavyPoints({ 30, 70 }, 11, 24));
        TestCanvas canvas(300, 240);
        ASSERT_TRUE(replayStroke(*stroke, canvas));
        EXPECT_EQ(compareWithGolden(recorded::onBackground(canvas, Qt::black), c.name, 3), "");
    }
}

#include "Classes/brushes/PatternBrush.h"
#include "BrushTestHelpers.h"
#include "Classes/brushes/PatternManager.h"

#include <set>

// Stamps are spaced in points, so a scale-2 screen stamps twice as densely.
TEST(PatternBrush, EveryLiveStrokeGetsAWholeSizeFrom14To24AndStampsOfThatSize)
{
    ScopedDeviceProfile retina(DeviceProfile::retinaPhone());
    PatternBrush brush(67, std::make_shared<PatternManager>());
    EXPECT_FLOAT_EQ(brush.space(), 1.5f);
    std::set<int> sizes;
    for (int i = 0; i < 200; ++i) {
        brush.prepareBrush();
        const float size = brush.brushData().size;
        ASSERT_TRUE(size == std::floor(size) && size >= 14 && size <= 24) << size;
        sizes.insert(static_cast<int>(size));
        ASSERT_TRUE(brush.patternArray());
        EXPECT_EQ(brush.patternArray()->front().pixelWidth(), static_cast<int>(size));
        EXPECT_EQ(brush.patternArray()->front().pixelHeight(), static_cast<int>(size));
    }
    // The clamped ends come up most often; something in between too.
    EXPECT_TRUE(sizes.count(14) && sizes.count(24) && sizes.size() > 2);
}

TEST(PatternBrush, ALongSegmentIsStampedOnlyUpToItsFiveHundredthPointAndATapOnce)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    TestCanvas canvas(3200, 40);
    PatternBrush brush(67, nullptr);
    brush.setColor(Color::rgba(1, 1, 1, 1));
    brush.prepareBrush();
    const float w = brush.brushData().size;
    // 3090 points of straight line would split into 2048 pieces of about 1.5.
    brush.drawStroke(canvas.context(), { 10, 20 }, { 1555, 20 }, { 3100, 20 });
    const int lastStamp = static_cast<int>(10 + 498 * (3090.0f / 2048));
    EXPECT_GT(canvas.alpha(lastStamp, 20), 0);
    for (int x = static_cast<int>(lastStamp + w / 2 + 2); x < 3200; ++x)
        ASSERT_EQ(canvas.alpha(x, 20), 0) << x;
    EXPECT_LE(brush.dirtyRect().maxX(), lastStamp + w / 2 + 2);

    // The stamp's square and the pixel around it that filtering may touch.
    TestCanvas tap(64, 64);
    EXPECT_EQ(brush.drawStroke(tap.context(), { 30, 30 }, { 30, 30 }, { 30, 30 }),
        Rect(29 - w / 2, 29 - w / 2, w + 2, w + 2));
    EXPECT_GT(tap.alpha(30, 30), 0);
}

TEST(PatternManager, CachesByTypeSizeAndColourButColourDotsFollowTheSeed)
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

    auto dots = [&](uint32_t seed) {
        return PatternManager().getPatternArrayBrushWithType(64, 24, red, seed)->front().qimage();
    };
    EXPECT_EQ(dots(7), dots(7));
    EXPECT_NE(dots(7), dots(8));
}

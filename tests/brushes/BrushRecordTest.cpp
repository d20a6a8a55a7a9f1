#include "BrushTestHelpers.h"

#include <tuple>
#include <utility>

TEST(BrushFactory, MakesTheBrushOfEachTypeWithTheDevicesSize)
{
    struct Case {
        int type;
        const char* name;
        float phoneSize, tabletSize;
    };
    const Case cases[] = { { 11, "RainbowBrush", 3.5f, 6 }, { 13, "PenBrush", 3.5f, 6 },
        { 16, "ShapeBrush", 3.5f, 5 }, { 17, "NeonBrush", 3, 6 }, { 23, "RubberBrush", 20, 30 },
        { 24, "NeonPenBrush", 3, 6 }, { 29, "SketchyBrush", 1.5f, 2 }, { 32, "CircleChasisBrush", 1, 2 },
        { 33, "CircleFlowerBrush", 1, 1 }, { 34, "NeonNecklaceBrush", 4, 6 }, { 37, "NeonBrightBrush", 3, 6 },
        { 67, "PatternBrush", 3.5f, 3.5f }, { 101, "PatternBrush", 3.5f, 3.5f } };
    for (const Case& c : cases) {
        for (bool tablet : { false, true }) {
            ScopedDeviceProfile device(tablet ? DeviceProfile::tablet() : DeviceProfile::phone());
            auto brush = Brush::createBrush(c.type, nullptr);
            ASSERT_TRUE(brush) << c.type;
            EXPECT_EQ(brush->name(), c.name);
            EXPECT_EQ(brush->brushData().type, static_cast<uint32_t>(c.type));
            EXPECT_EQ(brush->brushData().size, tablet ? c.tabletSize : c.phoneSize) << c.type;
        }
    }
    for (int type : { 0, 10, 12, 25, 49, 50, 52, 63, 65, 86, 100, 102, 255, -1 })
        EXPECT_FALSE(Brush::createBrush(type, nullptr)) << type;
    // Only the chalk's stamps jitter and turn.
    const brush_meta chalk = Brush::createBrush(101, nullptr)->brushData();
    EXPECT_EQ(chalk.hasJitter + chalk.hasRotation, 2u);
    EXPECT_EQ(Brush::createBrush(67, nullptr)->brushData().hasRotation, 0u);
}

// Sizes from the slider or a file stay within the device's bounds for the brush.
TEST(BrushSize, SizesClampToTheDevicesBoundsAndASizeEndsRandomColour)
{
    ScopedDeviceProfile phone(DeviceProfile::phone());
    for (auto [type, asked, kept] :
        { std::tuple { 13, 100.0f, 7.0f }, { 13, 1.0f, 3.0f }, { 23, 10.0f, 16.0f } }) {
        auto brush = Brush::createBrush(type, nullptr);
        EXPECT_EQ(brush->isRandomColor(), type != 23);
        brush->setSize(asked);
        EXPECT_EQ(brush->brushData().size, kept) << type << " " << asked;
        EXPECT_FALSE(brush->isRandomColor());
        // A size read from a file may be anything.
        EXPECT_EQ(brush->clampSize(std::nanf("")), type == 13 ? 7.0f : 100.0f);
    }
}

TEST(BrushColour, SolidColoursAreStoredAsTruncatedBytesWithFullAlpha)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    auto bytes = [](const Brush& b) {
        const brush_meta& m = b.brushData();
        return std::make_tuple(int(m.red), int(m.green), int(m.blue), int(m.alpha));
    };
    auto pen = Brush::createBrush(13, nullptr);
    pen->setColor(Color::rgba(0.5f, 1.0f, 0.999f, 0.2f));
    EXPECT_EQ(bytes(*pen), std::make_tuple(127, 255, 254, 255));
    // The pattern table's own alpha (200 for this type) gives way too.
    auto pattern = Brush::createBrush(70, nullptr);
    EXPECT_EQ(pattern->brushData().alpha, 200);
    pattern->setColor(Color::rgba(0.2f, 0.4f, 0.6f, 0.3f));
    pattern->prepareBrush();
    EXPECT_EQ(bytes(*pattern), std::make_tuple(51, 102, 153, 255));

    // Neon keeps only the hue, at full saturation and brightness.
    auto neon = Brush::createBrush(17, nullptr);
    // (That the glow is drawn in the colour its record keeps, the replay test pins.)
    for (Color chosen : { Color::rgba(0.4f, 0, 0), Color::rgba(1, 0.6f, 0.6f) }) {
        neon->setColor(chosen);
        EXPECT_EQ(bytes(*neon), std::make_tuple(255, 0, 0, 255));
    }
    // Not the textbook hue of 40 degrees: the hue function does not normalise.
    neon->setColor(Color::rgba(0.5f, 0.4f, 0.2f));
    EXPECT_EQ(bytes(*neon), std::make_tuple(255, 51, 0, 255));
}

TEST(BrushColour, RandomColoursKeepTheirBrushesAlphaFloor)
{
    seedRandomness();
    for (auto [type, floor] :
        { std::pair { 70, 200 }, { 101, 200 }, { 32, 200 }, { 33, 200 }, { 16, 237 } }) {
        auto brush = Brush::createBrush(type, nullptr);
        for (int i = 0; i < 100; ++i) {
            brush->prepareBrush();
            ASSERT_GE(brush->brushData().alpha, floor) << type;
        }
    }
}

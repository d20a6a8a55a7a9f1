#include "BrushTestHelpers.h"
#include "Classes/brushes/SparseChalkBrush.h"

#include <tuple>
#include <utility>

using namespace brushtest;

TEST(BrushFactory, MakesTheBrushOfEachTypeWithTheDevicesSizes)
{
    struct Case {
        DeviceProfile profile;
        int type;
        const char* name;
        float size, maxSize;
    };
    const DeviceProfile tablet = DeviceProfile::tablet(), phone = DeviceProfile::phone(),
                        retina = DeviceProfile::retinaPhone();
    const Case cases[] = {
        { tablet, 17, "NeonBrush", 6, 8 }, { tablet, 34, "NeonNecklaceBrush", 6, 8 }, { tablet, 13, "PenBrush", 6, 12 },
        { tablet, 16, "ShapeBrush", 5, 12 }, { tablet, 29, "SketchyBrush", 2, 12 }, { tablet, 23, "RubberBrush", 30, 100 },
        { tablet, 32, "CircleChasisBrush", 2, 3 }, { tablet, 33, "CircleFlowerBrush", 1, 3 },
        { phone, 67, "PatternBrush", 3.5f, 24 }, { phone, 17, "NeonBrush", 3, 4 }, { phone, 34, "NeonNecklaceBrush", 4, 5 },
        { phone, 37, "NeonBrightBrush", 3, 4 }, { phone, 13, "PenBrush", 3.5f, 7 }, { phone, 16, "ShapeBrush", 3.5f, 7 },
        { phone, 29, "SketchyBrush", 1.5f, 3 }, { phone, 23, "RubberBrush", 20, 100 },
        { retina, 24, "NeonPenBrush", 3, 5 }, { retina, 34, "NeonNecklaceBrush", 3, 4 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.profile.name << " type " << c.type);
        ScopedDeviceProfile device(c.profile);
        auto brush = Brush::createBrush(c.type, nullptr);
        ASSERT_TRUE(brush);
        EXPECT_EQ(brush->name(), c.name);
        EXPECT_EQ(brush->brushData().type, static_cast<uint32_t>(c.type));
        EXPECT_EQ(brush->brushData().size, c.size);
        EXPECT_EQ(brush->maxSize(), c.maxSize);
    }
    for (int type : { 0, 10, 12, 25, 49, 50, 52, 63, 65, 86, 100, 102, 255, -1 })
        EXPECT_FALSE(Brush::createBrush(type, nullptr)) << type;
    // The chalk is a pattern brush whose stamps jitter and turn.
    auto chalk = Brush::createBrush(101, nullptr);
    ASSERT_TRUE(dynamic_cast<SparseChalkBrush*>(chalk.get()));
    EXPECT_EQ(chalk->brushData().hasJitter + chalk->brushData().hasRotation, 2u);
    EXPECT_EQ(Brush::createBrush(67, nullptr)->brushData().hasRotation, 0u);
}

TEST(BrushSize, SizesClampToTheDevicesBoundsAndASizeEndsRandomColour)
{
    ScopedDeviceProfile phone(DeviceProfile::phone());
    auto pen = Brush::createBrush(13, nullptr);
    EXPECT_TRUE(pen->isRandomColor());
    pen->setSize(100);
    EXPECT_EQ(pen->brushData().size, 7.0f);
    EXPECT_FALSE(pen->isRandomColor());
    pen->setSize(1);
    EXPECT_EQ(pen->brushData().size, 3.0f);
    EXPECT_EQ(pen->clampSize(std::nanf("")), 7.0f);
    auto rubber = Brush::createBrush(23, nullptr);
    rubber->setSize(10);
    EXPECT_EQ(rubber->brushData().size, 16.0f);
    rubber->setColor(Color::rgba(1, 0, 0));
    EXPECT_FALSE(rubber->isRandomColor());
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
    for (Color chosen : { Color::rgba(0.4f, 0, 0), Color::rgba(1, 0.6f, 0.6f), Color::rgba(0.5f, 0.5f, 0.5f) }) {
        neon->setColor(chosen);
        EXPECT_EQ(bytes(*neon), std::make_tuple(255, 0, 0, 255));
        EXPECT_EQ(*neon->brushColor(), Color::rgba(1, 0, 0, 1));
    }
    // Not the textbook hue of 40 degrees: the hue function does not normalise.
    neon->setColor(Color::rgba(0.5f, 0.4f, 0.2f));
    EXPECT_EQ(*neon->brushColor(), Color::hsba(12.0f / 360, 1, 1, 1));
}

TEST(BrushColour, RandomColoursKeepTheirBrushesAlphaFloor)
{
    seedRandomness();
    for (auto [type, floor] : { std::pair { 70, 200 }, { 64, 200 }, { 101, 200 }, { 32, 200 }, { 33, 200 }, { 16, 237 } }) {
        auto brush = Brush::createBrush(type, nullptr);
        for (int i = 0; i < 100; ++i) {
            brush->prepareBrush();
            ASSERT_GE(brush->brushData().alpha, floor) << type;
        }
    }
}

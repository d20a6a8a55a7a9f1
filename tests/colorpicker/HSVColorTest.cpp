#include "Classes/colorpicker/HSVColor.h"

#include <gtest/gtest.h>

using platform::Color;

TEST(HSVColorTest, KeepsItsComponentsAndTheColourBuiltFromThem)
{
    HSVColor entry(0.375f, 1.0f, 1.0f, 1.0f);
    HSVColor::HSV hsv = entry.hsv();
    EXPECT_EQ(hsv.h, 0.375f);
    EXPECT_EQ(hsv.s, 1.0f);
    EXPECT_EQ(hsv.v, 1.0f);
    EXPECT_EQ(hsv.a, 1.0f);
    EXPECT_EQ(entry.color(), Color::hsba(0.375f, 1, 1, 1));
    EXPECT_EQ(entry.getColor(), entry.color());

    HSVColor pale(0.5f, 0.25f, 0.8f, 0.5f);
    EXPECT_NEAR(pale.color().red, 0.6f, 1e-6);
    EXPECT_NEAR(pale.color().green, 0.8f, 1e-6);
    EXPECT_NEAR(pale.color().blue, 0.8f, 1e-6);
    EXPECT_EQ(pale.color().alpha, 0.5f);
}

TEST(HSVColorTest, HueOfFullySaturatedColoursIsTheTextbookHue)
{
    EXPECT_FLOAT_EQ(getHueOfColor(Color::rgba(1, 0, 0)), 0.0f);
    EXPECT_FLOAT_EQ(getHueOfColor(Color::rgba(0, 1, 0)), 1.0f / 3);
    EXPECT_FLOAT_EQ(getHueOfColor(Color::rgba(0, 0, 1)), 2.0f / 3);
    EXPECT_FLOAT_EQ(getHueOfColor(Color::rgba(1, 1, 0)), 1.0f / 6);
    EXPECT_FLOAT_EQ(getHueOfColor(Color::rgba(0, 1, 1)), 0.5f);
    EXPECT_FLOAT_EQ(getHueOfColor(Color::rgba(1, 0, 1)), 300.0f / 360);
    for (int i = 0; i < 12; ++i) {
        float hue = i / 12.0f;
        EXPECT_NEAR(getHueOfColor(Color::hsba(hue, 1, 1)), hue, 1e-5) << i;
    }
}

TEST(HSVColorTest, HueOfOtherColoursIsNotRescaledByTheirRange)
{
    // Textbook 40 degrees; the brushes use 60 × (g − b) = 12 degrees.
    EXPECT_NEAR(getHueOfColor(Color::rgba(0.5f, 0.4f, 0.2f)), 12.0 / 360, 1e-6);
    // Green largest: 60 × (b − r) + 120 = 60 × 0.1 + 120.
    EXPECT_NEAR(getHueOfColor(Color::rgba(0.2f, 0.5f, 0.3f)), 126.0 / 360, 1e-6);
    // Blue largest: 60 × (r − g) + 240 = 60 × (−0.3) + 240.
    EXPECT_NEAR(getHueOfColor(Color::rgba(0.1f, 0.4f, 0.6f)), 222.0 / 360, 1e-6);
    // Red largest with g < b wraps past 360: 60 × (−0.2) + 360.
    EXPECT_NEAR(getHueOfColor(Color::rgba(0.6f, 0.1f, 0.3f)), 348.0 / 360, 1e-6);
    EXPECT_GT(getHueOfColor(Color::rgba(0.6f, 0.1f, 0.3f)), 0.5f);
}

TEST(HSVColorTest, TiesPickRedThenGreen)
{
    // r = g beats b: red wins, so the hue is 60 × (g − b).
    EXPECT_NEAR(getHueOfColor(Color::rgba(0.8f, 0.8f, 0.2f)), 60 * 0.6 / 360, 1e-6);
    // g = b above r: green wins, 60 × (b − r) + 120.
    EXPECT_NEAR(getHueOfColor(Color::rgba(0.2f, 0.8f, 0.8f)), (60 * 0.6 + 120) / 360, 1e-6);
}

TEST(HSVColorTest, GreysHaveHueAndSaturationZero)
{
    for (float v : { 0.0f, 0.3f, 0.5f, 1.0f }) {
        EXPECT_EQ(getHueOfColor(Color::rgba(v, v, v)), 0.0f) << v;
        EXPECT_EQ(getSaturationOfColor(Color::rgba(v, v, v)), 0.0f) << v;
    }
}

TEST(HSVColorTest, SaturationIsTheComponentRangeNotDividedByMax)
{
    EXPECT_FLOAT_EQ(getSaturationOfColor(Color::rgba(0.5f, 0.4f, 0.2f)), 0.3f);
    EXPECT_FLOAT_EQ(getSaturationOfColor(Color::rgba(0.2f, 0.5f, 0.4f)), 0.3f);
    EXPECT_FLOAT_EQ(getSaturationOfColor(Color::rgba(0.4f, 0.2f, 0.5f)), 0.3f);
    EXPECT_FLOAT_EQ(getSaturationOfColor(Color::rgba(1, 0, 0)), 1.0f);
    EXPECT_FLOAT_EQ(getSaturationOfColor(Color::rgba(0.25f, 0.5f, 0.5f)), 0.25f);
    // Alpha plays no part.
    EXPECT_FLOAT_EQ(getSaturationOfColor(Color::rgba(0.5f, 0.4f, 0.2f, 0.1f)), 0.3f);
}

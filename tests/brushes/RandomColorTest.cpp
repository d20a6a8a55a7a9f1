#include "BrushTestHelpers.h"

TEST(RandomColour, BrushColoursCycleThroughTheEightHuesKeepingNegativeHuesRaw)
{
    seedRandomness();
    const float tableHues[]
        = { 0, 1.0f / 12, 2.0f / 12, 4.0f / 12, 6.0f / 12, 8.0f / 12, 10.0f / 12, 11.0f / 12 };
    bool sawNegative = false;
    for (int i = 0; i < 200; ++i) {
        SCOPED_TRACE(i);
        Color c = randomColor();
        const RandomColorState& s = randomColorState();
        EXPECT_NEAR(s.hue, tableHues[i % 8], 0.0625f);
        EXPECT_TRUE(s.saturation >= 0.9f && s.bright >= 0.9f && s.alpha >= 0.5f && s.alpha < 1.0f);
        // A hue below zero stays so in the state and wraps round in the colour.
        float h, saturation, brightness;
        c.getHsb(h, saturation, brightness);
        EXPECT_NEAR(h, s.hue < 0 ? 1.0f + s.hue : s.hue, 1e-4);
        EXPECT_NEAR(c.alpha, s.alpha, 1e-6);
        sawNegative |= s.hue < 0;
    }
    EXPECT_TRUE(sawNegative);
}

// Three dark, white, three light, black; dark hues move one sextant each time.
TEST(RandomColour, BackgroundsRunDarkWhiteLightBlackAndSetTheBrushBrightness)
{
    seedRandomness();
    int darkCount = 0;
    const float eps = 1e-4f;
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(i + 1);
        Color c = randomBackgroundColor();
        float h, s, b;
        c.getHsb(h, s, b);
        EXPECT_EQ(c.alpha, 1.0f);
        if (i % 8 < 3) {
            const int sextant = darkCount++ % 6;
            EXPECT_TRUE(s >= 0.5f - eps && b >= 0.2f - eps && b < 0.45f) << s << " " << b;
            EXPECT_TRUE(h * 6 >= sextant - eps && h * 6 < sextant + 1 + eps) << h;
        } else if (i % 8 > 3 && i % 8 < 7) {
            EXPECT_TRUE(s < 0.5f && b >= 0.6f - eps) << s << " " << b;
        } else {
            EXPECT_EQ(c, i % 8 == 3 ? Color::white() : (Color { 0, 0, 0, 1 }));
            // Brush colours run darker after a white background than after a black one.
            float lo = 1;
            for (int k = 0; k < 300; ++k) {
                randomColor();
                lo = std::fmin(lo, randomColorState().bright);
                ASSERT_LT(randomColorState().bright, 1.0f);
            }
            EXPECT_TRUE(i % 8 == 3 ? lo >= 0.7f && lo < 0.75f : lo >= 0.9f) << lo;
        }
    }
    resetRandomColorStateForTesting();
}

#include "Classes/brushes/UIColorRandom.h"

#include "platform/system/Random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

using platform::Color;

namespace {

constexpr std::array<float, 8> tableHues { 0.0f, 1.0f / 12, 2.0f / 12, 4.0f / 12, 6.0f / 12, 8.0f / 12, 10.0f / 12,
    11.0f / 12 };

// Every test starts from the cycles' first positions with a known seed.
class RandomColorTest : public testing::Test {
protected:
    void SetUp() override
    {
        resetRandomColorStateForTesting();
        initRandom();
        platform::srandom(20120301);
    }
    void TearDown() override { resetRandomColorStateForTesting(); }
};

std::array<float, 3> hsbOf(const Color& c)
{
    std::array<float, 3> hsb {};
    c.getHsb(hsb[0], hsb[1], hsb[2]);
    return hsb;
}

}

TEST_F(RandomColorTest, RandRangeScalesRandomAndInitRandomSeedsOnlyOnce)
{
    platform::srandom(1);
    // glibc's first random() values after srandom(1).
    EXPECT_FLOAT_EQ(randRange(0, 1), static_cast<float>(1804289383 / 2147483648.0));
    EXPECT_FLOAT_EQ(randRange(-1, 1), static_cast<float>(-1 + 2 * (846930886 / 2147483648.0)));
    platform::srandom(99);
    const int32_t expected = platform::random();
    platform::srandom(99);
    initRandom();
    EXPECT_EQ(platform::random(), expected);
}

TEST_F(RandomColorTest, BrushColoursCycleThroughTheEightHuesKeepingNegativeHuesRaw)
{
    bool sawNegative = false;
    for (int i = 0; i < 200; ++i) {
        SCOPED_TRACE(i);
        Color c = randomColor();
        const RandomColorState& s = randomColorState();
        EXPECT_GE(s.hue, tableHues[i % 8] - 0.0625f);
        EXPECT_LT(s.hue, tableHues[i % 8] + 0.0625f);
        EXPECT_GE(s.saturation, 0.9f);
        EXPECT_GE(s.bright, 0.9f);
        EXPECT_GE(s.alpha, 0.5f);
        EXPECT_LT(s.alpha, 1.0f);
        // A hue below zero stays so in the state and wraps round in the colour.
        EXPECT_NEAR(hsbOf(c)[0], s.hue < 0 ? 1.0f + s.hue : s.hue, 1e-4);
        EXPECT_NEAR(c.alpha, s.alpha, 1e-6);
        sawNegative |= s.hue < 0;
    }
    EXPECT_TRUE(sawNegative);
}

TEST_F(RandomColorTest, MinAlphaVariantClampsItsRangeAndKeepsTheHueCycle)
{
    for (int i = 0; i < 200; ++i) {
        Color c = randomColorWithMinAlpha(-1, 2);
        ASSERT_GE(c.alpha, 0.0f);
        ASSERT_LT(c.alpha, 1.0f);
    }
    Color narrow = randomColorWithMinAlpha(0.3f, 0.4f);
    EXPECT_GE(narrow.alpha, 0.3f);
    EXPECT_LT(narrow.alpha, 0.4f);
    EXPECT_EQ(randomColorState().hueIndex, 201 % 8);
}

TEST_F(RandomColorTest, GlowColoursAreFullyBrightTableHuesAndRainbowRepeatsEvery21)
{
    for (int i = 0; i < 16; ++i) {
        Color c = randomGlowColor();
        auto [h, s, b] = hsbOf(c);
        EXPECT_NEAR(s, 1.0f, 1e-6);
        EXPECT_NEAR(b, 1.0f, 1e-6);
        EXPECT_EQ(c.alpha, 1.0f);
        float distance = std::fabs(h - tableHues[i % 8]);
        EXPECT_LE(std::fmin(distance, 1 - distance), 0.0375f + 1e-5f) << i;
    }
    resetRandomColorStateForTesting();
    std::vector<Color> first;
    for (int k = 0; k < 21; ++k) {
        first.push_back(randomRainbowColor());
        EXPECT_NEAR(hsbOf(first.back())[0], k / 21.0f, 1e-5) << k;
    }
    for (int k = 0; k < 21; ++k)
        EXPECT_EQ(randomRainbowColor(), first[static_cast<size_t>(k)]) << k;
}

// Three dark, white, three light, black; dark hues move one sextant each time.
TEST_F(RandomColorTest, BackgroundsRunDarkWhiteLightBlack)
{
    enum Kind { Dark, White, Light, Black };
    const Kind cycle[] = { Dark, Dark, Dark, White, Light, Light, Light, Black };
    int darkCount = 0;
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(i + 1);
        Color c = randomBackgroundColor();
        auto [h, s, b] = hsbOf(c);
        EXPECT_EQ(c.alpha, 1.0f);
        switch (cycle[i % 8]) {
        case Dark: {
            EXPECT_GE(s, 0.5f - 1e-5f);
            EXPECT_GE(b, 0.2f - 1e-5f);
            EXPECT_LT(b, 0.45f);
            const float sextant = static_cast<float>(darkCount++ % 6);
            EXPECT_GE(h * 6, sextant - 1e-4f);
            EXPECT_LT(h * 6, sextant + 1 + 1e-4f);
            break;
        }
        case Light:
            EXPECT_LT(s, 0.5f);
            EXPECT_GE(b, 0.6f - 1e-5f);
            break;
        case White:
            EXPECT_EQ(c, Color::white());
            break;
        case Black:
            EXPECT_EQ(c, (Color { 0, 0, 0, 1 }));
            break;
        }
    }
}

TEST_F(RandomColorTest, BrushBrightnessDependsOnTheLastSpecialBackground)
{
    auto brightnessRange = [] {
        float lo = 1, hi = 0;
        for (int i = 0; i < 300; ++i) {
            randomColor();
            lo = std::fmin(lo, randomColorState().bright);
            hi = std::fmax(hi, randomColorState().bright);
        }
        return std::pair { lo, hi };
    };
    for (int i = 0; i < 4; ++i)
        randomBackgroundColor();
    auto [afterWhiteLo, afterWhiteHi] = brightnessRange();
    EXPECT_GE(afterWhiteLo, 0.7f);
    EXPECT_LT(afterWhiteLo, 0.75f);
    EXPECT_LT(afterWhiteHi, 1.0f);
    for (int i = 0; i < 4; ++i)
        randomBackgroundColor();
    auto [afterBlackLo, afterBlackHi] = brightnessRange();
    EXPECT_GE(afterBlackLo, 0.9f);
    EXPECT_LT(afterBlackHi, 1.0f);
}

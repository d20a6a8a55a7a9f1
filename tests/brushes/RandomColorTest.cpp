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

float hueOf(const Color& c)
{
    float h, s, b;
    c.getHsb(h, s, b);
    return h;
}

void expectSameColor(const Color& a, const Color& b)
{
    EXPECT_NEAR(a.red, b.red, 1e-6);
    EXPECT_NEAR(a.green, b.green, 1e-6);
    EXPECT_NEAR(a.blue, b.blue, 1e-6);
    EXPECT_NEAR(a.alpha, b.alpha, 1e-6);
}

}

TEST_F(RandomColorTest, RandRangeScalesTheNextRandomValue)
{
    platform::srandom(1);
    // glibc's first random() after srandom(1) is 1804289383.
    EXPECT_FLOAT_EQ(randRange(0, 1), static_cast<float>(1804289383 / 2147483648.0));
    EXPECT_FLOAT_EQ(randRange(-1, 1), static_cast<float>(-1 + 2 * (846930886 / 2147483648.0)));
    platform::srandom(7);
    for (int i = 0; i < 1000; ++i) {
        float v = randRange(0.25f, 0.5f);
        ASSERT_GE(v, 0.25f);
        ASSERT_LT(v, 0.5f);
    }
}

TEST_F(RandomColorTest, InitRandomSeedsOnlyOnce)
{
    resetRandomColorStateForTesting();
    initRandom();
    EXPECT_TRUE(randomColorState().seeded);
    platform::srandom(99);
    int32_t expected = platform::random();
    platform::srandom(99);
    initRandom();
    EXPECT_EQ(platform::random(), expected);
}

TEST_F(RandomColorTest, BrushColoursCycleThroughTheEightHuesThenRepeat)
{
    for (int round = 0; round < 2; ++round) {
        for (size_t i = 0; i < tableHues.size(); ++i) {
            SCOPED_TRACE(i);
            Color c = randomColor();
            const RandomColorState& s = randomColorState();
            EXPECT_GE(s.hue, tableHues[i] - 0.0625f);
            EXPECT_LT(s.hue, tableHues[i] + 0.0625f);
            EXPECT_GE(s.saturation, 0.9f);
            EXPECT_GE(s.bright, 0.9f);
            EXPECT_GE(s.alpha, 0.5f);
            EXPECT_LT(s.alpha, 1.0f);
            expectSameColor(c, Color::hsba(s.hue, s.saturation, s.bright, s.alpha));
        }
    }
    EXPECT_EQ(randomColorState().hueIndex, 0);
}

TEST_F(RandomColorTest, HueBelowZeroIsKeptRawAndWrapsInTheColour)
{
    bool sawNegative = false;
    for (int i = 0; i < 200 && !sawNegative; ++i) {
        Color c = randomColor();
        const RandomColorState& s = randomColorState();
        if (s.hue < 0) {
            sawNegative = true;
            EXPECT_NEAR(hueOf(c), 1.0f + s.hue, 1e-4);
        }
    }
    EXPECT_TRUE(sawNegative);
}

TEST_F(RandomColorTest, RandomHSBAReturnsTheAlphaItStores)
{
    float alpha = randomHSBA();
    EXPECT_EQ(alpha, randomColorState().alpha);
    EXPECT_EQ(randomColorState().hueIndex, 1);
}

TEST_F(RandomColorTest, MinAlphaVariantClampsItsRangeAndKeepsTheHueCycle)
{
    for (int i = 0; i < 200; ++i) {
        Color c = randomColorWithMinAlpha(-1, 2);
        ASSERT_GE(c.alpha, 0.0f);
        ASSERT_LT(c.alpha, 1.0f);
        ASSERT_EQ(c.alpha, randomColorState().alpha);
    }
    Color narrow = randomColorWithMinAlpha(0.3f, 0.4f);
    EXPECT_GE(narrow.alpha, 0.3f);
    EXPECT_LT(narrow.alpha, 0.4f);
    // 201 colours so far: the next hue index is 201 mod 8.
    EXPECT_EQ(randomColorState().hueIndex, 201 % 8);
}

TEST_F(RandomColorTest, GlowColoursAreFullyBrightTableHues)
{
    for (int round = 0; round < 2; ++round) {
        for (float base : tableHues) {
            Color c = randomGlowColor();
            float h, s, b;
            c.getHsb(h, s, b);
            EXPECT_NEAR(s, 1.0f, 1e-6);
            EXPECT_NEAR(b, 1.0f, 1e-6);
            EXPECT_EQ(c.alpha, 1.0f);
            // Compare on the circle: a hue just below 0 comes back near 1.
            float distance = std::fabs(h - base);
            distance = std::fmin(distance, 1 - distance);
            EXPECT_LE(distance, 0.0375f + 1e-5f);
        }
    }
}

TEST_F(RandomColorTest, GlowStartsAtTheFirstHueWhenUnseeded)
{
    resetRandomColorStateForTesting();
    randomGlowColor();
    EXPECT_TRUE(randomColorState().seeded);
    EXPECT_EQ(randomColorState().glowPosition, 1);
}

TEST_F(RandomColorTest, RainbowSteps21HuesThenRepeatsExactly)
{
    for (bool seededFirst : { false, true }) {
        SCOPED_TRACE(seededFirst);
        resetRandomColorStateForTesting();
        if (seededFirst)
            initRandom();
        std::vector<Color> first;
        for (int k = 0; k < 21; ++k) {
            Color c = randomRainbowColor();
            first.push_back(c);
            EXPECT_NEAR(hueOf(c), k / 21.0f, 1e-5) << k;
        }
        for (int k = 0; k < 21; ++k)
            EXPECT_EQ(randomRainbowColor(), first[static_cast<size_t>(k)]) << k;
    }
}

TEST_F(RandomColorTest, BackgroundsRunDarkWhiteLightBlack)
{
    enum Kind { Dark, White, Light, Black };
    const Kind cycle[] = { Dark, Dark, Dark, White, Light, Light, Light, Black };
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(i + 1);
        Color c = randomBackgroundColor();
        float h, s, b;
        c.getHsb(h, s, b);
        EXPECT_EQ(c.alpha, 1.0f);
        switch (cycle[i % 8]) {
        case Dark:
            EXPECT_GE(s, 0.5f - 1e-5f);
            EXPECT_GE(b, 0.2f - 1e-5f);
            EXPECT_LT(b, 0.45f);
            EXPECT_EQ(randomColorState().backgroundType, 1);
            break;
        case Light:
            EXPECT_LT(s, 0.5f);
            EXPECT_GE(b, 0.6f - 1e-5f);
            EXPECT_EQ(randomColorState().backgroundType, 2);
            break;
        case White:
            EXPECT_EQ(c, Color::white());
            EXPECT_EQ(randomColorState().backgroundType, 2);
            break;
        case Black:
            EXPECT_EQ(c, getBlackColor());
            EXPECT_EQ(randomColorState().backgroundType, 1);
            break;
        }
    }
    EXPECT_EQ(randomColorState().backgroundSwitchTimes, 25);
}

TEST_F(RandomColorTest, DarkBackgroundHuesMoveOneSextantEachTime)
{
    // Nine dark backgrounds come from three rounds of the cycle; the sextant
    // index wraps after six.
    std::vector<float> darkHues;
    for (int i = 0; i < 24; ++i) {
        Color c = randomBackgroundColor();
        if (i % 8 < 3)
            darkHues.push_back(hueOf(c));
    }
    ASSERT_EQ(darkHues.size(), 9u);
    for (size_t i = 0; i < darkHues.size(); ++i) {
        float sextant = static_cast<float>(i % 6);
        EXPECT_GE(darkHues[i] * 6, sextant - 1e-4f) << i;
        EXPECT_LT(darkHues[i] * 6, sextant + 1 + 1e-4f) << i;
    }
    EXPECT_EQ(randomColorState().darkIndex, 3);
    EXPECT_EQ(randomColorState().lightIndex, 3);
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
    ASSERT_EQ(randomColorState().backgroundType, 2);
    auto [afterWhiteLo, afterWhiteHi] = brightnessRange();
    EXPECT_GE(afterWhiteLo, 0.7f);
    EXPECT_LT(afterWhiteLo, 0.75f);
    EXPECT_LT(afterWhiteHi, 1.0f);

    for (int i = 0; i < 4; ++i)
        randomBackgroundColor();
    ASSERT_EQ(randomColorState().backgroundType, 1);
    auto [afterBlackLo, afterBlackHi] = brightnessRange();
    EXPECT_GE(afterBlackLo, 0.9f);
    EXPECT_LT(afterBlackHi, 1.0f);
}

TEST_F(RandomColorTest, BlackIsOpaqueDeviceBlack)
{
    EXPECT_EQ(getBlackColor(), (Color { 0, 0, 0, 1 }));
}

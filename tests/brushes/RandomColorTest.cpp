#include "BrushTestHelpers.h"

#include <utility>

using namespace brushtest;

namespace {

constexpr std::array<float, 8> tableHues { 0.0f, 1.0f / 12, 2.0f / 12, 4.0f / 12, 6.0f / 12, 8.0f / 12, 10.0f / 12,
    11.0f / 12 };

// Every test starts from the cycles' first positions with a known seed.
class RandomColorTest : public testing::Test {
protected:
    void SetUp() override { seedRandomness(); }
    void TearDown() override { resetRandomColorStateForTesting(); }
};

std::array<float, 3> hsbOf(const Color& c)
{
    std::array<float, 3> hsb {};
    c.getHsb(hsb[0], hsb[1], hsb[2]);
    return hsb;
}

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
        EXPECT_TRUE(s.saturation >= 0.9f && s.bright >= 0.9f && s.alpha >= 0.5f && s.alpha < 1.0f);
        // A hue below zero stays so in the state and wraps round in the colour.
        EXPECT_NEAR(hsbOf(c)[0], s.hue < 0 ? 1.0f + s.hue : s.hue, 1e-4);
        EXPECT_NEAR(c.alpha, s.alpha, 1e-6);
        sawNegative |= s.hue < 0;
    }
    EXPECT_TRUE(sawNegative);
    // Seeding again would repeat the colours of the last painting.
    platform::srandom(99);
    const int32_t expected = platform::random();
    platform::srandom(99);
    initRandom();
    EXPECT_EQ(platform::random(), expected);
}

TEST_F(RandomColorTest, GlowColoursAreFullyBrightTableHuesAndRainbowRepeatsEvery21)
{
    for (int i = 0; i < 16; ++i) {
        Color c = randomGlowColor();
        auto [h, s, b] = hsbOf(c);
        EXPECT_TRUE(std::fabs(s - 1) < 1e-6f && std::fabs(b - 1) < 1e-6f && c.alpha == 1.0f) << i;
        const float distance = std::fabs(h - tableHues[i % 8]);
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
    int darkCount = 0;
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(i + 1);
        Color c = randomBackgroundColor();
        auto [h, s, b] = hsbOf(c);
        EXPECT_EQ(c.alpha, 1.0f);
        const float eps = 1e-4f;
        switch ("DDDWLLLB"[i % 8]) {
        case 'D': {
            const float sextant = static_cast<float>(darkCount++ % 6);
            EXPECT_TRUE(s >= 0.5f - eps && b >= 0.2f - eps && b < 0.45f) << s << " " << b;
            EXPECT_TRUE(h * 6 >= sextant - eps && h * 6 < sextant + 1 + eps) << h;
            break;
        }
        case 'L':
            EXPECT_TRUE(s < 0.5f && b >= 0.6f - eps) << s << " " << b;
            break;
        case 'W':
            EXPECT_EQ(c, Color::white());
            break;
        default:
            EXPECT_EQ(c, (Color { 0, 0, 0, 1 }));
        }
    }
}

TEST_F(RandomColorTest, BrushBrightnessDependsOnTheLastSpecialBackground)
{
    auto brightnessRange = [] {
        for (int i = 0; i < 4; ++i)
            randomBackgroundColor();
        float lo = 1, hi = 0;
        for (int i = 0; i < 300; ++i) {
            randomColor();
            lo = std::fmin(lo, randomColorState().bright);
            hi = std::fmax(hi, randomColorState().bright);
        }
        return std::pair { lo, hi };
    };
    auto [afterWhiteLo, afterWhiteHi] = brightnessRange();
    EXPECT_GE(afterWhiteLo, 0.7f);
    EXPECT_LT(afterWhiteLo, 0.75f);
    EXPECT_LT(afterWhiteHi, 1.0f);
    auto [afterBlackLo, afterBlackHi] = brightnessRange();
    EXPECT_GE(afterBlackLo, 0.9f);
    EXPECT_LT(afterBlackHi, 1.0f);
}

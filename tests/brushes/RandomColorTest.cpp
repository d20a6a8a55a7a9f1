#include "BrushTestHelpers.h"

using namespace brushtest;

namespace {

constexpr std::array<float, 8> tableHues { 0.0f, 1.0f / 12, 2.0f / 12, 4.0f / 12, 6.0f / 12, 8.0f / 12,
    10.0f / 12, 11.0f / 12 };

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
        EXPECT_NEAR(s.hue, tableHues[i % 8], 0.0625f);
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

// Three dark, white, three light, black; dark hues move one sextant each time.
TEST_F(RandomColorTest, BackgroundsRunDarkWhiteLightBlackAndSetTheBrushBrightness)
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
        // Brush colours run darker after a white background than after a black one.
        if (i % 8 == 3 || i % 8 == 7) {
            float lo = 1;
            for (int k = 0; k < 300; ++k) {
                randomColor();
                lo = std::fmin(lo, randomColorState().bright);
                ASSERT_LT(randomColorState().bright, 1.0f);
            }
            EXPECT_TRUE(i % 8 == 3 ? lo >= 0.7f && lo < 0.75f : lo >= 0.9f) << lo;
        }
    }
}

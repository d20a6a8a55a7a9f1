#include "Classes/brushes/UIColorRandom.h"

#include "platform/system/Random.h"

#include <array>

namespace {

// Per thread; only the owning thread touches it.
thread_local RandomColorState state;

// 0, 30, 60, 120, 180, 240, 300 and 330 degrees.
constexpr std::array<float, 8> hueOption {
    0.0f, 1.0f / 12, 2.0f / 12, 4.0f / 12, 6.0f / 12, 8.0f / 12, 10.0f / 12, 11.0f / 12,
};

constexpr int32_t lastHueIndex = static_cast<int32_t>(hueOption.size()) - 1;
constexpr int32_t lastRainbowSegment = 20;
constexpr int32_t lastSextant = 5;

}

const RandomColorState& randomColorState()
{
    return state;
}

void resetRandomColorStateForTesting()
{
    state = RandomColorState {};
}

float randRange(float min, float max)
{
    const double r = platform::random();
    return static_cast<float>(min + (max - min) * r / 2147483648.0);
}

void initRandom()
{
    if (state.seeded)
        return;
    state.seeded = true;
    platform::srandom(platform::timeSeed());
}

float randomHSBA()
{
    initRandom();
    state.hue = hueOption[static_cast<size_t>(state.hueIndex)];
    ++state.hueIndex;
    state.hue += randRange(-0.0625f, 0.0625f);
    if (state.hueIndex > lastHueIndex)
        state.hueIndex = 0;
    state.saturation = randRange(0.9f, 1.0f);
    // Brush colours stay brighter on dark backgrounds.
    state.bright = state.backgroundType == 1 ? randRange(0.9f, 1.0f) : randRange(0.7f, 1.0f);
    state.alpha = randRange(0.5f, 1.0f);
    return state.alpha;
}

platform::Color randomColor()
{
    randomHSBA();
    return platform::Color::hsba(state.hue, state.saturation, state.bright, state.alpha);
}

platform::Color randomColorWithMinAlpha(float lo, float hi)
{
    if (lo < 0)
        lo = 0;
    if (hi > 1)
        hi = 1;
    randomHSBA();
    state.alpha = randRange(lo, hi);
    return platform::Color::hsba(state.hue, state.saturation, state.bright, state.alpha);
}

platform::Color randomGlowColor()
{
    if (!state.seeded) {
        initRandom();
        state.glowPosition = 0;
    }
    float h = hueOption[static_cast<size_t>(state.glowPosition)];
    ++state.glowPosition;
    h += randRange(-0.0375f, 0.0375f);
    if (state.glowPosition > lastHueIndex)
        state.glowPosition = 0;
    return platform::Color::hsba(h, 1.0f, 1.0f, 1.0f);
}

platform::Color randomRainbowColor()
{
    float hue = 0;
    if (!state.seeded) {
        initRandom();
        state.rainbowBase = 0;
        state.rainbowSegment = 1;
    } else {
        state.rainbowBase = static_cast<float>(state.rainbowSegment * (1.0 / 21.0));
        hue = state.rainbowBase;
        ++state.rainbowSegment;
        if (state.rainbowSegment > lastRainbowSegment)
            state.rainbowSegment = 0;
    }
    return platform::Color::hsba(hue, 1.0f, 1.0f, 1.0f);
}

platform::Color randomBackgroundColor()
{
    initRandom();
    const int32_t n = state.backgroundSwitchTimes;
    platform::Color color;
    if (n % 8 == 0) {
        color = getBlackColor();
        state.backgroundType = 1;
    } else if (n % 4 == 0) {
        color = platform::Color::white();
        state.backgroundType = 2;
    } else {
        const float d = randRange(0.0f, 1.0f / 6);
        float saturation;
        float brightness;
        int32_t* index;
        if (state.backgroundType == 2) {
            // Light colours follow a white background until the next black one.
            saturation = randRange(0.0f, 0.5f);
            brightness = randRange(0.6f, 1.0f);
            index = &state.lightIndex;
        } else {
            saturation = randRange(0.5f, 1.0f);
            brightness = randRange(0.2f, 0.45f);
            index = &state.darkIndex;
        }
        const float hue = static_cast<float>(d + *index / 6.0);
        ++*index;
        if (*index > lastSextant)
            *index = 0;
        color = platform::Color::hsba(hue, saturation, brightness, 1.0f);
    }
    ++state.backgroundSwitchTimes;
    return color;
}

platform::Color getBlackColor()
{
    return platform::Color::black();
}

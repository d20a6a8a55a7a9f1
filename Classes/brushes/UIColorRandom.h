#pragma once

#include "platform/graphics/Color.h"

#include <cstdint>

// Random colours for brushes and backgrounds. They are not uniformly random:
// they walk a fixed table of pleasant hues, each varied a little.

// What the colour functions remember between calls. Each thread has its own
// (in UIColorRandom.cpp), living as long as the thread: the main thread's cycles
// carry on across paintings, and a painting opened, saved or exported on a
// queue never moves them.
struct RandomColorState {
    bool seeded { false };
    int32_t hueIndex { 0 };
    // The last colour drawn by randomHSBA(); the hue is kept as drawn, so it
    // can lie a little below 0.
    float hue { 0 };
    float saturation { 0 };
    float bright { 0 };
    float alpha { 0 };
    int32_t glowPosition { 0 };
    int32_t rainbowSegment { 0 };
    float rainbowBase { 0 };
    int32_t backgroundSwitchTimes { 1 };
    // 1 after a black or dark background, 2 after a white one.
    int32_t backgroundType { 1 };
    int32_t lightIndex { 0 };
    int32_t darkIndex { 0 };
};

// The calling thread's state.
const RandomColorState& randomColorState();
// Puts the calling thread's cycles back to their start, unseeded, so tests do
// not depend on order.
void resetRandomColorStateForTesting();

// min + (max - min) × r / 2^31 with r the next platform::random() value.
float randRange(float min, float max);
// Seeds the thread's platform::random() with the time, once per thread.
void initRandom();
// Draws the next hue, saturation, brightness and alpha into the state; returns the alpha.
float randomHSBA();

platform::Color randomColor();
// The next randomHSBA() colour with its own opacity in [lo, hi), lo and hi clamped to 0 … 1.
platform::Color randomColorWithMinAlpha(float lo, float hi);
// Fully saturated, fully bright hues for the neon brushes.
platform::Color randomGlowColor();
// Hues k/21 for k = 0 … 20 in turn, then again.
platform::Color randomRainbowColor();
// Dark ×3, white, light ×3, black, and round again.
platform::Color randomBackgroundColor();
platform::Color getBlackColor();

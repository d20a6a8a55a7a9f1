#pragma once

// The drawing that the recovery crash test's child performs step by step, and
// that the test performs again to know what the child's canvas held after
// each step. Deterministic: every step seeds the random colours itself.
#include "Classes/brushes/UIColorRandom.h"
#include "Classes/model/Painting.h"
#include "platform/system/Random.h"

#include <cmath>
#include <memory>

namespace recoveryscript {

constexpr int width = 160;
constexpr int height = 120;
constexpr int steps = 160;

inline std::shared_ptr<Painting> makePainting()
{
    // The colour cycle starts afresh, and its first use, which would seed
    // the generator from the clock, is over before any step seeds it.
    resetRandomColorStateForTesting();
    randomHSBA();
    auto painting = std::make_shared<Painting>(platform::Size { width, height });
    painting->setMirrixMode(4);
    painting->addTransparentLayer();
    return painting;
}

// Every tenth step takes the last stroke back; the others draw a short stroke
// with the editor's brushes in turn and, now and then, the eraser.
inline void performStep(Painting& painting, int step)
{
    if (step % 10 == 9) {
        painting.undoStroke();
        return;
    }
    static constexpr int types[] = { 37, 16, 13, 11, 34, 64, 24, 51, 23 };
    // A new brush seeds the generators from the clock: the step seeds them after.
    painting.switchBrush(types[step % 9]);
    platform::srand(static_cast<unsigned>(step));
    platform::srandom(static_cast<unsigned>(step));
    const float x = static_cast<float>(10 + step * 37 % 140);
    const float y = static_cast<float>(10 + step * 53 % 100);
    painting.strokeFrom({ x, y });
    for (int i = 1; i < 5; ++i)
        painting.strokeTo({ x + 25.0f * std::cos(i + step * 0.7f), y + 25.0f * std::sin(i * 1.3f + step) });
    painting.strokeEnd({ x + 12, y - 9 });
}

}

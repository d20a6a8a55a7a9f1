#pragma once

namespace platform::ui {

// Screen transitions slide for this long; tests switch the slides off so that
// every push, pop, presentation and panel finishes at once.
constexpr int slideDurationMs = 220;

bool animationsEnabled();
void setAnimationsEnabled(bool enabled);

// Whether a transition asked for with `animated` really animates.
inline bool shouldAnimate(bool animated) { return animated && animationsEnabled(); }

}

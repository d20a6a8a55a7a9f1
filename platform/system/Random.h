#pragma once

#include <array>
#include <cstdint>

namespace platform {

// A seeded generator with the contract of the C library's random(): values
// 0 … 2^31 − 1 in a sequence fixed by the seed, the same on every platform.
// (It is the classic additive-feedback generator with a 31-word state.)
class RandomGenerator final {
public:
    explicit RandomGenerator(uint32_t seed = 1) { seed_(seed); }

    void seed(uint32_t seed) { seed_(seed); }
    int32_t next();

    static constexpr int32_t max = 0x7fffffff;

private:
    void seed_(uint32_t seed);

    std::array<int32_t, 34> m_state {};
    int m_front { 0 };
    int m_rear { 0 };
};

// The generators behind the program's rand() and random(). Each thread has its
// own pair, seeded with 1 when the thread first uses them: a stroke drawn or
// replayed on one thread (a painting opened, saved or exported in the
// background) never moves the numbers another thread draws. They are separate
// so that seeding one for a stroke's replay (the pattern and sketchy brushes)
// never disturbs the other.
int32_t rand();
void srand(uint32_t seed);
int32_t random();
void srandom(uint32_t seed);

// The current time in whole seconds, used to seed the generators.
uint32_t timeSeed();

}

#include "platform/system/Random.h"

#include <ctime>

namespace platform {

void RandomGenerator::seed_(uint32_t seed)
{
    // Same recurrence and warm-up as glibc's TYPE_3 random(), so a seed gives the
    // well-known sequence.
    std::array<int32_t, 31> r {};
    r[0] = static_cast<int32_t>(seed == 0 ? 1 : seed);
    for (int i = 1; i < 31; ++i) {
        int64_t hi = r[i - 1] / 127773;
        int64_t lo = r[i - 1] % 127773;
        int64_t word = 16807 * lo - 2836 * hi;
        if (word < 0)
            word += 2147483647;
        r[i] = static_cast<int32_t>(word);
    }
    for (int i = 0; i < 31; ++i)
        m_state[i] = r[i];
    m_front = 3;
    m_rear = 0;
    for (int i = 0; i < 310; ++i)
        next();
}

int32_t RandomGenerator::next()
{
    uint32_t sum = static_cast<uint32_t>(m_state[m_front]) + static_cast<uint32_t>(m_state[m_rear]);
    m_state[m_front] = static_cast<int32_t>(sum);
    int32_t result = static_cast<int32_t>(sum >> 1);
    if (++m_front >= 31)
        m_front = 0;
    if (++m_rear >= 31)
        m_rear = 0;
    return result;
}

namespace {

// Per thread; only the owning thread touches them.
RandomGenerator& randGenerator()
{
    thread_local RandomGenerator generator(1);
    return generator;
}

// Per thread; only the owning thread touches them.
RandomGenerator& randomGenerator()
{
    thread_local RandomGenerator generator(1);
    return generator;
}

}

int32_t rand() { return randGenerator().next(); }
void srand(uint32_t seed) { randGenerator().seed(seed); }
int32_t random() { return randomGenerator().next(); }
void srandom(uint32_t seed) { randomGenerator().seed(seed); }

uint32_t timeSeed() { return static_cast<uint32_t>(std::time(nullptr)); }

}

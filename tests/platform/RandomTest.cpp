#include "platform/system/Random.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Replays depend on the sequence being the C library's everywhere: on glibc,
// random() itself is the reference, including seeds that wrap negative.
TEST(Random, SequencesAreTheCLibrarysAndRandAndRandomKeepTheirOwn)
{
    platform::srandom(1);
    platform::srand(0); // acts as 1
    EXPECT_EQ(platform::random(), 1804289383);
    EXPECT_EQ(platform::rand(), 1804289383);
#ifdef __GLIBC__
    for (uint32_t seed : { 42u, 2147483648u, 4294967295u }) {
        ::srandom(seed);
        platform::RandomGenerator generator(seed);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(generator.next(), static_cast<int32_t>(::random())) << "seed " << seed << " value " << i;
    }
#endif
}

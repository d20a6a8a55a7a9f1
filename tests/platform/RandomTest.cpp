#include "platform/system/Random.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Replays depend on the sequence being the C library's everywhere: on glibc,
// random() itself is the reference, including seeds that wrap negative.
TEST(Random, SequencesAreTheCLibrarysAndRandAndRandomKeepTheirOwn)
{
    const int32_t seedOne[] = { 1804289383, 846930886, 1681692777, 1714636915, 1957747793, 424238335 };
    platform::srandom(1);
    platform::srand(0); // acts as 1
    for (int32_t value : seedOne) {
        EXPECT_EQ(platform::random(), value);
        EXPECT_EQ(platform::rand(), value);
    }
#ifdef __GLIBC__
    for (uint32_t seed : { 2u, 42u, 12345u, 1331000000u, 2147483647u, 2147483648u, 4294967295u }) {
        ::srandom(seed);
        platform::RandomGenerator generator(seed);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(generator.next(), static_cast<int32_t>(::random())) << "seed " << seed << " value " << i;
    }
#endif
}

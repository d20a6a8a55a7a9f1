#include "platform/system/Random.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(Random, SeedOneGivesTheWellKnownSequenceAndSeedZeroActsAsOne)
{
    const int32_t known[] = { 1804289383, 846930886, 1681692777, 1714636915, 1957747793, 424238335, 719885386, 1649760492 };
    platform::srandom(1);
    platform::srand(0);
    for (int32_t value : known) {
        EXPECT_EQ(platform::random(), value);
        EXPECT_EQ(platform::rand(), value);
    }
}

#ifdef __GLIBC__
// On glibc the C library's own random() is the reference, including seeds
// above 2^31 that wrap negative.
TEST(Random, MatchesTheCLibraryForManySeeds)
{
    for (uint32_t seed : { 2u, 42u, 12345u, 1331000000u, 2147483647u, 2147483648u, 4294967295u }) {
        SCOPED_TRACE(seed);
        ::srandom(seed);
        platform::RandomGenerator generator(seed);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(generator.next(), static_cast<int32_t>(::random())) << i;
    }
}
#endif

TEST(Random, RandAndRandomKeepSeparateSequences)
{
    platform::srandom(5);
    platform::RandomGenerator randomReference(5);
    EXPECT_EQ(platform::random(), randomReference.next());
    // Reseeding and drawing from one leaves the other's sequence alone.
    platform::srand(77);
    platform::RandomGenerator randReference(77);
    EXPECT_EQ(platform::rand(), randReference.next());
    EXPECT_EQ(platform::random(), randomReference.next());
    platform::srandom(1234);
    platform::random();
    EXPECT_EQ(platform::rand(), randReference.next());
}

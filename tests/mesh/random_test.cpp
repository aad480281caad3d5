#include "mesh/random.h"

#include <gtest/gtest.h>

TEST(Random, FollowsTheClassicRecurrenceFromSeedOne) {
    randomSeed(1);
    for (int expected : {41, 18467, 6334, 26500}) EXPECT_EQ(randomNext(), expected);
}

TEST(Random, CoversExactlyZeroTo32767) {
    randomSeed(7);
    bool sawZero = false, sawMax = false;
    for (int i = 0; i < 4000000 && !(sawZero && sawMax); ++i) {
        const int value = randomNext();
        ASSERT_TRUE(value >= 0 && value <= RandomMax) << value;
        sawZero |= value == 0;
        sawMax |= value == RandomMax;
    }
    EXPECT_TRUE(sawZero && sawMax);
}

#include "mesh/random.h"

#include <gtest/gtest.h>

TEST(Random, FollowsTheClassicRecurrenceFromSeedOne) {
    randomSeed(1);
    for (int expected : {41, 18467, 6334, 26500}) EXPECT_EQ(randomNext(), expected);
}

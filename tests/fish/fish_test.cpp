#include "fish/fish.h"

#include "data/species_tables.h"
#include "mesh/random.h"
#include "tests/support/fish_fixtures.h"

TEST(FishRecord, ConstructionReseedsFromTickTimesDrawAndResetsEveryField) {
    auto fish = makeFish(profile103, 22);  // built, linked and moving, then constructed again
    auto rock = std::make_unique<Decoration>();
    linkSchool(*fish, fish.get(), 1);
    linkObstacles(*fish, rock.get(), 1);
    fish->position = fish->velocity = fish->rampStartPosition = fish->targetVelocity = vec(4, 1, 2);
    fish->flockShared = true, fish->stepCount = 3, fish->rampStartTime = 99u;
    setVirtualTick(123456789u);
    randomSeed(42u);
    const auto draw = static_cast<std::uint32_t>(randomNext());
    randomSeed(123456789u * draw);  // wraps modulo 2^32
    const int r = randomNext();
    const std::uint32_t after = randomState();
    randomSeed(42u);
    constructFish(*fish);
    EXPECT_EQ(randomState(), after);
    EXPECT_EQ(fish->rampPeriod, static_cast<int>((r / 32767.0 + 0.5) * 1000.0));
    EXPECT_EQ(getVertexCount(*fish), 0);
    EXPECT_TRUE(vecNear(fish->position, vec(0, 0, 0)) && vecNear(fish->velocity, vec(0, 0, 0)));
    EXPECT_TRUE(vecNear(predictedRampEnd(*fish), vec(0, 0, 0)));
    EXPECT_TRUE(fish->size == 2.5f && fish->stepCount == 50 && fish->lastStepCount == 50);
    EXPECT_TRUE(fish->rampStartTime == 0u && !fish->flocking && !fish->flockShared);
    EXPECT_TRUE(!fish->school && !fish->schoolCount && !fish->obstacles && !fish->obstacleCount);
}

TEST(FishRecord, BehaviourRowSetsTheParametersAndFlocksWhenItsValueTruncatesToOne) {
    auto fish = makeFish();
    const ProfileRow shortTable[2] = {{{101}}, {{128, 0, 128, 0, 64}}};
    applyBehaviourParameters(*fish, shortTable, 2);
    EXPECT_EQ(fish->size, 2.5f) << "a table without row 2 changes nothing";
    for (const float value : {1.0f, 1.999f, 2.0f, 0.99f, -1.0f}) {
        const ProfileRow rows[3] = {{{101}}, {{128}}, {{5, 7, 1, 2, value, 8, 4}}};
        applyBehaviourParameters(*fish, rows, 3);
        EXPECT_EQ(fish->flocking, value >= 1.0f && value < 2.0f) << value;
    }
    EXPECT_EQ(behaviourParameters(*fish), (std::array<float, 6>{5, 7, 1, 2, 8, 4}));
}


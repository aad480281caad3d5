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

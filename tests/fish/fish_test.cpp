#include "fish/fish.h"

#include "data/species_tables.h"
#include "tests/support/fish_fixtures.h"

// The renderer constructs its fish again at its own start tick: nothing of the
// body, the motion, the links or the flocking state may survive that. (Where
// the new random draws lead is pinned by the scene's known answers.)
TEST(FishRecord, ConstructionAgainResetsEveryField) {
    auto fish = makeFish(profile103, 22);  // built, linked and moving, then constructed again
    auto rock = std::make_unique<Decoration>();
    linkSchool(*fish, fish.get(), 1);
    linkObstacles(*fish, rock.get(), 1);
    fish->position = fish->velocity = fish->rampStartPosition = fish->targetVelocity = vec(4, 1, 2);
    fish->flocking = fish->flockShared = true, fish->stepCount = 3, fish->rampStartTime = 99u;
    constructFish(*fish);
    EXPECT_EQ(getVertexCount(*fish), 0);
    EXPECT_TRUE(vecNear(fish->position, vec(0, 0, 0)) && vecNear(fish->velocity, vec(0, 0, 0)));
    EXPECT_TRUE(vecNear(predictedRampEnd(*fish), vec(0, 0, 0)));
    EXPECT_TRUE(fish->size == 2.5f && fish->stepCount == 50 && fish->lastStepCount == 50);
    EXPECT_TRUE(fish->rampStartTime == 0u && !fish->flocking && !fish->flockShared);
    EXPECT_TRUE(!fish->school && !fish->schoolCount && !fish->obstacles && !fish->obstacleCount);
}

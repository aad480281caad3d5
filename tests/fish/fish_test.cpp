#include "fish/fish.h"

#include "data/species_tables.h"
#include "fish/species_model.h"
#include "host/virtual_clock.h"
#include "mesh/random.h"
#include "scene/decoration.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

ProfileRow behaviourRow(float flockingValue) {
    return ProfileRow{{5.0f, 7.0f, 1.0f, 2.0f, flockingValue, 8.0f, 4.0f}};
}

}  // namespace

TEST(FishRecord, ConstructionReseedsFromTickTimesDrawThenDrawsThePeriod) {
    auto fish = std::make_unique<Fish>();
    setVirtualTick(123456789u);
    randomSeed(42u);
    const std::uint32_t draw = static_cast<std::uint32_t>(randomNext());
    randomSeed(123456789u * draw);  // wraps modulo 2^32
    const int r = randomNext();
    const std::uint32_t after = randomState();

    randomSeed(42u);
    constructFish(*fish);
    EXPECT_EQ(randomState(), after);
    EXPECT_EQ(fish->rampPeriod, static_cast<int>((r / 32767.0 + 0.5) * 1000.0));
    EXPECT_GE(fish->rampPeriod, 500);
    EXPECT_LE(fish->rampPeriod, 1500);
}

TEST(FishRecord, ReconstructionInPlaceRestoresEveryField) {
    auto fish = std::make_unique<Fish>();
    auto others = std::make_unique<Fish[]>(2);
    auto rock = std::make_unique<Decoration>();
    constructFish(*fish);
    buildSpeciesGeometry(*fish, profile103, 22);
    linkSchool(*fish, others.get(), 2);
    linkObstacles(*fish, rock.get(), 1);
    fish->position.x = 4.0f;
    fish->velocity.y = 1.0f;
    fish->rampStartPosition.z = 2.0f;
    fish->flockShared = true;
    fish->stepCount = 3;
    fish->rampStartTime = 99u;

    constructFish(*fish);
    EXPECT_EQ(getVertexCount(*fish), 0);
    EXPECT_EQ(fish->position.x, 0.0f);
    EXPECT_EQ(fish->velocity.y, 0.0f);
    EXPECT_EQ(fish->rampStartPosition.z, 0.0f);
    EXPECT_EQ(fish->size, 2.5f);
    EXPECT_EQ(fish->stepCount, 50);
    EXPECT_EQ(fish->lastStepCount, 50);
    EXPECT_EQ(fish->rampStartTime, 0u);
    EXPECT_EQ(fish->species, 0);
    EXPECT_EQ(fish->priority, 0.0f);
    EXPECT_EQ(fish->maxSpeed, 0.0f);
    EXPECT_FALSE(fish->flocking);
    EXPECT_FALSE(fish->flockShared);
    EXPECT_EQ(fish->school, nullptr);
    EXPECT_EQ(fish->schoolCount, 0);
    EXPECT_EQ(fish->obstacles, nullptr);
    EXPECT_EQ(fish->obstacleCount, 0);
    const Vertex end = predictedRampEnd(*fish);
    EXPECT_EQ(end.x, 0.0f);
    EXPECT_EQ(end.y, 0.0f);
    EXPECT_EQ(end.z, 0.0f);
}

TEST(FishRecord, FlockingIsTheTruncatedValueOne) {
    auto fish = std::make_unique<Fish>();
    constructFish(*fish);
    const struct {
        float value;
        bool flocking;
    } cases[] = {{1.0f, true}, {1.5f, true}, {1.999f, true}, {2.0f, false},
                 {0.99f, false}, {0.0f, false}, {-1.0f, false}};
    for (const auto& c : cases) {
        const ProfileRow rows[3] = {{{101}}, {{128, 0, 128, 0, 64}}, behaviourRow(c.value)};
        applyBehaviourParameters(*fish, rows, 3);
        EXPECT_EQ(fish->flocking, c.flocking) << c.value;
    }
    EXPECT_EQ(fish->wanderChance, 5.0f);
    EXPECT_EQ(fish->maxSpeed, 7.0f);
    EXPECT_EQ(fish->size, 1.0f);
    EXPECT_EQ(fish->yieldDistance, 2.0f);
    EXPECT_EQ(fish->flockRadius, 8.0f);
    EXPECT_EQ(fish->priority, 4.0f);
}

TEST(FishRecord, ShortTableLeavesBehaviourUnchanged) {
    auto fish = std::make_unique<Fish>();
    constructFish(*fish);
    const ProfileRow rows[2] = {{{101}}, {{128, 0, 128, 0, 64}}};
    applyBehaviourParameters(*fish, rows, 2);
    EXPECT_EQ(fish->size, 2.5f);
    EXPECT_EQ(fish->maxSpeed, 0.0f);
    EXPECT_FALSE(fish->flocking);
}

TEST(FishRecord, SpeciesTablesGiveTheirBehaviour) {
    auto fish = std::make_unique<Fish>();
    const struct {
        int species;
        float wander, speed, size, yield;
        bool flocking;
        float radius, priority;
    } expected[] = {
        {101, 5, 7, 1, 2, true, 8, 4},      {102, 3, 7, 3, 3.5f, false, 0, 8},
        {103, 3, 7.5f, 1, 2, true, 6, 3},   {104, 5, 7.5f, 2, 2, false, 0, 4},
        {105, 3, 7.5f, 1, 2, true, 4, 4},   {108, 2, 8, 2, 2.75f, false, 0, 7},
    };
    for (const auto& e : expected) {
        const SpeciesTable* table = findSpeciesTable(e.species);
        ASSERT_NE(table, nullptr);
        constructFish(*fish);
        buildSpeciesGeometry(*fish, table->rows, table->rowCount);
        EXPECT_EQ(fish->species, e.species);
        EXPECT_EQ(fish->wanderChance, e.wander) << e.species;
        EXPECT_EQ(fish->maxSpeed, e.speed) << e.species;
        EXPECT_EQ(fish->size, e.size) << e.species;
        EXPECT_EQ(fish->yieldDistance, e.yield) << e.species;
        EXPECT_EQ(fish->flocking, e.flocking) << e.species;
        EXPECT_EQ(fish->flockRadius, e.radius) << e.species;
        EXPECT_EQ(fish->priority, e.priority) << e.species;
        // A body, nose toward -x, with its skin mapped and no texture loaded.
        EXPECT_GT(getVertexCount(*fish), 0);
        EXPECT_LT(getXMin(*fish), 0.0f);
        EXPECT_GT(getXMax(*fish), 0.0f);
        EXPECT_EQ(getTexture(*fish), 0u);
    }
}

TEST(FishRecord, PredictedRampEndAveragesStartAndTargetVelocity) {
    auto fish = std::make_unique<Fish>();
    constructFish(*fish);
    fish->rampStartPosition.x = 1.0f;
    fish->rampStartPosition.y = -2.0f;
    fish->rampStartVelocity.x = 0.1f;
    fish->targetVelocity.x = 0.3f;
    fish->targetVelocity.z = -0.2f;
    fish->lastStepCount = 10;
    Vertex end = predictedRampEnd(*fish);
    EXPECT_FLOAT_EQ(end.x, 3.0f);
    EXPECT_FLOAT_EQ(end.y, -2.0f);
    EXPECT_FLOAT_EQ(end.z, -1.0f);
    fish->lastStepCount = 0;
    end = predictedRampEnd(*fish);
    EXPECT_EQ(end.x, 1.0f);
    EXPECT_EQ(end.y, -2.0f);
    EXPECT_EQ(end.z, 0.0f);
}

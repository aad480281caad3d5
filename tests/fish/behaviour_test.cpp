#include "fish/behaviour.h"

#include "data/species_tables.h"
#include "tests/support/fish_fixtures.h"

TEST(FishOrientation, YawAndPitchOnEachAxis) {
    const struct { Vertex velocity; float yaw, pitch; } cases[] = {
        {vec(-1, 0, 0), 0, 0},   {vec(0.3f, 0, 0), 180, 0}, {vec(0, 0, 1), 90, 0},
        {vec(0, 0, -1), -90, 0}, {vec(-1, 1, 0), 0, -45},   {vec(-1, -1, 0), 0, 45},
        {vec(0, 0, 0), 0, 0},    {vec(0, 3, 0), 0, 0},      {vec(-0.7f, 0, 0), 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(vecNear(orientationFromVelocity(c.velocity), vec(0, c.yaw, c.pitch), 1e-4))
            << c.velocity.x << " " << c.velocity.y << " " << c.velocity.z;
}

TEST(FishBehaviour, KeptCourseTargetsAtTheWallsAndTinyOrZeroDisplacements) {
    // Each axis keeps its course: the displacement is steps x velocity, over
    // the steps (50 for a choice right after a choice). Walls stand at x = +-23
    // and z = +-11 for this size 2 fish, tested 2 x steps frames ahead.
    const struct { Vertex position, velocity; int steps; Vertex target; } cases[] = {
        {vec(0, 0, 0), vec(-0.0005f, -0.001f, 0.2f), 1, vec(0.001f, -0.001f, 0.2f)},  // tiny: +0.001
        {vec(0, 0, 0), vec(0.1f, 0.1f, 0.1f), 0, vec(0.00002f, 0.00002f, 0.00002f)},  // 0.001 / 50
        {vec(22, 0, 0), vec(0.5f, 0.01f, -0.01f), 10, vec(-0.25f, 0.01f, -0.01f)},  // x: 32, turned
        {vec(0, 0, -10.5f), vec(0.01f, 0.01f, -0.1f), 10, vec(0.01f, 0.01f, 0.05f)},  // z: -12.5
        {vec(0, 11, 0), vec(0.01f, 0.06f, 0.01f), 10, vec(0.01f, -0.03f, 0.01f)},  // y: 12.2
        {vec(0, 0, -13), vec(0.01f, 0.01f, 0.01f), 10, vec(0.01f, 0.01f, 0.01f)},  // out, heading in
        {vec(0, 0, -13), vec(0.01f, 0.01f, -0.01f), 10, vec(0.01f, 0.01f, 0.005f)},  // out, heading out
    };
    for (const auto& c : cases) {
        auto fish = makeFish(profile104, 45);  // maxSpeed 7.5, size 2; no school, no rocks
        fish->wanderChance = 0.0f;
        fish->position = c.position;
        fish->velocity = fish->targetVelocity = c.velocity;  // its ramp just over
        fish->stepCount = c.steps;
        fish->rampStartTime = FixtureTick - static_cast<std::uint32_t>(fish->rampPeriod);
        behaviourStep(*fish);
        EXPECT_TRUE(vecNear(fish->targetVelocity, c.target, 1e-7)) << &c - cases;
        EXPECT_TRUE(fish->lastStepCount == (c.steps == 0 ? 50 : c.steps) && fish->stepCount == 0);
    }
}

TEST(FishBehaviour, RampsContinueAcrossTheTickWrap) {
    // Just below the unsigned wrap and just below the signed one: a ramp test
    // written as now < start + period fails at one or the other.
    for (const std::uint32_t first : {0xFFFFFFFFu - 2000u, 0x7FFFFFFFu - 2000u}) {
        auto fish = makeFish(profile104, 45, first);
        fish->rampPeriod = 700;
        updateFish(*fish);  // the first choice
        int choices = 0;
        for (int frame = 0; frame < 600; ++frame) {  // 6 s, crossing the wrap at 2 s
            advanceVirtualClock(10);
            const std::uint32_t startBefore = fish->rampStartTime;
            updateFish(*fish);
            if (fish->rampStartTime == startBefore) continue;
            ++choices;  // every ramp lasts 700 ms, 69 ramp frames, wrap or not
            EXPECT_TRUE(fish->lastStepCount == 69 && fish->rampStartTime - startBefore == 700u)
                << first << " frame " << frame;
        }
        EXPECT_EQ(choices, 8) << first;
    }
}

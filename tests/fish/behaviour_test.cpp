#include "fish/behaviour.h"

#include "data/species_tables.h"
#include "fish/species_model.h"
#include "host/virtual_clock.h"
#include "mesh/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr std::uint32_t Start = 5000000u;  // a tick count well past the first ramp

Vertex vec(float x, float y, float z) {
    Vertex v{};
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}

// A wandering fish (species 104: wanderChance 5, maxSpeed 7.5, size 2) with
// no school and no obstacles, so only the behaviour step shapes its target.
std::unique_ptr<Fish> wanderer() {
    auto fish = std::make_unique<Fish>();
    setVirtualTick(Start);
    constructFish(*fish);
    buildSpeciesGeometry(*fish, profile104, 45);
    return fish;
}

// Puts the fish at the end of its ramp so the next update chooses.
void dueForChoice(Fish& fish) {
    fish.rampStartTime = Start - static_cast<std::uint32_t>(fish.rampPeriod);
    setVirtualTick(Start);
}

// The GL turn of the drawn fish (glRotatef about +y by yaw, then about +z by
// pitch, applied to the model) carried out on a model-space point.
Vertex drawnDirection(Vertex angles, Vertex p) {
    const double pi = 3.141592653589793;
    const double b = angles.z * pi / 180.0, a = angles.y * pi / 180.0;
    const double x1 = p.x * std::cos(b) - p.y * std::sin(b);
    const double y1 = p.x * std::sin(b) + p.y * std::cos(b);
    const double x2 = x1 * std::cos(a) + p.z * std::sin(a);
    const double z2 = -x1 * std::sin(a) + p.z * std::cos(a);
    return vec(static_cast<float>(x2), static_cast<float>(y1), static_cast<float>(z2));
}

}  // namespace

TEST(FishOrientation, YawAndPitchOnEachAxis) {
    const struct {
        Vertex velocity;
        float yaw, pitch;
    } cases[] = {
        {vec(-1, 0, 0), 0, 0},   {vec(1, 0, 0), 180, 0},   {vec(0, 0, 1), 90, 0},
        {vec(0, 0, -1), -90, 0}, {vec(-1, 1, 0), 0, -45},  {vec(-1, -1, 0), 0, 45},
        {vec(0, 0, 0), 0, 0},    {vec(0, 3, 0), 0, 0},     {vec(0.3f, 0, 0), 180, 0},
    };
    for (const auto& c : cases) {
        const Vertex a = orientationFromVelocity(c.velocity);
        EXPECT_EQ(a.x, 0.0f);
        EXPECT_NEAR(a.y, c.yaw, 1e-4f) << c.velocity.x << " " << c.velocity.y << " " << c.velocity.z;
        EXPECT_NEAR(a.z, c.pitch, 1e-4f) << c.velocity.x << " " << c.velocity.y << " " << c.velocity.z;
        EXPECT_FALSE(std::isnan(a.z));
    }
}

TEST(FishOrientation, DrawnNosePointsAlongTheVelocity) {
    const Vertex velocities[] = {vec(0.3f, 0.1f, 0.2f), vec(-0.2f, -0.05f, 0.4f),
                                 vec(0.1f, 0.0f, -0.7f), vec(-0.5f, 0.5f, -0.5f),
                                 vec(1e-3f, 1e-3f, 1e-3f), vec(0.02f, -0.3f, 0.001f)};
    for (const Vertex& v : velocities) {
        const Vertex nose = drawnDirection(orientationFromVelocity(v), vec(-1, 0, 0));
        const double length = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
        EXPECT_NEAR(nose.x, v.x / length, 1e-5);
        EXPECT_NEAR(nose.y, v.y / length, 1e-5);
        EXPECT_NEAR(nose.z, v.z / length, 1e-5);
    }
}

TEST(FishBehaviour, FirstUpdateOfAFreshFishChoosesFromRest) {
    auto fish = wanderer();
    const std::uint32_t before = randomState();
    updateFish(*fish);
    const std::uint32_t after = randomState();
    EXPECT_EQ(fish->position.x, 0.0f);
    EXPECT_EQ(fish->position.y, 0.0f);
    EXPECT_EQ(fish->position.z, 0.0f);
    EXPECT_EQ(vectorLength(fish->velocity), 0.0f);
    EXPECT_EQ(fish->orientation.y, 0.0f);
    EXPECT_EQ(fish->orientation.z, 0.0f);
    EXPECT_EQ(fish->rampStartTime, Start);
    EXPECT_EQ(fish->lastStepCount, 50);
    EXPECT_EQ(fish->stepCount, 0);
    // Three draws, one per axis, each at most maxSpeed / 50 (walls only halve).
    randomSeed(before);
    for (int i = 0; i < 3; ++i) randomNext();
    EXPECT_EQ(randomState(), after);
    const float limit = 7.5f / 50.0f;
    EXPECT_LE(std::fabs(fish->targetVelocity.x), limit);
    EXPECT_LE(std::fabs(fish->targetVelocity.y), limit);
    EXPECT_LE(std::fabs(fish->targetVelocity.z), limit);
}

TEST(FishBehaviour, AtRestDrawsExactlyThreeValues) {
    auto fish = wanderer();
    randomSeed(31u);
    updateFish(*fish);
    const std::uint32_t after = randomState();
    randomSeed(31u);
    const float q[3] = {randomNext() / 32767.0f, randomNext() / 32767.0f, randomNext() / 32767.0f};
    EXPECT_EQ(randomState(), after);
    // x is far from the walls: the target is the displacement over 50 frames.
    EXPECT_FLOAT_EQ(fish->targetVelocity.x, 7.5f * (q[0] * 2.0f - 1.0f) / 50.0f);
}

TEST(FishBehaviour, RampBlendsLinearlyAndReplacesTinyComponents) {
    auto fish = wanderer();
    fish->rampPeriod = 1000;
    fish->rampStartTime = Start;
    fish->rampStartVelocity = vec(0.0f, -0.0005f, 0.2f);
    fish->targetVelocity = vec(0.4f, -0.0005f, -0.001f);
    fish->stepCount = 7;
    setVirtualTick(Start + 250);
    behaviourStep(*fish);
    EXPECT_EQ(fish->stepCount, 8);
    EXPECT_FLOAT_EQ(fish->velocity.x, 0.1f);
    EXPECT_EQ(fish->velocity.y, 0.001f);  // -0.0005 becomes +0.001
    EXPECT_FLOAT_EQ(fish->velocity.z, 0.14975f);
    // Exactly -0.001 is not strictly inside and stays.
    fish->rampStartVelocity = vec(0.4f, -0.001f, -0.001f);
    fish->targetVelocity = fish->rampStartVelocity;
    behaviourStep(*fish);
    EXPECT_EQ(fish->velocity.y, -0.001f);
    EXPECT_EQ(fish->velocity.z, -0.001f);
}

TEST(FishBehaviour, TinyDisplacementComponentsBecomePositive) {
    auto fish = wanderer();
    fish->wanderChance = 0.0f;  // keeps its course on every axis
    fish->velocity = vec(-0.0005f, -0.001f, 0.2f);
    fish->stepCount = 1;
    dueForChoice(*fish);
    behaviourStep(*fish);
    EXPECT_EQ(fish->targetVelocity.x, 0.001f);
    EXPECT_EQ(fish->targetVelocity.y, -0.001f);
    EXPECT_FLOAT_EQ(fish->targetVelocity.z, 0.2f);
}

TEST(FishBehaviour, ChoiceWithoutRampFramesDividesByFifty) {
    auto fish = wanderer();
    fish->wanderChance = 0.0f;
    fish->velocity = vec(0.1f, 0.1f, 0.1f);
    dueForChoice(*fish);
    behaviourStep(*fish);  // stepCount is now 0
    ASSERT_EQ(fish->stepCount, 0);
    setVirtualTick(Start + static_cast<std::uint32_t>(fish->rampPeriod) + 5);
    fish->velocity = vec(0.1f, 0.1f, 0.1f);
    behaviourStep(*fish);
    EXPECT_EQ(fish->lastStepCount, 50);
    // 0 x course = 0, replaced by 0.001, over 50 frames.
    EXPECT_FLOAT_EQ(fish->targetVelocity.x, 0.001f / 50.0f);
    EXPECT_FLOAT_EQ(fish->targetVelocity.y, 0.001f / 50.0f);
    EXPECT_FLOAT_EQ(fish->targetVelocity.z, 0.001f / 50.0f);
}

TEST(FishBehaviour, WanderingZDisplacementIsNeverPositive) {
    auto fish = wanderer();
    fish->wanderChance = 10.0f;  // redraw every axis (unless q is exactly 1)
    fish->maxSpeed = 5.0f;       // 2 x 5 stays inside every wall from the centre
    randomSeed(2024u);
    for (int i = 0; i < 2000; ++i) {
        fish->velocity = vec(0.05f, 0.05f, 0.05f);
        fish->targetVelocity = fish->velocity;
        fish->position = vec(0, 0, 0);
        fish->stepCount = 50;
        dueForChoice(*fish);
        behaviourStep(*fish);
        // At most the +0.001 that replaces a zero.
        EXPECT_LE(fish->targetVelocity.z, 0.001f / 50.0f) << i;
    }
}

TEST(FishBehaviour, WallTurnsOnlyTheAxisThatWouldCross) {
    auto fish = wanderer();
    fish->wanderChance = 0.0f;
    fish->position = vec(22.0f, 0.0f, 0.0f);
    fish->velocity = vec(0.5f, 0.01f, -0.01f);
    fish->stepCount = 10;
    dueForChoice(*fish);
    behaviourStep(*fish);
    // x: 22 + 2 x 0.5 x 10 = 32 > 24 - size / 2.
    EXPECT_FLOAT_EQ(fish->targetVelocity.x, -0.25f);
    EXPECT_FLOAT_EQ(fish->targetVelocity.y, 0.01f);
    EXPECT_FLOAT_EQ(fish->targetVelocity.z, -0.01f);
    // The minimum wall too, on z only.
    fish->position = vec(0.0f, 0.0f, -10.5f);
    fish->velocity = vec(0.01f, 0.01f, -0.1f);
    fish->stepCount = 10;
    dueForChoice(*fish);
    behaviourStep(*fish);
    EXPECT_FLOAT_EQ(fish->targetVelocity.x, 0.01f);
    EXPECT_FLOAT_EQ(fish->targetVelocity.z, 0.05f);
}

TEST(FishBehaviour, FishBeyondAWallKeepsATargetThatPointsBackIn) {
    auto fish = wanderer();
    fish->wanderChance = 0.0f;
    // Beyond the z minimum (-12 + size / 2 = -11), drifting slowly back in:
    // the projection (-12.8) is still outside, but turning it would push the
    // fish further out.
    fish->position = vec(0.0f, 0.0f, -13.0f);
    fish->velocity = vec(0.01f, 0.01f, 0.01f);
    fish->stepCount = 10;
    dueForChoice(*fish);
    behaviourStep(*fish);
    EXPECT_FLOAT_EQ(fish->targetVelocity.z, 0.01f);
    // Heading further out it is turned back, and halved.
    fish->velocity = vec(0.01f, 0.01f, -0.01f);
    fish->stepCount = 10;
    dueForChoice(*fish);
    behaviourStep(*fish);
    EXPECT_FLOAT_EQ(fish->targetVelocity.z, 0.005f);
}

TEST(FishBehaviour, PositionIsNeverClamped) {
    auto fish = wanderer();
    fish->position = vec(23.9f, 0.0f, 0.0f);
    fish->rampPeriod = 1000;
    fish->rampStartTime = Start;
    fish->rampStartVelocity = vec(0.5f, 0.01f, 0.01f);
    fish->targetVelocity = fish->rampStartVelocity;
    setVirtualTick(Start + 10);
    updateFish(*fish);
    EXPECT_FLOAT_EQ(fish->position.x, 24.4f);
    EXPECT_NEAR(fish->orientation.y, 180.0f, 2.0f);
}

TEST(FishBehaviour, FlockingFishOutsideItsRadiusHeadsForTheCentre) {
    // Find a generator state whose first two draws send the fish home.
    std::uint32_t seed = 1;
    for (;; ++seed) {
        randomSeed(seed);
        const float q0 = randomNext() / 32767.0f, q1 = randomNext() / 32767.0f;
        if (q0 > 0.1f && q1 > 0.05f) break;
    }
    // Two fish of species 103 (flocking, radius 6, maxSpeed 7.5) whose centre
    // lies 10 away from the first.
    setVirtualTick(Start);
    auto pair = std::make_unique<Fish[]>(2);
    for (int i = 0; i < 2; ++i) {
        constructFish(pair[i]);
        buildSpeciesGeometry(pair[i], profile103, 22);
        linkSchool(pair[i], pair.get(), 2);
        pair[i].velocity = vec(0.05f, 0.05f, 0.05f);
    }
    pair[0].position = vec(-5.0f, 0.0f, 0.0f);
    pair[1].position = vec(15.0f, 0.0f, 0.0f);  // centre (5, 0, 0), 10 away
    pair[0].stepCount = 40;
    dueForChoice(pair[0]);
    randomSeed(seed);
    behaviourStep(pair[0]);
    EXPECT_FLOAT_EQ(pair[0].flockCentre.x, 5.0f);
    EXPECT_FLOAT_EQ(pair[1].flockCentre.x, 5.0f);
    EXPECT_FALSE(pair[0].flockShared);
    EXPECT_TRUE(pair[1].flockShared);
    // 0.8 x maxSpeed toward the centre, over 40 frames.
    EXPECT_FLOAT_EQ(pair[0].targetVelocity.x, 7.5f * 0.8f / 40.0f);
    EXPECT_FLOAT_EQ(pair[0].targetVelocity.y, 0.001f / 40.0f);
    EXPECT_FLOAT_EQ(pair[0].targetVelocity.z, 0.001f / 40.0f);
}

TEST(FishBehaviour, RampsContinueAcrossTheTickWrap) {
    // Just below the unsigned wrap and just below the signed one: a ramp test
    // written as now < start + period fails at one or the other.
    for (const std::uint32_t first : {0xFFFFFFFFu - 2000u, 0x7FFFFFFFu - 2000u}) {
        auto fish = wanderer();
        fish->rampPeriod = 700;
        std::uint32_t tick = first;
        setVirtualTick(tick);
        updateFish(*fish);  // the first choice
        int choices = 0, rampFrames = 0;
        for (int frame = 0; frame < 600; ++frame) {  // 6 s, crossing the wrap at 2 s
            tick += 10;
            setVirtualTick(tick);
            const std::uint32_t startBefore = fish->rampStartTime;
            updateFish(*fish);
            if (fish->rampStartTime != startBefore) {
                ++choices;
                // Every ramp lasts ceil(700 / 10) - 1 = 69 ramp frames, wrap or not.
                EXPECT_EQ(fish->lastStepCount, 69) << first << " frame " << frame;
                EXPECT_EQ(static_cast<std::uint32_t>(fish->rampStartTime - startBefore), 700u);
            } else {
                ++rampFrames;
            }
        }
        EXPECT_EQ(choices, 8) << first;
        EXPECT_EQ(rampFrames, 600 - 8) << first;
    }
}

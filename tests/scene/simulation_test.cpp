#include "scene/simulation.h"

#include "host/virtual_clock.h"
#include "mesh/random.h"
#include "scene/layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int FrameMs = 10;

Simulation& startScene(std::uint32_t tick, std::uint32_t seed) {
    Simulation& sim = simulation();
    setVirtualTick(tick);
    randomSeed(seed);
    constructSimulation(sim);
    buildSimulation(sim);
    return sim;
}

// FNV-1a over the motion state of every fish.
std::uint64_t motionHash(const Simulation& sim) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const void* data, std::size_t size) {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
    };
    for (const Fish& f : sim.fish) {
        const float state[] = {f.position.x, f.position.y, f.position.z,
                               f.velocity.x, f.velocity.y, f.velocity.z,
                               f.targetVelocity.x, f.targetVelocity.y, f.targetVelocity.z,
                               f.orientation.y, f.orientation.z,
                               f.flockCentre.x, f.flockCentre.y, f.flockCentre.z};
        mix(state, sizeof state);
        mix(&f.rampStartTime, sizeof f.rampStartTime);
        mix(&f.stepCount, sizeof f.stepCount);
    }
    return h;
}

std::vector<std::uint64_t> run(std::uint32_t tick, std::uint32_t seed, int frames) {
    Simulation& sim = startScene(tick, seed);
    std::vector<std::uint64_t> hashes;
    for (int i = 0; i < frames; ++i) {
        advanceVirtualClock(FrameMs);
        stepSimulation(sim);
        hashes.push_back(motionHash(sim));
    }
    return hashes;
}

bool finite(const Vertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

TEST(Simulation, BuildsTheScenesFishRocksAndLinks) {
    Simulation& sim = startScene(3000000u, 1u);
    const int species[FishCapacity] = {103, 103, 103, 103, 103, 103, 102, 104, 108};
    for (int j = 0; j < FishCapacity; ++j) {
        EXPECT_EQ(sim.fish[j].species, species[j]) << j;
        EXPECT_GT(getVertexCount(sim.fish[j]), 0) << j;
        EXPECT_EQ(sim.fish[j].school, sim.fish);
        EXPECT_EQ(sim.fish[j].schoolCount, 9);
        EXPECT_EQ(sim.fish[j].obstacles, sim.decorations);
        EXPECT_EQ(sim.fish[j].obstacleCount, 17);
        EXPECT_EQ(getTexture(sim.fish[j]), 0u);
    }
    for (int k = 0; k < PlacedRockCount; ++k) {
        EXPECT_EQ(sim.decorations[k].position.x, RockPositions[k][0]) << k;
        EXPECT_EQ(sim.decorations[k].position.y, RockPositions[k][1]) << k;
        EXPECT_EQ(sim.decorations[k].position.z, RockPositions[k][2]) << k;
    }
    for (int k = PlacedRockCount; k < DecorationCapacity; ++k) {
        EXPECT_EQ(sim.decorations[k].position.x, 0.0f) << k;
        EXPECT_EQ(getVertexCount(sim.decorations[k]), 12) << k;
    }
    // Fish 0..5 share species 103 and with it one flock.
    int total = 0;
    for (const SpeciesBuild& b : SpeciesBuildOrder) total += b.fishCount;
    EXPECT_EQ(total, SceneFishCount);
}

TEST(Simulation, SameSeedAndTickReplayFrameForFrame) {
    const std::vector<std::uint64_t> a = run(7000000u, 99u, 1500);
    const std::vector<std::uint64_t> b = run(7000000u, 99u, 1500);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) ASSERT_EQ(a[i], b[i]) << "frame " << i;
    // Another start tick reseeds every fish differently.
    const std::vector<std::uint64_t> c = run(7000001u, 99u, 10);
    EXPECT_NE(a.back(), c.back());
}

TEST(Simulation, FishKeepRampingAcrossTheTickWrap) {
    Simulation& sim = startScene(0xFFFFFFFFu - 2000u, 5u);
    int choicesAfterWrap[FishCapacity] = {};
    bool chosen[FishCapacity] = {};
    std::uint32_t lastChoice[FishCapacity] = {};
    for (int frame = 0; frame < 1000; ++frame) {  // 10 s, wrapping after 2 s
        advanceVirtualClock(FrameMs);
        stepSimulation(sim);
        for (int j = 0; j < FishCapacity; ++j) {
            const Fish& f = sim.fish[j];
            ASSERT_TRUE(finite(f.position) && finite(f.velocity)) << j;
            if (chosen[j] && f.rampStartTime == lastChoice[j]) continue;  // a ramp frame
            if (chosen[j]) {
                // Every ramp lasts its period rounded up to whole frames,
                // across the wrap too.
                EXPECT_EQ(static_cast<std::uint32_t>(f.rampStartTime - lastChoice[j]),
                          (static_cast<std::uint32_t>(f.rampPeriod) + 9u) / 10u * 10u)
                    << "fish " << j << " frame " << frame;
            }
            chosen[j] = true;
            lastChoice[j] = f.rampStartTime;
            if (f.rampStartTime < 0x80000000u) ++choicesAfterWrap[j];
        }
    }
    for (int j = 0; j < FishCapacity; ++j) {
        // About 8 s after the wrap at 0.5 to 1.5 s a ramp.
        EXPECT_GE(choicesAfterWrap[j], 8000 / sim.fish[j].rampPeriod - 1) << j;
    }
}

TEST(Simulation, AMinuteStaysFiniteAndNearTheTank) {
    Simulation& sim = startScene(10000000u, 3u);
    float farthest = 0.0f;
    for (int frame = 0; frame < 6000; ++frame) {
        advanceVirtualClock(FrameMs);
        stepSimulation(sim);
        for (const Fish& f : sim.fish) {
            ASSERT_TRUE(finite(f.position) && finite(f.velocity) && finite(f.targetVelocity));
            farthest = std::max({farthest, std::fabs(f.position.x) - 24.0f,
                                 std::fabs(f.position.y) - 12.0f, std::fabs(f.position.z) - 12.0f});
        }
    }
    // Walls turn targets back, not positions, so a fish may overshoot a little.
    EXPECT_LT(farthest, 6.0f);
}

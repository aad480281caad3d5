#include "scene/simulation.h"

#include "host/virtual_clock.h"
#include "mesh/random.h"
#include "scene/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

Simulation& startScene(std::uint32_t tick, std::uint32_t seed) {
    Simulation& sim = simulation();
    setVirtualTick(tick);
    randomSeed(seed);
    constructSimulation(sim);
    buildSimulation(sim);
    return sim;
}

bool finite(const Vertex& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

struct RunRecord {
    std::vector<std::uint64_t> hashes;  // per frame: FNV-1a over every fish's motion
    float farthest = 0.0f;              // largest distance beyond the glass
    int firstNonFinite = -1;            // frame
};

RunRecord run(std::uint32_t tick, std::uint32_t seed, int frames) {
    Simulation& sim = startScene(tick, seed);
    RunRecord r;
    for (int i = 0; i < frames; ++i) {
        advanceVirtualClock(10);
        stepSimulation(sim);
        std::uint64_t h = 1469598103934665603ull;
        auto mix = [&h](const void* data, std::size_t size) {
            const unsigned char* p = static_cast<const unsigned char*>(data);
            for (std::size_t k = 0; k < size; ++k) h = (h ^ p[k]) * 1099511628211ull;
        };
        for (const Fish& f : sim.fish) {
            const bool ok = finite(f.position) && finite(f.velocity) && finite(f.targetVelocity);
            if (!ok && r.firstNonFinite < 0) r.firstNonFinite = i;
            mix(&f.position, sizeof f.position);
            mix(&f.targetVelocity, sizeof f.targetVelocity);
            mix(&f.rampStartTime, sizeof f.rampStartTime);
            r.farthest = std::max({r.farthest, std::fabs(f.position.x) - 24.0f,
                                   std::fabs(f.position.y) - 12.0f, std::fabs(f.position.z) - 12.0f});
        }
        r.hashes.push_back(h);
    }
    return r;
}

}  // namespace

TEST(Simulation, BuildsTheScenesFishRocksAndLinks) {
    Simulation& sim = startScene(3000000u, 1u);
    const int species[FishCapacity] = {103, 103, 103, 103, 103, 103, 102, 104, 108};
    for (int j = 0; j < FishCapacity; ++j) {
        EXPECT_EQ(sim.fish[j].species, species[j]) << j;
        EXPECT_GT(getVertexCount(sim.fish[j]), 0) << j;
        EXPECT_TRUE(sim.fish[j].school == sim.fish && sim.fish[j].schoolCount == 9) << j;
        EXPECT_TRUE(sim.fish[j].obstacles == sim.decorations && sim.fish[j].obstacleCount == 17) << j;
    }
    for (int k = 0; k < DecorationCapacity; ++k) {
        const float* at = k < PlacedRockCount ? RockPositions[k] : nullptr;  // the rest stay at 0
        EXPECT_EQ(sim.decorations[k].position.x, at ? at[0] : 0.0f) << k;
        EXPECT_EQ(sim.decorations[k].position.y, at ? at[1] : 0.0f) << k;
        EXPECT_EQ(sim.decorations[k].position.z, at ? at[2] : 0.0f) << k;
        EXPECT_EQ(getVertexCount(sim.decorations[k]), 12) << k;
    }
}

TEST(Simulation, AMinuteStaysFiniteNearTheTankAndReplaysFrameForFrame) {
    // The hour-long version is tools/soak.cpp.
    const RunRecord a = run(10000000u, 3u, 6000);
    EXPECT_EQ(a.firstNonFinite, -1);
    // Walls turn targets back, not positions, so a fish may overshoot a little.
    EXPECT_LT(a.farthest, 6.0f);
    const RunRecord b = run(10000000u, 3u, 6000);
    EXPECT_NE(a.hashes.front(), a.hashes.back()) << "the fish do move";
    for (std::size_t i = 0; i < a.hashes.size(); ++i) ASSERT_EQ(a.hashes[i], b.hashes[i]) << "frame " << i;
}

#include "scene/aquarium.h"

#include "host/offscreen_host.h"
#include "mesh/random.h"
#include "scene/layout.h"
#include "scene/tank.h"
#include "tests/support/fish_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

Aquarium& startScene(std::uint32_t tick, std::uint32_t seed) {
    static Aquarium sim;  // not `scene`, which another test checks as main found it
    setVirtualTick(tick);
    randomSeed(seed);
    constructAquarium(sim);
    buildSceneBodies(sim);
    return sim;
}

bool finite(const Vertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

struct RunRecord {
    std::vector<float> trace;  // every fish's position and target, frame after frame
    float farthest = 0.0f;     // largest distance beyond the glass
    int firstNonFinite = -1;   // frame
};

RunRecord run(std::uint32_t tick, std::uint32_t seed, int frames) {
    Aquarium& sim = startScene(tick, seed);
    RunRecord r;
    for (int i = 0; i < frames; ++i) {
        advanceVirtualClock(10);
        stepScene(sim);
        for (const Fish& f : sim.fish) {
            const bool ok = finite(f.position) && finite(f.velocity) && finite(f.targetVelocity);
            if (!ok && r.firstNonFinite < 0) r.firstNonFinite = i;
            const Vertex &p = f.position, &t = f.targetVelocity;
            r.trace.insert(r.trace.end(), {p.x, p.y, p.z, t.x, t.y, t.z});
            r.farthest = std::max({r.farthest, std::fabs(f.position.x) - TankHalfWidth,
                                   std::fabs(f.position.y) - TankHalfHeight,
                                   std::fabs(f.position.z) - TankHalfDepth});
        }
    }
    return r;
}

}  // namespace

TEST(SceneBodies, BuildsTheScenesFishRocksAndLinks) {
    Aquarium& sim = startScene(3000000u, 1u);
    const int species[FishCapacity] = {103, 103, 103, 103, 103, 103, 102, 104, 108};
    for (int j = 0; j < FishCapacity; ++j) {
        EXPECT_EQ(sim.fish[j].species, species[j]) << j;
        EXPECT_GT(getVertexCount(sim.fish[j]), 0) << j;
        EXPECT_TRUE(hasSpeciesBehaviour(sim.fish[j])) << j;
        const Fish& f = sim.fish[j];
        EXPECT_TRUE(f.school == sim.fish && f.schoolCount == 9) << j;
        EXPECT_TRUE(f.obstacles == sim.decorations && f.obstacleCount == PlacedRockCount) << j;
    }
    for (int k = 0; k < DecorationCapacity; ++k) {
        const float* at = k < PlacedRockCount ? RockPositions[k] : nullptr;  // the rest stay at 0
        const Vertex expected = at ? vec(at[0], at[1], at[2]) : vec(0, 0, 0);
        EXPECT_TRUE(vecNear(sim.decorations[k].position, expected, 0.0)) << k;
        EXPECT_EQ(getVertexCount(sim.decorations[k]), 12) << k;
    }
}

TEST(SceneBodies, AMinuteStaysFiniteNearTheTankAndReplaysFrameForFrame) {
    // The hour-long version is tools/soak.cpp.
    const RunRecord a = run(10000000u, 3u, 6000);
    EXPECT_EQ(a.firstNonFinite, -1);
    // Walls turn targets back, not positions, so a fish may overshoot a little.
    EXPECT_LT(a.farthest, 6.0f);
    const RunRecord b = run(10000000u, 3u, 6000);
    EXPECT_NE(a.trace[0], a.trace[a.trace.size() - 6 * FishCapacity]) << "fish 0 never moved";
    ASSERT_EQ(a.trace.size(), b.trace.size());
    for (std::size_t i = 0; i < a.trace.size(); ++i) {
        ASSERT_EQ(a.trace[i], b.trace[i]) << "frame " << i / (FishCapacity * 6);
    }
}

// The headless scene from the renderer's default start tick, to the bit: the
// rocks as constructed and every fish after 1,000 and 30,000 frames of 10 ms
// (the same values as the drawn scene's trace).
#include "host/offscreen_host.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "world/tank.h"
#include "tests/support/mesh_fixtures.h"

#include <cmath>

TEST(SceneKnownAnswers, RocksAndFishFromStartTick60000) {
    auto sim = std::make_unique<Aquarium>();
    setVirtualTick(60000);
    randomSeed(1);
    constructAquarium(*sim);
    buildSceneBodies(*sim);

    // Each rock's yaw, radius, place, corners, texture coordinates and normals.
    std::uint64_t rocks = Fnv1aStart;
    for (const Decoration& d : sim->decorations) {
        const float shape[5] = {d.yaw, d.radius, d.position.x, d.position.y, d.position.z};
        rocks = fnv1a(rocks, shape, sizeof shape);
        for (int i = 0; i < d.vertexCount; ++i) rocks = fnv1a(rocks, &d.vertices[i].x, 8 * sizeof(float));
    }
    EXPECT_EQ(rocks, 0x28e715a0cd9a6231u);
    EXPECT_EQ(randomState(), 3260744534u);

    for (int frame = 1; frame <= 30000; ++frame) {
        stepScene(*sim);
        advanceVirtualClock(10);
        for (const Fish& f : sim->fish)  // inside the glass all along
            ASSERT_TRUE(std::fabs(f.position.x) <= TankHalfWidth && std::fabs(f.position.y) <= TankHalfHeight &&
                        std::fabs(f.position.z) <= TankHalfDepth)
                << "frame " << frame << " species " << f.species;
        if (frame != 1000 && frame != 30000) continue;
        std::uint64_t state = Fnv1aStart;  // every position and velocity, to the bit
        for (const Fish& f : sim->fish) {
            const float got[6] = {f.position.x, f.position.y, f.position.z,
                                  f.velocity.x, f.velocity.y, f.velocity.z};
            state = fnv1a(state, got, sizeof got);
        }
        EXPECT_EQ(state, frame == 1000 ? 0xb9cdb27ed53650ffu : 0x652ea088271a1deeu)
            << "frame " << frame << std::hex << " 0x" << state;
    }
}

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
    const float expected[2][FishCapacity][6] = {  // x, y, z, vx, vy, vz
        {{15.6126738f, -0.718527794f, -6.08182669f, -0.00592860905f, 0.00100000005f, 0.00100000005f},
         {3.3746655f, 0.604009509f, -0.684114933f, -0.0174031015f, 0.0147877671f, 0.00100000005f},
         {9.28940105f, -0.676030278f, -4.25392485f, -0.0715680346f, 0.0127634518f, 0.00237881555f},
         {10.354949f, -2.54845357f, -5.89864063f, -0.0589345135f, -0.00749304891f, 0.00375934318f},
         {13.2894678f, 1.5975486f, -4.66141653f, 0.00100000005f, 0.0434849337f, 0.00759825995f},
         {7.1058569f, -2.00795221f, -9.75466347f, -0.0322663113f, 0.0103492197f, 0.00816570222f},
         {8.19721603f, -1.61653233f, -8.59779167f, 0.00100000005f, -0.0210053734f, -0.00222587213f},
         {9.14435863f, -3.30175567f, -5.21224499f, 0.0253468156f, 0.0362478644f, 0.0104977787f},
         {8.21793842f, 0.910399497f, 7.8514986f, -0.0336233079f, 0.0224043764f, 0.00825988874f}},
        {{14.2076292f, 8.05447388f, -3.3837719f, -0.0164911747f, -0.00425839517f, 0.0376328267f},
         {17.5268402f, 6.64457417f, -3.05827165f, 0.0208047424f, -0.0093134027f, 0.0455558524f},
         {15.4322939f, 6.8752203f, -3.6853168f, 0.0365161858f, -0.00662561646f, 0.0513691157f},
         {16.469286f, 4.29346943f, -2.73782849f, 0.00126656517f, -0.0013026502f, 0.00393605139f},
         {13.8785229f, 7.98676825f, -3.01667547f, 0.0114045814f, 0.0126067856f, 0.0195110738f},
         {16.5074787f, 4.94185305f, -0.38093096f, 0.015510493f, -0.0141688297f, 0.0807599276f},
         {8.16642189f, 6.89163971f, 2.75930071f, 0.0096944645f, 0.00657734182f, 0.0150912935f},
         {17.660017f, -5.99189329f, -8.17716408f, 0.0629897416f, 0.04028349f, -0.00366427167f},
         {-13.9956064f, 3.85182166f, -3.71784592f, -0.0365441926f, 0.0469589084f, -0.0270654429f}}};
    auto sim = std::make_unique<Aquarium>();
    setVirtualTick(60000);
    randomSeed(1);
    constructAquarium(*sim);
    buildSceneBodies(*sim);

    // Each rock's yaw, radius, place, corners, texture coordinates and normals;
    // the species on the fish in build order.
    std::uint64_t rocks = Fnv1aStart;
    for (const Decoration& d : sim->decorations) {
        const float shape[5] = {d.yaw, d.radius, d.position.x, d.position.y, d.position.z};
        rocks = fnv1a(rocks, shape, sizeof shape);
        for (int i = 0; i < d.vertexCount; ++i) rocks = fnv1a(rocks, &d.vertices[i].x, 8 * sizeof(float));
    }
    EXPECT_EQ(rocks, 0x28e715a0cd9a6231u);
    EXPECT_EQ(randomState(), 3260744534u);
    const int species[FishCapacity] = {103, 103, 103, 103, 103, 103, 102, 104, 108};
    for (int j = 0; j < FishCapacity; ++j) EXPECT_EQ(sim->fish[j].species, species[j]) << j;

    for (int frame = 1; frame <= 30000; ++frame) {
        stepScene(*sim);
        advanceVirtualClock(10);
        for (const Fish& f : sim->fish)  // inside the glass all along
            ASSERT_TRUE(std::fabs(f.position.x) <= TankHalfWidth && std::fabs(f.position.y) <= TankHalfHeight &&
                        std::fabs(f.position.z) <= TankHalfDepth)
                << "frame " << frame << " species " << f.species;
        if (frame != 1000 && frame != 30000) continue;
        for (int j = 0; j < FishCapacity; ++j) {
            const Fish& f = sim->fish[j];
            const float got[6] = {f.position.x, f.position.y, f.position.z,
                                  f.velocity.x, f.velocity.y, f.velocity.z};
            for (int k = 0; k < 6; ++k)
                EXPECT_EQ(got[k], expected[frame / 30000][j][k]) << "frame " << frame << " fish " << j;
        }
    }
}

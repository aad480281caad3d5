#include "fish/swim_animation.h"

#include "data/species_tables.h"
#include "tests/support/fish_fixtures.h"

// The rest shape bent by a quarter wave from nose to tail and, over the last
// 15 %, by a flutter of two waves from bottom to top growing to the tip:
// every bent position, to the bit, at phase 0 and 0.7 pi.
TEST(SwimAnimation, BendsTheRestShapeByTheWaveAndTailFlutter) {
    auto fish = makeFish(profile108, 43);
    const std::uint64_t digests[2] = {0x08b1105c04c6231au, 0x20879c39ff201f2du};
    for (const int step : {0, 7}) {  // of 20
        fish->stepCount = step;
        fish->lastStepCount = 20;
        applySwimAnimation(*fish);
        std::uint64_t bent = Fnv1aStart;
        for (int i = 0; i < fish->vertexCount; ++i) bent = fnv1a(bent, &fish->vertices[i].x, 12);
        EXPECT_EQ(bent, digests[step / 7]) << "step " << step << std::hex << " 0x" << bent;
    }
    // The normals were folded in twice more, once a bend.
    EXPECT_EQ(fish->vertices[0].faceCount, 3 * fish->restVertices[0].faceCount);
    fish->lastStepCount = 0;  // no division by zero
    applySwimAnimation(*fish);
    EXPECT_TRUE(fish->lastStepCount == 1 && std::isfinite(getVertex(*fish, 0).z));
}

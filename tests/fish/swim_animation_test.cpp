#include "fish/swim_animation.h"

#include "data/species_tables.h"
#include "tests/support/fish_fixtures.h"

// The bent z of each rest vertex: a quarter wave from nose to tail, plus over
// the last 15 % a flutter of two waves from bottom to top growing to the tip.
TEST(SwimAnimation, BendsTheRestShapeByTheWaveAndTailFlutter) {
    const double pi = 3.141592653589793;
    auto fish = makeFish(profile108, 43);
    const Fish& f = *fish;
    const double length = f.xMax - f.xMin;
    for (const int step : {0, 7}) {  // of 20: phase 0 and 0.7 pi
        fish->stepCount = step;
        fish->lastStepCount = 20;
        applySwimAnimation(*fish);
        const double phase = static_cast<float>(step / 10.0f * pi);
        for (int i = 0; i < getVertexCount(f); ++i) {
            const Vertex r = getRestVertex(f, i), v = getVertex(f, i);
            double z = r.z + std::sin((r.x - f.xMin) / length * 0.5 * pi + phase) * f.xMax / 30.0;
            if (r.x - f.xMin > 0.85 * length)
                z += std::sin((r.y - f.yMin) / (f.yMax - f.yMin) * 4.0 * pi + phase) * f.xMax / 60.0 *
                     (0.15 * length - (f.xMax - r.x)) / (0.15 * length);
            EXPECT_TRUE(v.x == r.x && v.y == r.y) << i;
            EXPECT_NEAR(v.z, z, 1e-5) << i << " at step " << step;
        }
    }
    EXPECT_EQ(getVertex(f, 0).faceCount, 3 * getRestVertex(f, 0).faceCount) << "folded twice more";
    fish->lastStepCount = 0;  // no division by zero
    applySwimAnimation(*fish);
    EXPECT_TRUE(fish->lastStepCount == 1 && std::isfinite(getVertex(f, 0).z));
}

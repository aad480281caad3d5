#include "fish/swim_animation.h"

#include "data/species_tables.h"
#include "tests/support/fish_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The bent z of a rest vertex: a quarter wave from nose to tail, plus over
// the last 15 % a flutter of two waves, its phase 0 at yMin, growing to the tip.
double expectedZ(const Fish& f, const Vertex& r, double phase) {
    const double length = f.xMax - f.xMin;
    double z = r.z + std::sin((r.x - f.xMin) / length * 0.5 * Pi + phase) * f.xMax / 30.0;
    if (r.x - f.xMin > 0.85 * length) {
        const double grow = (0.15 * length - (f.xMax - r.x)) / (0.15 * length);
        z += std::sin((r.y - f.yMin) / (f.yMax - f.yMin) * 4.0 * Pi + phase) * f.xMax / 60.0 * grow;
    }
    return z;
}

}  // namespace

TEST(SwimAnimation, BendsTheRestShapeByTheWaveAndTailFlutterEveryBeat) {
    auto fish = makeFish(profile108, 43);
    auto atPhaseZero = std::make_unique<Fish>();
    for (const int step : {0, 7, 20}) {  // of 20: phase 0, 0.7 pi and 2 pi, in turn on one fish
        fish->stepCount = step;
        fish->lastStepCount = 20;
        applySwimAnimation(*fish);
        if (step == 0) *atPhaseZero = *fish;
        const float t = static_cast<float>(step) / 20.0f;
        const double phase = static_cast<float>((t + t) * Pi);
        int tail = 0;
        for (int i = 0; i < getVertexCount(*fish); ++i) {
            const Vertex r = getRestVertex(*fish, i), v = getVertex(*fish, i);
            EXPECT_TRUE(v.x == r.x && v.y == r.y) << i;
            EXPECT_NEAR(v.z, expectedZ(*fish, r, phase), 1e-5) << i << " at step " << step;
            if (step == 0 && r.x == fish->xMin) {
                EXPECT_NEAR(v.z, r.z, 1e-6) << "the nose keeps its rest z";
            }
            if (r.x - fish->xMin > 0.85f * (fish->xMax - fish->xMin)) ++tail;
        }
        EXPECT_GT(tail, 0) << "no tail vertex to test the flutter on";
    }
    for (int i = 0; i < getVertexCount(*fish); ++i) {
        EXPECT_NEAR(getVertex(*fish, i).z, getVertex(*atPhaseZero, i).z, 1e-5) << "2 pi is 0 " << i;
    }
}

TEST(SwimAnimation, DegenerateInputsStayFinite) {
    auto fish = makeFish(profile108, 43);
    fish->stepCount = 0;
    fish->lastStepCount = 0;
    applySwimAnimation(*fish);
    EXPECT_EQ(fish->lastStepCount, 1);
    EXPECT_TRUE(std::isfinite(getVertex(*fish, 0).z));

    auto flat = makeFish();
    applySwimAnimation(*flat);  // no vertices: only the normals pass
    EXPECT_EQ(getVertexCount(*flat), 0);
    for (const float z : {1.0f, -1.0f, 0.5f}) addVertex(*flat, 0.0f, 0.0f, z);  // no x or y extent
    addTriangle(*flat, 0, 1, 2);
    for (int i = 0; i < 3; ++i) flat->restVertices[i] = flat->vertices[i];
    flat->lastStepCount = 10;
    applySwimAnimation(*flat);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isfinite(getVertex(*flat, i).z)) << i;
}

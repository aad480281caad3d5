#include "fish/swim_animation.h"

#include "data/species_tables.h"
#include "fish/species_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr double Pi = 3.141592653589793;

std::unique_ptr<Fish> swimmer() {
    auto fish = std::make_unique<Fish>();
    constructFish(*fish);
    buildSpeciesGeometry(*fish, profile108, 43);
    return fish;
}

// The bend of one rest vertex for a phase, from its definition.
double expectedZ(const Fish& f, const Vertex& r, double phase) {
    const double length = f.xMax - f.xMin;
    const double a = (r.x - f.xMin) / length * 0.5 * Pi;
    const double b = (r.y - f.yMin) / (f.yMax - f.yMin) * 4.0 * Pi;
    double z = r.z + std::sin(a + phase) * f.xMax / 30.0;
    if (r.x - f.xMin > 0.85 * length) {
        const double c = (0.15 * length - (f.xMax - r.x)) / (0.15 * length);
        z += std::sin(b + phase) * f.xMax / 60.0 * c;
    }
    return z;
}

}  // namespace

TEST(SwimAnimation, PhaseZeroBendsFromTheRestShape) {
    auto fish = swimmer();
    fish->stepCount = 0;
    fish->lastStepCount = 40;
    applySwimAnimation(*fish);
    int tailVertices = 0;
    for (int i = 0; i < getVertexCount(*fish); ++i) {
        const Vertex r = getRestVertex(*fish, i);
        const Vertex v = getVertex(*fish, i);
        EXPECT_EQ(v.x, r.x);
        EXPECT_EQ(v.y, r.y);
        EXPECT_NEAR(v.z, expectedZ(*fish, r, 0.0), 1e-5) << i;
        if (r.x == fish->xMin) {
            EXPECT_NEAR(v.z, r.z, 1e-6) << "the nose keeps its rest z";
        }
        if (r.x - fish->xMin > 0.85f * (fish->xMax - fish->xMin)) ++tailVertices;
    }
    EXPECT_GT(tailVertices, 0);
}

TEST(SwimAnimation, FullBeatReturnsToTheSameShapeWithoutDrift) {
    auto fish = swimmer();
    fish->stepCount = 0;
    fish->lastStepCount = 30;
    applySwimAnimation(*fish);
    auto first = std::make_unique<Fish>(*fish);
    fish->stepCount = 13;
    applySwimAnimation(*fish);
    fish->stepCount = 30;  // phase 2 pi
    applySwimAnimation(*fish);
    for (int i = 0; i < getVertexCount(*fish); ++i) {
        EXPECT_NEAR(getVertex(*fish, i).z, getVertex(*first, i).z, 1e-5) << i;
        // The rest shape is never written.
        EXPECT_EQ(getRestVertex(*fish, i).z, getRestVertex(*first, i).z);
    }
}

TEST(SwimAnimation, MidBeatMatchesTheWaveAndTailFlutter) {
    auto fish = swimmer();
    fish->stepCount = 7;
    fish->lastStepCount = 20;
    applySwimAnimation(*fish);
    const double phase = static_cast<float>((0.35f + 0.35f) * Pi);
    for (int i = 0; i < getVertexCount(*fish); ++i) {
        const Vertex r = getRestVertex(*fish, i);
        EXPECT_NEAR(getVertex(*fish, i).z, expectedZ(*fish, r, phase), 1e-5) << i;
    }
}

TEST(SwimAnimation, ZeroLastStepCountBecomesOne) {
    auto fish = swimmer();
    fish->stepCount = 0;
    fish->lastStepCount = 0;
    applySwimAnimation(*fish);
    EXPECT_EQ(fish->lastStepCount, 1);
}

TEST(SwimAnimation, FlatOrEmptyMeshesStayFinite) {
    auto fish = std::make_unique<Fish>();
    constructFish(*fish);
    applySwimAnimation(*fish);  // no vertices: only the normals pass
    EXPECT_EQ(getVertexCount(*fish), 0);

    // A mesh with no extent in x or y.
    addVertex(*fish, 0.0f, 0.0f, 1.0f);
    addVertex(*fish, 0.0f, 0.0f, -1.0f);
    addVertex(*fish, 0.0f, 0.0f, 0.5f);
    addTriangle(*fish, 0, 1, 2);
    for (int i = 0; i < 3; ++i) fish->restVertices[i] = fish->vertices[i];
    fish->stepCount = 5;
    fish->lastStepCount = 10;
    applySwimAnimation(*fish);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isfinite(getVertex(*fish, i).z)) << i;
}

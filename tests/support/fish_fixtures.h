// Set-ups shared by the fish and scene tests. A Fish or a Decoration holds a
// Mesh (about 0.5 MB), so every record here lives on the heap.
#pragma once

#include "fish/fish.h"
#include "fish/species_model.h"
#include "host/offscreen_host.h"
#include "world/decoration.h"
#include "tests/support/mesh_fixtures.h"

#include <array>
#include <cmath>

// A tick count well past the first ramp and far from either wrap.
constexpr std::uint32_t FixtureTick = 5000000u;

inline Vertex vec(float x, float y, float z) { return Vertex{x, y, z, 0, 0, 0, 0, 0, 0}; }

// x, y and z within `tolerance` of each other.
inline ::testing::AssertionResult vecNear(Vertex a, Vertex e, double tolerance = 1e-6) {
    const bool near = std::fabs(a.x - e.x) <= tolerance && std::fabs(a.y - e.y) <= tolerance &&
                      std::fabs(a.z - e.z) <= tolerance;  // false for NaN
    if (near) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") is not ("
                                         << e.x << ", " << e.y << ", " << e.z << ")";
}

// The behaviour numbers a profile row sets, in its order, less the flocking value.
inline std::array<float, 6> behaviourParameters(const Fish& f) {
    return {f.wanderChance, f.maxSpeed, f.size, f.yieldDistance, f.flockRadius, f.priority};
}

// A fish constructed with the virtual clock at `tick`, given the body and
// behaviour of a profile table when `rows` is set.
inline std::unique_ptr<Fish> makeFish(const ProfileRow* rows = nullptr, int count = 0,
                                      std::uint32_t tick = FixtureTick) {
    auto fish = std::make_unique<Fish>();
    setVirtualTick(tick);
    constructFish(*fish);
    if (rows != nullptr) buildSpeciesGeometry(*fish, rows, count);
    return fish;
}

// `count` constructed fish linked as one school.
inline std::unique_ptr<Fish[]> makeSchool(int count) {
    auto school = std::make_unique<Fish[]>(static_cast<std::size_t>(count));
    setVirtualTick(FixtureTick);
    for (int i = 0; i < count; ++i) {
        constructFish(school[i]);
        linkSchool(school[i], school.get(), count);
    }
    return school;
}

// A constructed decoration standing at (x, y, z) with obstacle radius `radius`.
inline void placeRock(Decoration& rock, float x, float y, float z, float radius) {
    constructDecoration(rock);
    setPosition(rock, x, y, z);
    rock.radius = radius;
}

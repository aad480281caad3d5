#include "scene/rock.h"

#include "mesh/random.h"
#include "scene/decoration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct Corner {
    float x, y, z;
};

// Regular prism corners by vertex index (first use: B0 T1 B1 T0 BC TC T2 B2 T3
// B3 T4 B4).
constexpr Corner Prism[12] = {
    {3, 0, -1}, {2, 1, 2},  {2, 0, 2},   {3, 1, -1}, {0, 0, 0},   {0, 1, 0},
    {-2, 1, 3}, {-2, 0, 3}, {-3, 1, -1}, {-3, 0, -1}, {0.5f, 1, -3}, {0.5f, 0, -3},
};

// Moves every vertex of the prism as a roughening whose draws are all `draw`
// would: each coordinate by (2f - 1) times its amplitude.
void roughenUniformly(Mesh& mesh, int draw) {
    const float f = static_cast<float>(draw) / static_cast<float>(RandomMax);
    const float amplitude[3] = {1.0f, 0.1f, 1.0f};
    for (int i = 0; i < mesh.vertexCount; ++i) {
        Vertex& v = mesh.vertices[i];
        v.x += (f + f) * amplitude[0] - amplitude[0];
        v.y += (f + f) * amplitude[1] - amplitude[1];
        v.z += (f + f) * amplitude[2] - amplitude[2];
    }
}

}  // namespace

TEST(RockGenerator, PrismWeldsTwelveVerticesInFirstUseOrder) {
    auto mesh = std::make_unique<Mesh>();
    initMesh(*mesh);
    buildRockPrism(*mesh);
    ASSERT_EQ(getVertexCount(*mesh), 12);
    ASSERT_EQ(getTriangleCount(*mesh), 20);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(mesh->vertices[i].x, Prism[i].x) << i;
        EXPECT_EQ(mesh->vertices[i].y, Prism[i].y) << i;
        EXPECT_EQ(mesh->vertices[i].z, Prism[i].z) << i;
    }
    // First side face B0 T1 B1 and the first fan faces BC B0 B1, TC T1 T0.
    const Triangle& t1 = mesh->triangles[0];
    EXPECT_EQ(t1.corners[0], 0);
    EXPECT_EQ(t1.corners[1], 1);
    EXPECT_EQ(t1.corners[2], 2);
    EXPECT_EQ(mesh->triangles[2].corners[0], 4);
    EXPECT_EQ(mesh->triangles[3].corners[0], 5);
    // Last face T4 TC T0.
    EXPECT_EQ(mesh->triangles[19].corners[0], 10);
    EXPECT_EQ(mesh->triangles[19].corners[1], 5);
    EXPECT_EQ(mesh->triangles[19].corners[2], 3);
}

TEST(RockGenerator, EveryFaceNormalPointsOutOfTheSlab) {
    auto mesh = std::make_unique<Mesh>();
    initMesh(*mesh);
    buildRockPrism(*mesh);
    const float root10 = std::sqrt(10.0f);
    EXPECT_NEAR(mesh->triangles[0].normal[0], 3.0f / root10, 1e-6f);
    EXPECT_NEAR(mesh->triangles[0].normal[1], 0.0f, 1e-6f);
    EXPECT_NEAR(mesh->triangles[0].normal[2], 1.0f / root10, 1e-6f);
    EXPECT_FLOAT_EQ(mesh->triangles[2].normal[1], -1.0f);  // bottom fan
    EXPECT_FLOAT_EQ(mesh->triangles[3].normal[1], 1.0f);   // top fan
    for (int t = 0; t < 20; ++t) {
        const Triangle& tri = mesh->triangles[t];
        double c[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k) {
            c[0] += mesh->vertices[tri.corners[k]].x / 3.0;
            c[1] += mesh->vertices[tri.corners[k]].y / 3.0;
            c[2] += mesh->vertices[tri.corners[k]].z / 3.0;
        }
        // The slab is convex around its centre (0, 0.5, 0).
        const double outward =
            c[0] * tri.normal[0] + (c[1] - 0.5) * tri.normal[1] + c[2] * tri.normal[2];
        EXPECT_GT(outward, 0.0) << "triangle " << t;
    }
}

TEST(RockGenerator, AllLowDrawsMoveEveryCoordinateByMinusItsAmplitude) {
    auto rock = std::make_unique<Decoration>();
    initMesh(*rock);
    buildRockPrism(*rock);
    roughenUniformly(*rock, 0);
    measureRock(*rock);
    const Vertex v0 = getVertex(*rock, 0);
    EXPECT_FLOAT_EQ(v0.x, 2.0f);
    EXPECT_FLOAT_EQ(v0.y, -0.1f);
    EXPECT_FLOAT_EQ(v0.z, -2.0f);
    EXPECT_FLOAT_EQ(rock->radius, std::sqrt(20.0f));  // P3 moved to (-4, -2)
    EXPECT_EQ(v0.u, 0.0f);  // vertex 0 gets no texture coordinate
    EXPECT_EQ(v0.v, 0.0f);
    const Vertex centre = getVertex(*rock, 4);  // bottom centre, like every other from 1
    EXPECT_FLOAT_EQ(centre.u, -1.0f);
    EXPECT_FLOAT_EQ(centre.v, -0.1f);
}

TEST(RockGenerator, AllHighDrawsMoveEveryCoordinateByPlusItsAmplitude) {
    auto rock = std::make_unique<Decoration>();
    initMesh(*rock);
    buildRockPrism(*rock);
    roughenUniformly(*rock, RandomMax);
    measureRock(*rock);
    EXPECT_FLOAT_EQ(getVertex(*rock, 0).x, 4.0f);
    EXPECT_FLOAT_EQ(getVertex(*rock, 0).y, 0.1f);
    EXPECT_FLOAT_EQ(rock->radius, std::sqrt(18.0f));  // P1 moved to (3, 3)
}

TEST(RockGenerator, VertexZeroNeverCountsForTheRadius) {
    auto rock = std::make_unique<Decoration>();
    initMesh(*rock);
    buildRockPrism(*rock);
    setVertexPosition(*rock, 0, 40.0f, 0.0f, 0.0f);
    measureRock(*rock);
    EXPECT_FLOAT_EQ(rock->radius, std::sqrt(13.0f));  // P2 (-2, 3) is the farthest
}

TEST(RockGenerator, GeneratedRockIsThePrismRoughenedByTheNext36Draws) {
    auto rock = std::make_unique<Decoration>();
    auto prism = std::make_unique<Mesh>();
    initMesh(*prism);
    buildRockPrism(*prism);

    randomSeed(12345u);
    initMesh(*rock);
    generateRock(*rock);
    const std::uint32_t after = randomState();

    randomSeed(12345u);
    ASSERT_EQ(getVertexCount(*rock), 12);
    ASSERT_EQ(getTriangleCount(*rock), 20);
    float radius = 0.0f;
    for (int i = 0; i < 12; ++i) {
        float expected[3] = {prism->vertices[i].x, prism->vertices[i].y, prism->vertices[i].z};
        const float amplitude[3] = {1.0f, 0.1f, 1.0f};
        for (int a = 0; a < 3; ++a) {
            const float f = static_cast<float>(randomNext()) / 32767.0f;
            expected[a] += (f + f) * amplitude[a] - amplitude[a];
        }
        const Vertex v = getVertex(*rock, i);
        EXPECT_EQ(v.x, expected[0]);
        EXPECT_EQ(v.y, expected[1]);
        EXPECT_EQ(v.z, expected[2]);
        // Within the amplitudes of the prism's corner.
        EXPECT_LE(std::fabs(v.x - prism->vertices[i].x), 1.0f);
        EXPECT_LE(std::fabs(v.y - prism->vertices[i].y), 0.1f + 1e-6f);
        // Normals stay those of the unroughened prism.
        EXPECT_EQ(v.nx, prism->vertices[i].nx);
        EXPECT_EQ(v.ny, prism->vertices[i].ny);
        EXPECT_EQ(v.nz, prism->vertices[i].nz);
        if (i > 0) {
            EXPECT_EQ(v.u, v.x);
            EXPECT_EQ(v.v, v.y);
            radius = std::max(radius, static_cast<float>(std::hypot(double(v.x), double(v.z))));
        }
    }
    EXPECT_EQ(randomState(), after) << "exactly 36 draws";
    EXPECT_FLOAT_EQ(rock->radius, radius);
}

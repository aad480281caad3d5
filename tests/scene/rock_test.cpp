#include "scene/rock.h"

#include "mesh/random.h"
#include "scene/decoration.h"
#include "tests/support/fish_fixtures.h"

#include <gtest/gtest.h>

TEST(RockGenerator, GeneratedRockIsTheOutwardPrismJitteredByThe36NextDraws) {
    auto rock = std::make_unique<Decoration>();
    auto prism = std::make_unique<Mesh>();
    initMesh(*rock);
    initMesh(*prism);
    buildRockPrism(*prism);
    for (int t = 0; t < 20; ++t) {
        const Triangle& tri = prism->triangles[t];
        Vertex c = vec(0, -0.5f, 0);  // centroid seen from the slab's centre (0, 0.5, 0)
        for (const int k : tri.corners) {
            c.x += prism->vertices[k].x / 3.0f;
            c.y += prism->vertices[k].y / 3.0f;
            c.z += prism->vertices[k].z / 3.0f;
        }
        EXPECT_GT(c.x * tri.normal[0] + c.y * tri.normal[1] + c.z * tri.normal[2], 0.0f) << t;
    }

    randomSeed(12345u);
    generateRock(*rock);
    const std::uint32_t after = randomState();
    ASSERT_EQ(getVertexCount(*rock), 12);
    ASSERT_EQ(getTriangleCount(*rock), 20);
    for (int i = 0; i < 12; ++i) {
        const Vertex v = getVertex(*rock, i), p = prism->vertices[i];
        EXPECT_TRUE(v.nx == p.nx && v.ny == p.ny && v.nz == p.nz) << "normals of the prism " << i;
    }
    randomSeed(12345u);
    jitterVertices(*prism, 1.0f, 0.1f, 1.0f);
    EXPECT_EQ(randomState(), after) << "exactly 36 draws";
    for (int i = 0; i < 12; ++i) {
        const Vertex v = getVertex(*rock, i), p = prism->vertices[i];
        EXPECT_TRUE(v.x == p.x && v.y == p.y && v.z == p.z) << i;
        EXPECT_TRUE(i == 0 || (v.u == v.x && v.v == v.y)) << "texture coordinate " << i;
    }
}

TEST(RockGenerator, UniformDrawsGiveTheExtremeRocks) {
    // Draws all 0 (all RandomMax) move every corner by minus (plus) 1, 0.1, 1.
    // Vertex 0 (B0, at (3, 0, -1)) counts for neither radius nor texture
    // coordinates: moving it far out must change nothing.
    const struct { int draw; Vertex vertex0; float radius; } cases[] = {
        {0, vec(2.0f, -0.1f, -2.0f), std::sqrt(20.0f)},         // P3 moved to (-4, -2)
        {RandomMax, vec(4.0f, 0.1f, 0.0f), std::sqrt(18.0f)}};  // P1 moved to (3, 3)
    for (const auto& c : cases) {
        auto rock = std::make_unique<Decoration>();
        initMesh(*rock);
        buildRockPrism(*rock);
        const float f = static_cast<float>(c.draw) / RandomMax, shift = f + f - 1.0f;
        for (int i = 0; i < 12; ++i) {
            const Vertex v = getVertex(*rock, i);
            setVertexPosition(*rock, i, v.x + shift, v.y + shift * 0.1f, v.z + shift);
        }
        EXPECT_TRUE(vecNear(getVertex(*rock, 0), c.vertex0)) << c.draw;
        setVertexPosition(*rock, 0, 40.0f, 5.0f, 0.0f);
        measureRock(*rock);
        EXPECT_FLOAT_EQ(rock->radius, c.radius) << c.draw;
        EXPECT_TRUE(getVertex(*rock, 0).u == 0.0f && getVertex(*rock, 0).v == 0.0f);
    }
}

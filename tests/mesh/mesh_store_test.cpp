#include "mesh/mesh.h"

#include "mesh/random.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(MeshStore, ReusesExactlyEqualPositionsOnly) {
    auto mesh = emptyMesh();
    EXPECT_EQ(addVertex(*mesh, 0, 0, 0), 0);
    EXPECT_EQ(addVertex(*mesh, 0, -0.0f, 0), 0);  // -0 equals +0
    EXPECT_EQ(addVertex(*mesh, 0, 0, 1e-7f), 1);  // no tolerance
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(addVertex(*mesh, nan, 0, 0), 2);
    EXPECT_EQ(addVertex(*mesh, nan, 0, 0), 3);  // NaN never matches
}

TEST(MeshStore, BoxGrowsFromZeroAndLaterMovesLeaveItAlone) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 1, 1, 1);
    addVertex(*mesh, 2, 1.5f, 1);
    EXPECT_EQ(getXMin(*mesh), 0.0f);
    EXPECT_EQ(getXMax(*mesh), 2.0f);
    addVertex(*mesh, -3, -4, -5);
    EXPECT_EQ(getYMin(*mesh), -4.0f);
    EXPECT_EQ(getZMin(*mesh), -5.0f);
    setVertexPosition(*mesh, 0, 100, 100, 100);
    EXPECT_EQ(getXMax(*mesh), 2.0f);
}

TEST(MeshStore, FullStoresAndBadCornersAnswerMinusOne) {
    auto mesh = emptyMesh();
    for (int i = 0; i < MaxVertices; ++i) ASSERT_EQ(addVertex(*mesh, float(i), 0, 0), i);
    EXPECT_EQ(addVertex(*mesh, -1, 0, 0), -1);
    EXPECT_EQ(addVertex(*mesh, 0, 0, 0), -1);  // even for a stored position
    EXPECT_EQ(addTriangle(*mesh, 0, -1, 2), -1);
    EXPECT_EQ(addTriangle(*mesh, 0, 1, MaxVertices), -1);
    for (int t = 0; t < MaxTriangles; ++t) ASSERT_EQ(addTriangle(*mesh, 0, 1, 2), t);
    EXPECT_EQ(addTriangle(*mesh, 0, 1, 2), -1);
    EXPECT_EQ(mesh->triangleCount, MaxTriangles);
    // Out-of-range accessors neither write nor read outside the store.
    setVertexPosition(*mesh, -1, 9, 9, 9);
    EXPECT_EQ(getRestVertex(*mesh, -5).x, 0.0f);
}

TEST(MeshStore, FaceNormalsAndTheirRunningMeans) {
    auto mesh = emptyMesh();
    const int a = addVertex(*mesh, 0, 0, 0), b = addVertex(*mesh, 1, 0, 0);
    const int c = addVertex(*mesh, 0, 1, 0), d = addVertex(*mesh, 0, 0, 1);
    ASSERT_EQ(addTriangle(*mesh, a, b, c), 0);  // counter-clockwise seen from +z
    const float* n = mesh->triangles[0].normal;
    EXPECT_TRUE(n[0] == 0 && n[1] == 0 && n[2] == 1) << n[0] << "," << n[1] << "," << n[2];
    ASSERT_EQ(addTriangle(*mesh, a, c, d), 1);  // normal (1, 0, 0)
    const Vertex shared = getVertex(*mesh, a);
    EXPECT_EQ(shared.faceCount, 2);
    EXPECT_FLOAT_EQ(shared.nx, 0.5f);
    EXPECT_EQ(shared.ny, 0.0f);
    EXPECT_FLOAT_EQ(shared.nz, 0.5f);

    auto line = emptyMesh();  // collinear corners: zero normal, still counted
    addVertex(*line, 0, 0, 0), addVertex(*line, 1, 0, 0), addVertex(*line, 2, 0, 0);
    addTriangle(*line, 0, 1, 2);
    addTriangle(*line, 0, 1, 2);
    EXPECT_EQ(line->triangles[0].normal[2], 0.0f);
    EXPECT_EQ(getVertex(*line, 0).faceCount, 2);
}

TEST(MeshStore, RecomputeFoldsAgainAndFaceCountStopsAtItsRange) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 0, 0, 0), addVertex(*mesh, 1, 0, 0), addVertex(*mesh, 0, 1, 0);
    addTriangle(*mesh, 0, 1, 2);
    recomputeNormals(*mesh);
    EXPECT_EQ(getVertex(*mesh, 0).faceCount, 2);
    EXPECT_EQ(getVertex(*mesh, 0).nz, 1.0f);
    mesh->vertices[0].faceCount = std::numeric_limits<std::int32_t>::max() - 1;
    recomputeNormals(*mesh);
    recomputeNormals(*mesh);  // would pass INT32_MAX
    EXPECT_EQ(getVertex(*mesh, 0).faceCount, std::numeric_limits<std::int32_t>::max());
    EXPECT_TRUE(std::isfinite(getVertex(*mesh, 0).nz));
}

TEST(MeshStore, JitterDrawsThreeValuesPerVertexWithinTheAmplitudes) {
    auto mesh = emptyMesh();
    for (int i = 0; i < 100; ++i) addVertex(*mesh, float(i), 0, 0);
    randomSeed(5);
    jitterVertices(*mesh, 1.0f, 0.1f, 2.0f);
    for (int i = 0; i < 100; ++i) {
        const Vertex v = getVertex(*mesh, i);
        EXPECT_TRUE(std::fabs(v.x - float(i)) <= 1 && std::fabs(v.y) <= 0.1f + 1e-7f &&
                    std::fabs(v.z) <= 2)
            << i << ": " << v.x << "," << v.y << "," << v.z;
    }
    randomSeed(5);  // exactly three draws per vertex
    for (int i = 0; i < 300; ++i) randomNext();
    const std::uint32_t after = randomState();
    randomSeed(5);
    jitterVertices(*mesh, 1, 1, 1);
    EXPECT_EQ(randomState(), after);
}

TEST(VectorMath, SumsSquaresInDouble) {
    EXPECT_EQ(vectorLength(3, 4, 0), 5.0f);
    EXPECT_FLOAT_EQ(vectorLength(3e20f, 4e20f, 0), 5e20f);  // overflows in float
}

// Corners map to origin / size and (origin + span + 1) / size.
TEST(TextureMapping, MapsTheBoxFromTheOriginOntoTheSkinRectangle) {
    auto mesh = emptyMesh();
    addVertex(*mesh, -2, -1, 0);
    addVertex(*mesh, 2, 1, 0);
    mapTexture(*mesh, 256, 2, 253, 2, 140);
    EXPECT_FLOAT_EQ(mesh->vertices[0].u, 2.0f / 256);
    EXPECT_FLOAT_EQ(mesh->vertices[0].v, 2.0f / 256);
    EXPECT_FLOAT_EQ(mesh->vertices[1].u, 1.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[1].v, 143.0f / 256);

    auto shifted = emptyMesh();  // the box holds the origin: x in 1..2 maps to 0.5..1
    addVertex(*shifted, 1, 1, 0);
    addVertex(*shifted, 2, 2, 0);
    mapTexture(*shifted, 128, 0, 127, 0, 127);
    EXPECT_FLOAT_EQ(shifted->vertices[0].u, 0.5f);

    auto flat = emptyMesh();  // no extent in x or y: no division by zero
    addVertex(*flat, 0, 0, 1);
    mapTexture(*flat, 256, 64, 10, 32, 10);
    EXPECT_EQ(flat->vertices[0].u, 0.25f);
    EXPECT_EQ(flat->vertices[0].v, 0.125f);
}

#include "mesh/mesh.h"

#include "mesh/random.h"
#include "tests/support/mesh_fixtures.h"

#include <cmath>

TEST(MeshStore, WeldsExactlyEqualPositionsAndGrowsTheBoxFromZero) {
    auto mesh = emptyMesh();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // No tolerance; -0 equals +0; NaN never matches.
    const float points[7][3] = {{1, 1, 1}, {1, 1, 1 + 1e-7f}, {0, -0.0f, 0}, {0, 0, 0},
                                {nan, 0, 0}, {nan, 0, 0},     {2, -4, -5}};
    const int indices[7] = {0, 1, 2, 2, 3, 4, 5};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(addVertex(*mesh, points[i][0], points[i][1], points[i][2]), indices[i]) << i;
    const float box[6] = {getXMin(*mesh), getXMax(*mesh), getYMin(*mesh),
                          getYMax(*mesh), getZMin(*mesh), getZMax(*mesh)};
    const float expected[6] = {0, 2, -4, 1, -5, 1.0000001f};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(box[i], expected[i]) << "bound " << i;
    setVertexPosition(*mesh, 0, 100, 100, 100);  // later moves leave the box alone
    EXPECT_EQ(getXMax(*mesh), 2.0f);
}

TEST(MeshStore, FullStoresAndBadCornersAnswerMinusOne) {
    auto mesh = emptyMesh();
    for (int i = 0; i < MaxVertices; ++i) ASSERT_EQ(addVertex(*mesh, float(i), 0, 0), i);
    EXPECT_EQ(addVertex(*mesh, 0, 0, 0), -1);  // even for a stored position
    const int bad[5][3] = {{-1, 1, 2}, {0, -1, 2}, {0, 1, -1}, {0, 1, MaxVertices},
                           {MaxVertices, 1, 2}};  // corners out of range
    for (const auto& t : bad) EXPECT_EQ(addTriangle(*mesh, t[0], t[1], t[2]), -1) << &t - bad;
    for (int t = 0; t < MaxTriangles; ++t) ASSERT_EQ(addTriangle(*mesh, 0, 1, 2), t);
    EXPECT_EQ(addTriangle(*mesh, 0, 1, 2), -1);
    setVertexPosition(*mesh, -1, 9, 9, 9);  // out of range: neither written nor read
    EXPECT_EQ(getRestVertex(*mesh, MaxVertices).x, 0.0f);
}

TEST(MeshStore, FaceNormalsFoldIntoARunningMeanThatStopsCountingAtItsRange) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 0, 0, 0), addVertex(*mesh, 1, 0, 0), addVertex(*mesh, 0, 1, 0);
    addVertex(*mesh, 0, 0, 1), addVertex(*mesh, 2, 0, 0);
    addTriangle(*mesh, 0, 1, 2);  // counter-clockwise seen from +z: (0, 0, 1)
    addTriangle(*mesh, 0, 2, 3);  // (1, 0, 0)
    addTriangle(*mesh, 0, 1, 4);  // collinear: (0, 0, 0), still counted
    const Vertex v = getVertex(*mesh, 0);
    EXPECT_EQ(v.faceCount, 3);
    EXPECT_TRUE(v.nx == 1.0f / 3 && v.ny == 0.0f && v.nz == 1.0f / 3) << v.nx << " " << v.nz;
    // Every face folded in once more: the same directions, and a count that
    // stops at its range.
    mesh->vertices[2].faceCount = std::numeric_limits<std::int32_t>::max() - 1;
    recomputeNormals(*mesh);
    EXPECT_EQ(getVertex(*mesh, 0).faceCount, 6);
    EXPECT_FLOAT_EQ(getVertex(*mesh, 0).nx, 1.0f / 3);
    EXPECT_EQ(getVertex(*mesh, 2).faceCount, std::numeric_limits<std::int32_t>::max());
    EXPECT_TRUE(std::isfinite(getVertex(*mesh, 2).nz));
    EXPECT_FLOAT_EQ(vectorLength(3e20f, 4e20f, 0), 5e20f);  // squares summed in double
}

// Seed 1 draws 41, 18467 and 6334 of 32767 (the classic generator's first three
// draws), for x, y and z in turn. A flat box maps to the texture rectangle's
// origin without dividing by zero.
TEST(MeshStore, JitterMovesXYZInTurnByTheirOwnAmplitudesAndAFlatBoxMapsToTheOrigin) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 0, 0, 1);  // the box, grown from zero, flat in x and y
    mapTexture(*mesh, 256, 64, 10, 32, 10);
    const Vertex& v = mesh->vertices[0];
    EXPECT_TRUE(v.u == 0.25f && v.v == 0.125f);
    randomSeed(1);
    jitterVertices(*mesh, 1.0f, 0.1f, 2.0f);
    EXPECT_TRUE(std::fabs(v.x + 0.9974975) < 1e-6 && std::fabs(v.y - 0.0127171) < 1e-6 &&
                std::fabs(v.z + 0.226783) < 1e-6) << v.x << " " << v.y << " " << v.z;
}

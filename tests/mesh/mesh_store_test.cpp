#include "mesh/mesh.h"

#include "mesh/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// Meshes are large: tests keep them on the heap.
std::unique_ptr<Mesh> emptyMesh() {
    auto mesh = std::make_unique<Mesh>();
    initMesh(*mesh);
    return mesh;
}

}  // namespace

TEST(MeshStore, ReusesExactlyEqualPositionsOnly) {
    auto mesh = emptyMesh();
    EXPECT_EQ(addVertex(*mesh, 0, 0, 0), 0);
    EXPECT_EQ(addVertex(*mesh, 0, -0.0f, 0), 0);  // -0 equals +0
    EXPECT_EQ(addVertex(*mesh, 0, 0, 1e-7f), 1);  // no tolerance
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(addVertex(*mesh, nan, 0, 0), 2);
    EXPECT_EQ(addVertex(*mesh, nan, 0, 0), 3);  // NaN never matches
    EXPECT_EQ(getVertexCount(*mesh), 4);
}

TEST(MeshStore, BoxGrowsFromZeroAndKeepsTheOrigin) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 1, 1, 1);
    addVertex(*mesh, 2, 1.5f, 1);
    EXPECT_EQ(getXMin(*mesh), 0.0f);
    EXPECT_EQ(getXMax(*mesh), 2.0f);
    EXPECT_EQ(getYMax(*mesh), 1.5f);
    addVertex(*mesh, -3, -4, -5);
    EXPECT_EQ(getXMin(*mesh), -3.0f);
    EXPECT_EQ(getYMin(*mesh), -4.0f);
    EXPECT_EQ(getZMin(*mesh), -5.0f);
    setVertexPosition(*mesh, 0, 100, 100, 100);  // later moves leave the box alone
    EXPECT_EQ(getXMax(*mesh), 2.0f);
}

TEST(MeshStore, FullStoresAnswerMinusOne) {
    auto mesh = emptyMesh();
    for (int i = 0; i < MaxVertices; ++i) ASSERT_EQ(addVertex(*mesh, float(i), 0, 0), i);
    EXPECT_EQ(addVertex(*mesh, -1, 0, 0), -1);
    EXPECT_EQ(addVertex(*mesh, 0, 0, 0), -1);  // even for a stored position
    for (int t = 0; t < MaxTriangles; ++t) ASSERT_EQ(addTriangle(*mesh, 0, 1, 2), t);
    EXPECT_EQ(addTriangle(*mesh, 0, 1, 2), -1);
    EXPECT_EQ(mesh->triangleCount, MaxTriangles);
}

TEST(MeshStore, RefusesTrianglesWithCornersOutsideTheStore) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 0, 0, 0);
    addVertex(*mesh, 1, 0, 0);
    addVertex(*mesh, 0, 1, 0);
    EXPECT_EQ(addTriangle(*mesh, 0, -1, 2), -1);
    EXPECT_EQ(addTriangle(*mesh, 0, 1, 3), -1);
    EXPECT_EQ(mesh->triangleCount, 0);
    EXPECT_EQ(addTriangle(*mesh, 0, 1, 2), 0);
}

TEST(MeshStore, FaceNormalsAndTheirRunningMeans) {
    auto mesh = emptyMesh();
    const int a = addVertex(*mesh, 0, 0, 0), b = addVertex(*mesh, 1, 0, 0);
    const int c = addVertex(*mesh, 0, 1, 0), d = addVertex(*mesh, 0, 0, 1);
    ASSERT_EQ(addTriangle(*mesh, a, b, c), 0);  // counter-clockwise seen from +z
    EXPECT_EQ(mesh->triangles[0].normal[0], 0.0f);
    EXPECT_EQ(mesh->triangles[0].normal[1], 0.0f);
    EXPECT_EQ(mesh->triangles[0].normal[2], 1.0f);
    ASSERT_EQ(addTriangle(*mesh, a, c, d), 1);  // normal (1, 0, 0)
    const Vertex shared = getVertex(*mesh, a);
    EXPECT_EQ(shared.faceCount, 2);
    EXPECT_FLOAT_EQ(shared.nz, 0.5f);
    EXPECT_FLOAT_EQ(shared.nx, 0.5f);
    EXPECT_EQ(shared.ny, 0.0f);
}

TEST(MeshStore, CollinearCornersGiveAZeroNormalThatStillCounts) {
    auto mesh = emptyMesh();
    const int a = addVertex(*mesh, 0, 0, 0), b = addVertex(*mesh, 1, 0, 0);
    const int c = addVertex(*mesh, 2, 0, 0);
    addTriangle(*mesh, a, b, c);
    addTriangle(*mesh, a, b, c);
    EXPECT_EQ(mesh->triangles[0].normal[2], 0.0f);
    EXPECT_EQ(getVertex(*mesh, a).faceCount, 2);
}

TEST(MeshStore, RecomputeDoublesCountsAndKeepsDirections) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 0, 0, 0);
    addVertex(*mesh, 1, 0, 0);
    addVertex(*mesh, 0, 1, 0);
    addTriangle(*mesh, 0, 1, 2);
    recomputeNormals(*mesh);
    EXPECT_EQ(getVertex(*mesh, 0).faceCount, 2);
    EXPECT_EQ(getVertex(*mesh, 0).nz, 1.0f);
}

TEST(MeshStore, FaceCountStopsAtItsRangeInsteadOfOverflowing) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 0, 0, 0);
    addVertex(*mesh, 1, 0, 0);
    addVertex(*mesh, 0, 1, 0);
    addTriangle(*mesh, 0, 1, 2);
    mesh->vertices[0].faceCount = std::numeric_limits<std::int32_t>::max() - 1;
    recomputeNormals(*mesh);
    recomputeNormals(*mesh);  // would pass INT32_MAX
    const Vertex v = getVertex(*mesh, 0);
    EXPECT_EQ(v.faceCount, std::numeric_limits<std::int32_t>::max());
    EXPECT_TRUE(std::isfinite(v.nz));
}

TEST(MeshStore, AccessorsIgnoreIndicesOutsideTheStore) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 1, 2, 3);
    setVertexPosition(*mesh, 1, 9, 9, 9);
    setVertexPosition(*mesh, -1, 9, 9, 9);
    EXPECT_EQ(getVertex(*mesh, 0).x, 1.0f);
    EXPECT_EQ(getVertex(*mesh, 1).x, 0.0f);
    EXPECT_EQ(getRestVertex(*mesh, -5).x, 0.0f);
}

TEST(MeshStore, JitterDrawsThreeValuesPerVertexWithinTheAmplitudes) {
    auto mesh = emptyMesh();
    for (int i = 0; i < 100; ++i) addVertex(*mesh, float(i), 0, 0);
    randomSeed(5);
    jitterVertices(*mesh, 1.0f, 0.1f, 2.0f);
    for (int i = 0; i < 100; ++i) {
        const Vertex v = getVertex(*mesh, i);
        EXPECT_LE(std::fabs(v.x - float(i)), 1.0f);
        EXPECT_LE(std::fabs(v.y), 0.1f + 1e-7f);
        EXPECT_LE(std::fabs(v.z), 2.0f);
    }
    // Exactly 300 draws were taken.
    randomSeed(5);
    for (int i = 0; i < 300; ++i) randomNext();
    const std::uint32_t after = randomState();
    randomSeed(5);
    jitterVertices(*mesh, 1, 1, 1);
    EXPECT_EQ(randomState(), after);
}

TEST(VectorMath, LengthAndDistanceInDouble) {
    EXPECT_EQ(vectorLength(3, 4, 0), 5.0f);
    Vertex p{}, q{};
    p.x = 1;
    p.y = 2;
    p.z = 3;
    q.x = 4;
    q.y = 6;
    q.z = 3;
    EXPECT_EQ(pointDistance(p, q), 5.0f);
    EXPECT_EQ(vectorLength(p), static_cast<float>(std::sqrt(14.0)));
    // Squares summed in double do not overflow where floats would.
    EXPECT_FLOAT_EQ(vectorLength(3e20f, 4e20f, 0), 5e20f);
}

TEST(TextureMapping, MapsTheBoxOntoTheSkinRectangle) {
    auto mesh = emptyMesh();
    addVertex(*mesh, -2, -1, 0);
    addVertex(*mesh, 2, 1, 0);
    addVertex(*mesh, 0, 0, 5);
    mapTexture(*mesh, 256, 2, 253, 2, 140);
    EXPECT_FLOAT_EQ(mesh->vertices[0].u, 2.0f / 256);
    EXPECT_FLOAT_EQ(mesh->vertices[0].v, 2.0f / 256);
    EXPECT_FLOAT_EQ(mesh->vertices[1].u, 1.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[1].v, 143.0f / 256);
    EXPECT_FLOAT_EQ(mesh->vertices[2].u, (2.0f + 127.0f) / 256);
}

TEST(TextureMapping, ABoxFromTheOriginShiftsAMeshAtPositiveX) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 1, 1, 0);
    addVertex(*mesh, 2, 2, 0);
    mapTexture(*mesh, 128, 0, 127, 0, 127);
    EXPECT_FLOAT_EQ(mesh->vertices[0].u, 0.5f);
}

TEST(TextureMapping, AFlatBoxMapsToTheRectangleOrigin) {
    auto mesh = emptyMesh();
    addVertex(*mesh, 0, 0, 1);
    addVertex(*mesh, 0, 0, 2);
    mapTexture(*mesh, 256, 64, 10, 32, 10);
    EXPECT_EQ(mesh->vertices[1].u, 0.25f);
    EXPECT_EQ(mesh->vertices[1].v, 0.125f);
}

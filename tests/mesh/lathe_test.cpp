#include "mesh/lathe.h"

#include "data/species_tables.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

namespace {

class SpeciesModels : public ::testing::TestWithParam<SpeciesBox> {};

}  // namespace

TEST_P(SpeciesModels, HaveTheirCountsBoundingBoxesAndRestShape) {
    const SpeciesBox& expected = GetParam();
    const SpeciesTable* table = findSpeciesTable(expected.species);
    ASSERT_NE(table, nullptr);
    auto mesh = emptyMesh();
    const LatheSkin skin = buildLatheGeometry(*mesh, table->rows, table->rowCount);
    EXPECT_EQ(skin.textureResource, expected.species);
    const int rings = table->rowCount - 3;
    EXPECT_EQ(getVertexCount(*mesh), 8 * rings);
    EXPECT_EQ(getTriangleCount(*mesh), 2 * (8 * rings - 10));
    const float box[6] = {getXMin(*mesh), getXMax(*mesh), getYMin(*mesh),
                          getYMax(*mesh), getZMin(*mesh), getZMax(*mesh)};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(box[i], expected.box[i], 0.0005) << "bound " << i;
    for (int i = 0; i < getVertexCount(*mesh); ++i) {
        ASSERT_EQ(getRestVertex(*mesh, i).y, getVertex(*mesh, i).y) << i;
        ASSERT_EQ(getRestVertex(*mesh, i).faceCount, getVertex(*mesh, i).faceCount) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(AllSix, SpeciesModels, ::testing::ValuesIn(speciesBoxes), speciesName);

TEST(Lathe, RingVerticesRunFromTheTopAroundTowardsPlusZ) {
    auto mesh = emptyMesh();
    buildLatheGeometry(*mesh, profile104, 45);
    const Vertex top = getVertex(*mesh, 0), side = getVertex(*mesh, 2);
    const Vertex bottom = getVertex(*mesh, 4);
    EXPECT_FLOAT_EQ(top.x, -1.75f);
    EXPECT_FLOAT_EQ(top.y, -0.08f);
    EXPECT_EQ(top.z, 0.0f);
    EXPECT_FLOAT_EQ(bottom.y, -0.12f);
    EXPECT_NEAR(bottom.z, 0.0f, 1e-6);
    EXPECT_GT(side.z, 0.0f);
}

TEST(Lathe, OutwardFacesWindCounterClockwise) {
    auto mesh = emptyMesh();
    buildLatheGeometry(*mesh, profile102, 35);
    int outward = 0;  // face normals pointing away from the ring axis
    for (int t = 0; t < getTriangleCount(*mesh); ++t) {
        const Triangle& tri = mesh->triangles[t];
        outward += getVertex(*mesh, tri.corners[0]).z * tri.normal[2] >= 0.0f;
    }
    EXPECT_GT(outward, getTriangleCount(*mesh) * 9 / 10);
}

TEST(Lathe, ShortTablesBuildWhatTheirRingsAllow) {
    const struct { int rows, vertices, triangles; } cases[] = {{3, 0, 0}, {4, 8, 0}, {5, 16, 12}};
    for (const auto& c : cases) {
        auto mesh = emptyMesh();
        const LatheSkin skin = buildLatheGeometry(*mesh, profile103, c.rows);
        EXPECT_EQ(skin.textureResource, 103) << c.rows << " rows";
        EXPECT_EQ(getVertexCount(*mesh), c.vertices) << c.rows << " rows";
        EXPECT_EQ(getTriangleCount(*mesh), c.triangles) << c.rows << " rows";
    }
}

#include "mesh/lathe.h"

#include "data/species_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

std::unique_ptr<Mesh> emptyMesh() {
    auto mesh = std::make_unique<Mesh>();
    initMesh(*mesh);
    return mesh;
}

struct SpeciesModel {
    int species;
    int vertices, triangles;
    float box[6];  // x, y, z ranges to three decimals
};

void PrintTo(const SpeciesModel& model, std::ostream* out) { *out << "species " << model.species; }

class SpeciesModels : public ::testing::TestWithParam<SpeciesModel> {};

}  // namespace

TEST_P(SpeciesModels, HaveTheirCountsAndBoundingBoxes) {
    const SpeciesModel& expected = GetParam();
    const SpeciesTable* table = findSpeciesTable(expected.species);
    ASSERT_NE(table, nullptr);
    auto mesh = emptyMesh();
    const LatheSkin skin = buildLatheGeometry(*mesh, table->rows, table->rowCount);
    EXPECT_EQ(skin.textureResource, expected.species);
    EXPECT_EQ(getVertexCount(*mesh), expected.vertices);
    EXPECT_EQ(getTriangleCount(*mesh), expected.triangles);
    const int rings = table->rowCount - 3;
    EXPECT_EQ(getVertexCount(*mesh), 8 * rings);
    EXPECT_EQ(getTriangleCount(*mesh), 2 * (8 * rings - 10));
    const float box[6] = {getXMin(*mesh), getXMax(*mesh), getYMin(*mesh),
                          getYMax(*mesh), getZMin(*mesh), getZMax(*mesh)};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(box[i], expected.box[i], 0.0005) << "bound " << i;
}

INSTANTIATE_TEST_SUITE_P(
    AllSix, SpeciesModels,
    ::testing::Values(
        SpeciesModel{101, 296, 572, {-1.75f, 1.59f, -0.65f, 0.727f, -0.25f, 0.25f}},
        SpeciesModel{102, 256, 492, {-2.51f, 2.5f, -1.04f, 1.04f, -0.3f, 0.3f}},
        SpeciesModel{103, 152, 284, {-0.751f, 0.701f, -0.255f, 0.245f, -0.1f, 0.1f}},
        SpeciesModel{104, 336, 652, {-1.75f, 1.75f, -0.95f, 0.97f, -0.245f, 0.245f}},
        SpeciesModel{105, 176, 332, {-0.751f, 0.75f, -0.29f, 0.285f, -0.1f, 0.1f}},
        SpeciesModel{108, 320, 620, {-0.98f, 2.82f, -1.02f, 1.44f, -0.2f, 0.2f}}),
    [](const ::testing::TestParamInfo<SpeciesModel>& param) {
        return "Species" + std::to_string(param.param.species);
    });

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
    // Every face normal points away from the ring axis (centre y, z of its ring).
    int outward = 0;
    for (int t = 0; t < getTriangleCount(*mesh); ++t) {
        const Triangle& tri = mesh->triangles[t];
        const Vertex v = getVertex(*mesh, tri.corners[0]);
        const float radial = v.z * tri.normal[2];
        if (radial >= 0.0f) ++outward;
    }
    EXPECT_GT(outward, getTriangleCount(*mesh) * 9 / 10);
}

TEST(Lathe, ShortTablesBuildWhatTheirRingsAllow) {
    auto headerOnly = emptyMesh();
    const LatheSkin skin = buildLatheGeometry(*headerOnly, profile103, 3);
    EXPECT_EQ(skin.textureResource, 103);
    EXPECT_EQ(skin.textureSize, 128.0f);
    EXPECT_EQ(getVertexCount(*headerOnly), 0);

    auto oneRing = emptyMesh();
    buildLatheGeometry(*oneRing, profile103, 4);
    EXPECT_EQ(getVertexCount(*oneRing), 8);
    EXPECT_EQ(getTriangleCount(*oneRing), 0);

    auto twoRings = emptyMesh();
    buildLatheGeometry(*twoRings, profile103, 5);
    EXPECT_EQ(getVertexCount(*twoRings), 16);
    EXPECT_EQ(getTriangleCount(*twoRings), 12);
}

TEST(Lathe, RestShapeIsCopiedAndSkinMapsNoseToTheLeftEdge) {
    auto mesh = emptyMesh();
    const LatheSkin skin = buildLatheGeometry(*mesh, profile104, 45);
    mapLatheSkin(*mesh, skin);
    for (int i = 0; i < getVertexCount(*mesh); ++i) {
        ASSERT_EQ(getRestVertex(*mesh, i).x, getVertex(*mesh, i).x);
        ASSERT_EQ(getRestVertex(*mesh, i).faceCount, getVertex(*mesh, i).faceCount);
    }
    EXPECT_FLOAT_EQ(getVertex(*mesh, 0).u, 2.0f / 256);
    EXPECT_FLOAT_EQ(getVertex(*mesh, getVertexCount(*mesh) - 1).u, 1.0f);
}

TEST(SpeciesTables, EveryTableNamesItsOwnBitmapAndStrictlyRisingRings) {
    for (const SpeciesTable& table : speciesTables) {
        EXPECT_EQ(static_cast<int>(table.rows[0].values[0]), table.species);
        for (int r = 4; r < table.rowCount; ++r)
            EXPECT_LT(table.rows[r - 1].values[0], table.rows[r].values[0])
                << "species " << table.species << " row " << r;
        for (int r = 3; r < table.rowCount; ++r) {
            EXPECT_GT(table.rows[r].values[3], 0.0f);
            EXPECT_GT(table.rows[r].values[4], 0.0f);
        }
    }
}

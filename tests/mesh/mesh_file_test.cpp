#include "mesh/mesh_file.h"

#include "data/species_tables.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::unique_ptr<Mesh> readTriangles(const std::string& text) {
    auto mesh = emptyMesh();
    std::istringstream in(text);
    readTriangleFile(*mesh, in);
    return mesh;
}

void expectSameGeometry(const Mesh& a, const Mesh& b) {
    ASSERT_EQ(a.vertexCount, b.vertexCount);
    ASSERT_EQ(a.triangleCount, b.triangleCount);
    for (int i = 0; i < a.vertexCount; ++i) {
        const Vertex &p = a.vertices[i], &q = b.vertices[i];
        EXPECT_TRUE(p.x == q.x && p.y == q.y && p.z == q.z) << "vertex " << i;
        EXPECT_EQ(a.restVertices[i].y, b.restVertices[i].y) << "rest vertex " << i;
    }
    for (int t = 0; t < a.triangleCount; ++t)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(a.triangles[t].corners[c], b.triangles[t].corners[c]) << "triangle " << t;
}

}  // namespace

TEST(TriangleFile, ReadsNumbersBetweenBlanksAndCommasLikeAtof) {
    std::string hundred = "4";  // more numbers than any reader takes
    for (int i = 1; i < 100; ++i) hundred += " 4";
    auto mesh = readTriangles("1,,2,3\r\n 4\t5 ,6\r\n7\r\n\r\n8,9,10,11,12,13,14\nabc,1.5x,1e40\n" +
                              hundred + "\n\n");
    const float inf = std::numeric_limits<float>::infinity();
    const float expected[6][3] = {{1, 2, 3},  {4, 5, 6},      {7, 0, 0},
                                  {8, 9, 10}, {0, 1.5f, inf}, {4, 4, 4}};
    ASSERT_EQ(getVertexCount(*mesh), 6);
    EXPECT_EQ(getTriangleCount(*mesh), 2);
    for (int i = 0; i < 6; ++i) {
        const Vertex& v = mesh->vertices[i];
        EXPECT_TRUE(v.x == expected[i][0] && v.y == expected[i][1] && v.z == expected[i][2])
            << "vertex " << i << ": " << v.x << "," << v.y << "," << v.z;
    }
}

TEST(TriangleFile, CountsCornersBetweenEmptyLines) {
    auto padded = [](std::string text, size_t length) {
        return text.append(length - text.size(), ' ');
    };
    const struct {
        const char* what;
        std::string text;
        int vertices, triangles;
    } cases[] = {
        {"shared edge", "0,0,0\n1,0,0\n0,1,0\n\n1,0,0\n1,1,0\n0,1,0\n\n", 4, 2},
        {"no closing line", "0,0,0\n1,0,0\n0,1,0\n", 3, 0},
        {"blanks are a vertex line", "1,0,0\n0,1,0\n   \n", 3, 0},
        {"two corners carry over", "0,0,0\n1,0,0\n\n0,1,0\n\n", 3, 1},
        {"longest line", "0,0,0\n0,1,0\n" + padded("1,0,0", MeshFileLineLimit) + "\r\n\r\n", 3, 1},
        {"over-long line ends the file",
         "0,0,0\n0,1,0\n" + padded("1,0,0", MeshFileLineLimit + 1) + "\n\n0,0,0\n2,0,0\n0,2,0\n\n",
         2, 0},
        // More than three corners: vertices added, no triangle, counting starts again.
        {"five corners", "0,0,0\n1,0,0\n0,1,0\n0,0,1\n5,5,5\n\n2,0,0\n0,2,0\n0,0,2\n\n", 8, 1},
    };
    for (const auto& c : cases) {
        auto mesh = readTriangles(c.text);
        EXPECT_EQ(getVertexCount(*mesh), c.vertices) << c.what;
        EXPECT_EQ(getTriangleCount(*mesh), c.triangles) << c.what;
        if (c.vertices == 8) {  // the triangle is the last three corners
            EXPECT_EQ(mesh->triangles[0].corners[0], 5);
        }
    }
}

TEST(TriangleFile, MissingFilesReadEmptyAndFailToWrite) {
    auto mesh = emptyMesh();
    readTriangleFile(*mesh, tempPath("no-such-dir/none.txt").c_str());
    readTriangleFile(*mesh, static_cast<const char*>(nullptr));
    EXPECT_EQ(getVertexCount(*mesh), 0);
    EXPECT_FALSE(writeTriangleFile(*mesh, tempPath("no-such-dir/none.txt").c_str()));
}

TEST(TriangleFileWriter, WritesCornersAndAnEmptyLineKeepingTheCallersFormat) {
    auto mesh = emptyMesh();
    addVertex(*mesh, -1.75f, -0.08f, 0), addVertex(*mesh, 1, 2, 3),
        addVertex(*mesh, 0.5f, 0, 0.25f);
    addTriangle(*mesh, 0, 1, 2);
    std::ostringstream out;
    out << std::fixed;
    out.precision(2);
    EXPECT_TRUE(writeTriangleFile(*mesh, out));
    EXPECT_EQ(out.str(), "-1.75 -0.08 0\n1 2 3\n0.5 0 0.25\n\n");
    EXPECT_EQ(out.flags() & std::ios::floatfield, std::ios::fixed);
    EXPECT_EQ(out.precision(), 2);
}

TEST(TriangleFileWriter, WrittenFileReadsBackAsTheSameTriangles) {
    auto model = emptyMesh();
    buildLatheGeometry(*model, profile104, 45);
    const std::string path = tempPath("species104.txt");
    ASSERT_TRUE(writeTriangleFile(*model, path.c_str()));
    auto copy = emptyMesh();
    readTriangleFile(*copy, path.c_str());
    std::remove(path.c_str());
    ASSERT_EQ(getTriangleCount(*copy), getTriangleCount(*model));
    // The last ring vertex belongs to no triangle; no two others collapse.
    EXPECT_EQ(getVertexCount(*copy), getVertexCount(*model) - 1);
    for (int t = 0; t < getTriangleCount(*model); ++t) {
        for (int c = 0; c < 3; ++c) {
            const Vertex& a = model->vertices[model->triangles[t].corners[c]];
            const Vertex& b = copy->vertices[copy->triangles[t].corners[c]];
            EXPECT_NEAR(a.x, b.x, 5e-6f * std::fabs(a.x) + 1e-12f) << t;
            EXPECT_NEAR(a.y, b.y, 5e-6f * std::fabs(a.y) + 1e-12f) << t;
            EXPECT_NEAR(a.z, b.z, 5e-6f * std::fabs(a.z) + 1e-12f) << t;
        }
    }
}

TEST(ProfileFile, CompiledTablesAsTextBuildTheSameModels) {
    for (const SpeciesTable& table : speciesTables) {
        SCOPED_TRACE(table.species);
        auto compiled = emptyMesh();
        const LatheSkin expected = buildLatheGeometry(*compiled, table.rows, table.rowCount);
        auto read = emptyMesh();
        std::istringstream in(profileText(table.rows, table.rowCount));
        const LatheSkin skin = readProfileGeometry(*read, in);
        EXPECT_TRUE(skin.textureResource == expected.textureResource &&
                    skin.textureSize == expected.textureSize && skin.uOrigin == expected.uOrigin &&
                    skin.uSpan == expected.uSpan && skin.vOrigin == expected.vOrigin &&
                    skin.vSpan == expected.vSpan);
        expectSameGeometry(*compiled, *read);
    }
}

TEST(ProfileFile, EmptyLinesBetweenRingsAreSkipped) {
    auto mesh = emptyMesh();
    std::istringstream in("101\n256 2 240 4 94\n5,7,1,2,1,8,4\n-1,0,0,0.1,0.2\n\n\n1,0,0,0.1,0.2");
    const LatheSkin skin = readProfileGeometry(*mesh, in);
    EXPECT_EQ(skin.uSpan, 240.0f);
    EXPECT_EQ(getVertexCount(*mesh), 16);
    EXPECT_EQ(getTriangleCount(*mesh), 12);
    EXPECT_EQ(mesh->restVertices[15].x, 1.0f);  // the last line has no line end
}

TEST(ProfileFile, HeaderNumbersClampToTheIntRange) {
    const struct {
        const char* text;
        int resource;
    } cases[] = {{"", 0},
                 {" 105abc\n64", 105},
                 {"99999999999999999999999", INT_MAX},
                 {"-99999999999999999999999", INT_MIN}};
    for (const auto& c : cases) {
        auto mesh = emptyMesh();
        std::istringstream in(c.text);
        EXPECT_EQ(readProfileGeometry(*mesh, in).textureResource, c.resource) << c.text;
        EXPECT_EQ(getVertexCount(*mesh), 0) << c.text;
    }
    auto mesh = emptyMesh();
    EXPECT_EQ(readProfileGeometry(*mesh, tempPath("none/none.txt").c_str()).textureResource, 0);
}

TEST(ProfileFile, MoreRingsThanTheStoreHoldsMatchTheTableBuilder) {
    std::vector<ProfileRow> rows(3 + 1000, ProfileRow{});
    rows[0].values[0] = 101;
    for (size_t r = 3; r < rows.size(); ++r) {
        rows[r].values[0] = static_cast<float>(r) * 0.01f;
        rows[r].values[3] = 0.1f;
        rows[r].values[4] = 0.2f;
    }
    auto compiled = emptyMesh();
    buildLatheGeometry(*compiled, rows.data(), static_cast<int>(rows.size()));
    auto read = emptyMesh();
    std::istringstream in(profileText(rows.data(), static_cast<int>(rows.size())));
    readProfileGeometry(*read, in);
    EXPECT_EQ(getVertexCount(*read), MaxVertices);
    EXPECT_EQ(getTriangleCount(*read), MaxTriangles);
    expectSameGeometry(*compiled, *read);
}

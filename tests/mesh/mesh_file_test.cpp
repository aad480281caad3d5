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

// The numbers a reader with room for eight takes from one line.
std::vector<float> numbersOf(const std::string& text) {
    std::istringstream in(text);
    MeshFileLine line;
    EXPECT_TRUE(readMeshFileLine(in, line));
    std::vector<float> numbers(8);
    numbers.resize(static_cast<size_t>(readLineNumbers(line, numbers.data(), 8)));
    return numbers;
}

// Every line that readMeshFileLine hands out, until it stops.
std::vector<std::string> linesOf(const std::string& text) {
    std::istringstream in(text);
    MeshFileLine line;
    std::vector<std::string> lines;
    while (readMeshFileLine(in, line)) lines.emplace_back(line.text, static_cast<size_t>(line.length));
    return lines;
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

TEST(MeshFileLines, StripEitherLineEndAndStopAtAnOverLongLine) {
    const std::string limit(MeshFileLineLimit, '1'), over(MeshFileLineLimit + 1, '1');
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\n\nb\r\n\r\nc", {"a", "", "b", "", "c"}},  // the last line has no line end
        {"  \n", {"  "}},                               // blanks are not empty
        {limit + "\r\nx", {limit, "x"}},
        {"a\n" + over + "\nb\n", {"a"}},  // dropped, and the reading ends
        {"a\n" + over, {"a"}},
        {"a\n" + std::string(5000, ',') + "\nb\n", {"a"}},
    };
    for (const auto& c : cases) EXPECT_EQ(linesOf(c.text), c.lines) << c.text.substr(0, 20);
}

TEST(MeshFileNumbers, CommasAndBlanksSeparateAndConvertLikeAtof) {
    const struct {
        const char* text;
        std::vector<float> numbers;
    } cases[] = {
        {"1,,2,3", {1, 2, 3}},
        {",1,2,3,", {1, 2, 3}},
        {"\t1 ,\t 2,  3\t", {1, 2, 3}},
        {" , ,\t", {}},
        {"abc,1.5x,-2e1,.5,0x10", {0, 1.5f, -20, 0.5f, 16}},
        {"0.1", {0.1f}},  // through double, rounded once
        {"1e40,-1e400,1e-50,3.4028235e38",
         {HUGE_VALF, -HUGE_VALF, 0, std::numeric_limits<float>::max()}},
    };
    for (const auto& c : cases) EXPECT_EQ(numbersOf(c.text), c.numbers) << c.text;
    EXPECT_TRUE(std::isnan(numbersOf("nan")[0]));
}

TEST(MeshFileNumbers, NeverFillMoreThanTheArrayAndZeroTheRest) {
    std::string hundred;  // 100 numbers in 200 characters
    for (int i = 1; i <= 100; ++i) hundred += std::to_string(i % 10) + (i % 3 ? "," : " ");
    for (const auto& text : {hundred, std::string("1")}) {
        std::istringstream in(text);
        MeshFileLine line;
        ASSERT_TRUE(readMeshFileLine(in, line));
        float numbers[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
        const int count = readLineNumbers(line, numbers, 6);
        EXPECT_EQ(count, text.size() > 1 ? 6 : 1);
        EXPECT_EQ(numbers[count - 1], float(count));  // the text's numbers count 1, 2, ...
        for (int i = count; i < 6; ++i) EXPECT_EQ(numbers[i], 0.0f) << i;
        EXPECT_TRUE(numbers[6] == -1 && numbers[7] == -1);  // past the capacity: untouched
    }
}

TEST(TriangleFile, CountsCornersBetweenEmptyLines) {
    std::string hundred = "4";
    for (int i = 1; i < 100; ++i) hundred += " 4";
    const struct {
        const char* what;
        std::string text;
        int vertices, triangles;
    } cases[] = {
        {"one", "0,0,0\n1,0,0\n0,1,0\n\n", 3, 1},
        {"shared edge", "0,0,0\n1,0,0\n0,1,0\n\n1,0,0\n1,1,0\n0,1,0\n\n", 4, 2},
        {"no closing line", "0,0,0\n1,0,0\n0,1,0\n", 3, 0},
        {"blanks are a vertex line", "1,0,0\n0,1,0\n   \n", 3, 0},
        {"two corners carry over", "0,0,0\n1,0,0\n\n0,1,0\n\n", 3, 1},
        {"blanks and CRLF", "0 0 0\r\n1\t0\t0\r\n0, 1 ,0\r\n\r\n", 3, 1},
        {"missing and extra numbers", "5\n1,2\n1,2,3,4,5,6,7,8,9\n\n", 3, 1},
        {"a hundred numbers", "0,0,0\n1,0,0\n" + hundred + "\n\n", 3, 1},
        {"over-long line ends the file",
         "0,0,0\n1,0,0\n0,1,0\n" + std::string(300, '9') + "\n\n0,0,0\n2,0,0\n0,2,0\n\n", 3, 0},
        // More than three corners: vertices added, no triangle, counting starts again.
        {"five corners", "0,0,0\n1,0,0\n0,1,0\n0,0,1\n5,5,5\n\n2,0,0\n0,2,0\n0,0,2\n\n", 8, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto mesh = readTriangles(c.text);
        EXPECT_EQ(getVertexCount(*mesh), c.vertices);
        EXPECT_EQ(getTriangleCount(*mesh), c.triangles);
    }
    auto mesh = readTriangles(cases[9].text);
    EXPECT_EQ(mesh->triangles[0].corners[0], 5);
    mesh = readTriangles(cases[6].text);
    EXPECT_TRUE(mesh->vertices[0].x == 5 && mesh->vertices[0].y == 0 && mesh->vertices[1].z == 0);
    EXPECT_EQ(mesh->vertices[2].z, 3.0f);
    mesh = readTriangles(cases[7].text);
    EXPECT_EQ(mesh->vertices[2].z, 4.0f);
}

TEST(TriangleFile, FullMeshRefusesTheTriangleAndMissingFilesReadEmpty) {
    auto mesh = emptyMesh();
    for (int i = 0; i < MaxVertices - 2; ++i) addVertex(*mesh, static_cast<float>(i), 0, 0);
    std::istringstream in("0,1,0\n0,2,0\n0,3,0\n\n");
    readTriangleFile(*mesh, in);
    EXPECT_EQ(getVertexCount(*mesh), MaxVertices);
    EXPECT_EQ(getTriangleCount(*mesh), 0);  // the third corner was -1

    auto none = emptyMesh();
    readTriangleFile(*none, tempPath("no-such-dir/none.txt").c_str());
    readTriangleFile(*none, static_cast<const char*>(nullptr));
    EXPECT_EQ(getVertexCount(*none), 0);
    EXPECT_FALSE(writeTriangleFile(*none, tempPath("no-such-dir/none.txt").c_str()));
}

TEST(TriangleFileWriter, WritesCornersAndAnEmptyLineKeepingTheCallersFormat) {
    auto mesh = emptyMesh();
    addVertex(*mesh, -1.75f, -0.08f, 0), addVertex(*mesh, 1, 2, 3), addVertex(*mesh, 0.5f, 0, 0.25f);
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

TEST(ProfileFile, HeaderLinesMissingOrOdd) {
    const struct {
        const char* text;
        int resource;
        float textureSize;
    } cases[] = {
        {"", 0, 0},
        {" 105abc\n64", 105, 64},
        {"101.9,0,0\n", 101, 0},
        {"99999999999999999999999\n", INT_MAX, 0},  // clamped, not overflowed
        {"-99999999999999999999999\n", INT_MIN, 0},
        {"x\n\n", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto mesh = emptyMesh();
        std::istringstream in(c.text);
        const LatheSkin skin = readProfileGeometry(*mesh, in);
        EXPECT_EQ(skin.textureResource, c.resource);
        EXPECT_EQ(skin.textureSize, c.textureSize);
        EXPECT_EQ(getVertexCount(*mesh), 0);
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

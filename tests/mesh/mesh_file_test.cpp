#include "mesh/mesh_file.h"

#include "data/species_tables.h"
#include "mesh/lathe.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::unique_ptr<Mesh> emptyMesh() {
    auto mesh = std::make_unique<Mesh>();
    initMesh(*mesh);
    return mesh;
}

std::unique_ptr<Mesh> readTriangles(const std::string& text) {
    auto mesh = emptyMesh();
    std::istringstream in(text);
    readTriangleFile(*mesh, in);
    return mesh;
}

// The numbers a reader with room for `capacity` takes from one line.
std::vector<float> numbersOf(const std::string& text, int capacity = 8) {
    EXPECT_LE(text.size(), static_cast<size_t>(MeshFileLineLimit));
    std::istringstream in(text);
    MeshFileLine line;
    EXPECT_TRUE(readMeshFileLine(in, line));
    std::vector<float> numbers(static_cast<size_t>(capacity));
    numbers.resize(static_cast<size_t>(readLineNumbers(line, numbers.data(), capacity)));
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

// A profile table as the comma-separated text of a profile file, each number
// written with enough digits to read back exactly.
std::string profileText(const ProfileRow* rows, int count) {
    std::ostringstream out;
    out.precision(std::numeric_limits<float>::max_digits10);
    for (int j = 0; j < count; ++j) {
        for (int i = 0; i < 7; ++i) out << (i ? "," : "") << rows[j].values[i];
        out << "\n";
    }
    return out.str();
}

// Per process: ctest runs tests, and other builds, side by side.
std::string tempPath(const char* name) {
    return ::testing::TempDir() + "mesh-file-" + std::to_string(getpid()) + "-" + name;
}

void expectSameGeometry(const Mesh& a, const Mesh& b) {
    ASSERT_EQ(a.vertexCount, b.vertexCount);
    ASSERT_EQ(a.triangleCount, b.triangleCount);
    for (int i = 0; i < a.vertexCount; ++i) {
        EXPECT_EQ(a.vertices[i].x, b.vertices[i].x) << "vertex " << i;
        EXPECT_EQ(a.vertices[i].y, b.vertices[i].y) << "vertex " << i;
        EXPECT_EQ(a.vertices[i].z, b.vertices[i].z) << "vertex " << i;
        EXPECT_EQ(a.restVertices[i].y, b.restVertices[i].y) << "rest vertex " << i;
    }
    for (int t = 0; t < a.triangleCount; ++t)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(a.triangles[t].corners[c], b.triangles[t].corners[c]) << "triangle " << t;
}

}  // namespace

TEST(MeshFileLines, CountEmptyLinesAndStripEitherLineEnd) {
    EXPECT_EQ(linesOf("a\n\nb\r\n\r\nc"),
              (std::vector<std::string>{"a", "", "b", "", "c"}));  // last line has no line end
    EXPECT_EQ(linesOf("  \n"), std::vector<std::string>{"  "});    // blanks are not empty
    EXPECT_TRUE(linesOf("").empty());
}

TEST(MeshFileLines, OverLongLineIsDroppedAndEndsTheReading) {
    const std::string limit(MeshFileLineLimit, '1');
    EXPECT_EQ(linesOf(limit + "\nx\n"), (std::vector<std::string>{limit, "x"}));
    EXPECT_EQ(linesOf(limit + "\r\nx"), (std::vector<std::string>{limit, "x"}));
    EXPECT_EQ(linesOf(limit), std::vector<std::string>{limit});
    const std::string over(MeshFileLineLimit + 1, '1');
    EXPECT_EQ(linesOf("a\n" + over + "\nb\n"), std::vector<std::string>{"a"});
    EXPECT_EQ(linesOf("a\n" + over), std::vector<std::string>{"a"});
    EXPECT_EQ(linesOf("a\n" + std::string(300, '7') + "\nb\n"), std::vector<std::string>{"a"});
    EXPECT_EQ(linesOf("a\n" + std::string(5000, ',') + "\nb\n"), std::vector<std::string>{"a"});
}

TEST(MeshFileNumbers, CommasAndBlanksSeparateAndRunsCountAsOne) {
    EXPECT_EQ(numbersOf("1,,2,3"), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(numbersOf(",1,2,3,"), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(numbersOf("1 2 3"), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(numbersOf("\t1 ,\t 2,  3\t"), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(numbersOf("-1.75 -0.08 0"), (std::vector<float>{-1.75f, -0.08f, 0}));
    EXPECT_TRUE(numbersOf(" , ,\t").empty());
}

TEST(MeshFileNumbers, ConvertLikeAtofWithoutUndefinedResults) {
    EXPECT_EQ(numbersOf("abc,1.5x,-2e1,.5,0x10"), (std::vector<float>{0, 1.5f, -20, 0.5f, 16}));
    const std::vector<float> edge = numbersOf("1e40,-1e400,1e-50,nan,3.4028235e38");
    ASSERT_EQ(edge.size(), 5u);
    EXPECT_EQ(edge[0], std::numeric_limits<float>::infinity());
    EXPECT_EQ(edge[1], -std::numeric_limits<float>::infinity());
    EXPECT_EQ(edge[2], 0.0f);
    EXPECT_TRUE(std::isnan(edge[3]));
    EXPECT_EQ(edge[4], std::numeric_limits<float>::max());
    // Through double as atof would: 0.1 rounds once to the float nearest 0.1.
    EXPECT_EQ(numbersOf("0.1")[0], 0.1f);
}

TEST(MeshFileNumbers, NeverFillMoreThanTheArrayAndZeroTheRest) {
    std::string hundred;  // 100 numbers in 200 characters
    for (int i = 1; i <= 100; ++i) hundred += std::to_string(i % 10) + (i % 3 ? "," : " ");
    std::istringstream in(hundred);
    MeshFileLine line;
    ASSERT_TRUE(readMeshFileLine(in, line));
    float numbers[8];
    for (float& n : numbers) n = -1;
    EXPECT_EQ(readLineNumbers(line, numbers, 6), 6);
    EXPECT_EQ(numbers[5], 6.0f);
    EXPECT_EQ(numbers[6], -1.0f);  // past the capacity: untouched
    EXPECT_EQ(numbers[7], -1.0f);

    std::istringstream shortLine("7");
    ASSERT_TRUE(readMeshFileLine(shortLine, line));
    for (float& n : numbers) n = -1;
    EXPECT_EQ(readLineNumbers(line, numbers, 6), 1);
    EXPECT_EQ(numbers[0], 7.0f);
    for (int i = 1; i < 6; ++i) EXPECT_EQ(numbers[i], 0.0f);
}

TEST(TriangleFile, OneTriangleGetsItsFaceNormal) {
    auto mesh = readTriangles("0,0,0\n1,0,0\n0,1,0\n\n");
    EXPECT_EQ(getVertexCount(*mesh), 3);
    ASSERT_EQ(getTriangleCount(*mesh), 1);
    EXPECT_EQ(mesh->triangles[0].normal[0], 0.0f);
    EXPECT_EQ(mesh->triangles[0].normal[1], 0.0f);
    EXPECT_EQ(mesh->triangles[0].normal[2], 1.0f);
    EXPECT_EQ(mesh->texture, 0u);
}

TEST(TriangleFile, RepeatedCornersWeldIntoSharedVertices) {
    auto mesh = readTriangles("0,0,0\n1,0,0\n0,1,0\n\n1,0,0\n1,1,0\n0,1,0\n\n");
    EXPECT_EQ(getVertexCount(*mesh), 4);
    EXPECT_EQ(getTriangleCount(*mesh), 2);
    EXPECT_EQ(mesh->vertices[1].faceCount, 2);
}

TEST(TriangleFile, ATriangleNeedsItsEmptyLine) {
    auto mesh = readTriangles("0,0,0\n1,0,0\n0,1,0\n");
    EXPECT_EQ(getVertexCount(*mesh), 3);
    EXPECT_EQ(getTriangleCount(*mesh), 0);
    // A line of blanks is a vertex line at the origin, not a closing line.
    mesh = readTriangles("1,0,0\n0,1,0\n   \n");
    EXPECT_EQ(getVertexCount(*mesh), 3);
    EXPECT_EQ(getTriangleCount(*mesh), 0);
}

TEST(TriangleFile, CornerCountingAcrossEmptyLines) {
    // Fewer than three corners carry over the empty line.
    auto mesh = readTriangles("0,0,0\n1,0,0\n\n0,1,0\n\n");
    EXPECT_EQ(getTriangleCount(*mesh), 1);
    // More than three: vertices added, no triangle, counting starts again.
    mesh = readTriangles("0,0,0\n1,0,0\n0,1,0\n0,0,1\n5,5,5\n\n2,0,0\n0,2,0\n0,0,2\n\n");
    EXPECT_EQ(getVertexCount(*mesh), 8);
    ASSERT_EQ(getTriangleCount(*mesh), 1);
    EXPECT_EQ(mesh->triangles[0].corners[0], 5);
}

TEST(TriangleFile, BlanksCrlfMissingAndExtraNumbers) {
    auto mesh = readTriangles("0 0 0\r\n1\t0\t0\r\n0, 1 ,0\r\n\r\n");
    EXPECT_EQ(getTriangleCount(*mesh), 1);
    EXPECT_EQ(mesh->vertices[2].y, 1.0f);

    mesh = readTriangles("5\n1,2\n1,2,3,4,5,6,7,8,9\n\n");
    ASSERT_EQ(getVertexCount(*mesh), 3);
    EXPECT_EQ(mesh->vertices[0].x, 5.0f);
    EXPECT_EQ(mesh->vertices[0].y, 0.0f);
    EXPECT_EQ(mesh->vertices[1].z, 0.0f);
    EXPECT_EQ(mesh->vertices[2].z, 3.0f);
    EXPECT_EQ(getTriangleCount(*mesh), 1);

    std::string hundred = "4";
    for (int i = 1; i < 100; ++i) hundred += " 4";
    mesh = readTriangles("0,0,0\n1,0,0\n" + hundred + "\n\n");
    EXPECT_EQ(getTriangleCount(*mesh), 1);
    EXPECT_EQ(mesh->vertices[2].z, 4.0f);
}

TEST(TriangleFile, OverLongLineEndsTheFile) {
    auto mesh = readTriangles("0,0,0\n1,0,0\n0,1,0\n" + std::string(300, '9') +
                              "\n\n0,0,0\n2,0,0\n0,2,0\n\n");
    EXPECT_EQ(getVertexCount(*mesh), 3);
    EXPECT_EQ(getTriangleCount(*mesh), 0);
}

TEST(TriangleFile, FullMeshRefusesTheTriangle) {
    auto mesh = emptyMesh();
    for (int i = 0; i < MaxVertices - 2; ++i) addVertex(*mesh, static_cast<float>(i), 0, 0);
    std::istringstream in("0,1,0\n0,2,0\n0,3,0\n\n");
    readTriangleFile(*mesh, in);
    EXPECT_EQ(getVertexCount(*mesh), MaxVertices);
    EXPECT_EQ(getTriangleCount(*mesh), 0);  // the third corner was -1
}

TEST(TriangleFile, MissingFileReadsAsEmpty) {
    auto mesh = emptyMesh();
    readTriangleFile(*mesh, tempPath("no-such-dir/none.txt").c_str());
    readTriangleFile(*mesh, static_cast<const char*>(nullptr));
    EXPECT_EQ(getVertexCount(*mesh), 0);
    EXPECT_FALSE(writeTriangleFile(*mesh, tempPath("no-such-dir/none.txt").c_str()));
}

TEST(TriangleFileWriter, WritesCornersAndAnEmptyLinePerTriangle) {
    auto mesh = emptyMesh();
    addVertex(*mesh, -1.75f, -0.08f, 0);
    addVertex(*mesh, 1, 2, 3);
    addVertex(*mesh, 0.5f, 0, 0.25f);
    addTriangle(*mesh, 0, 1, 2);
    addTriangle(*mesh, 2, 1, 0);
    std::ostringstream out;
    out << std::fixed;
    out.precision(2);
    EXPECT_TRUE(writeTriangleFile(*mesh, out));
    EXPECT_EQ(out.str(),
              "-1.75 -0.08 0\n1 2 3\n0.5 0 0.25\n\n"
              "0.5 0 0.25\n1 2 3\n-1.75 -0.08 0\n\n");
    EXPECT_EQ(out.flags() & std::ios::floatfield, std::ios::fixed);  // caller's format kept
    EXPECT_EQ(out.precision(), 2);
}

TEST(TriangleFileWriter, WrittenFileReadsBackAsTheSameTriangles) {
    const SpeciesTable* table = findSpeciesTable(104);
    ASSERT_NE(table, nullptr);
    auto model = emptyMesh();
    buildLatheGeometry(*model, table->rows, table->rowCount);
    const std::string path = tempPath("species104.txt");
    ASSERT_TRUE(writeTriangleFile(*model, path.c_str()));

    auto copy = emptyMesh();
    readTriangleFile(*copy, path.c_str());
    ASSERT_EQ(getTriangleCount(*copy), getTriangleCount(*model));
    // The last ring vertex belongs to no triangle; no two others collapse at
    // six significant digits.
    EXPECT_EQ(getVertexCount(*copy), getVertexCount(*model) - 1);
    for (int t = 0; t < getTriangleCount(*model); ++t) {
        for (int c = 0; c < 3; ++c) {
            const Vertex& a = model->vertices[model->triangles[t].corners[c]];
            const Vertex& b = copy->vertices[copy->triangles[t].corners[c]];
            EXPECT_NEAR(a.x, b.x, 5e-6f * std::fabs(a.x) + 1e-12f);
            EXPECT_NEAR(a.y, b.y, 5e-6f * std::fabs(a.y) + 1e-12f);
            EXPECT_NEAR(a.z, b.z, 5e-6f * std::fabs(a.z) + 1e-12f);
        }
    }
    // Six digits survive a float: the second generation is the same text.
    std::ostringstream first, second;
    writeTriangleFile(*model, first);
    writeTriangleFile(*copy, second);
    EXPECT_EQ(first.str(), second.str());
    std::remove(path.c_str());
}

TEST(ProfileFile, CompiledTablesAsTextBuildTheSameModels) {
    for (const SpeciesTable& table : speciesTables) {
        SCOPED_TRACE(table.species);
        auto compiled = emptyMesh();
        const LatheSkin expected = buildLatheGeometry(*compiled, table.rows, table.rowCount);
        auto read = emptyMesh();
        std::istringstream in(profileText(table.rows, table.rowCount));
        const LatheSkin skin = readProfileGeometry(*read, in);
        EXPECT_EQ(skin.textureResource, expected.textureResource);
        EXPECT_EQ(skin.textureSize, expected.textureSize);
        EXPECT_EQ(skin.uOrigin, expected.uOrigin);
        EXPECT_EQ(skin.uSpan, expected.uSpan);
        EXPECT_EQ(skin.vOrigin, expected.vOrigin);
        EXPECT_EQ(skin.vSpan, expected.vSpan);
        expectSameGeometry(*compiled, *read);
    }
}

TEST(ProfileFile, EmptyLinesBetweenRingsAreSkipped) {
    auto mesh = emptyMesh();
    std::istringstream in("101\n256 2 240 4 94\n5,7,1,2,1,8,4\n-1,0,0,0.1,0.2\n\n\n1,0,0,0.1,0.2");
    const LatheSkin skin = readProfileGeometry(*mesh, in);
    EXPECT_EQ(skin.textureResource, 101);
    EXPECT_EQ(skin.uSpan, 240.0f);
    EXPECT_EQ(getVertexCount(*mesh), 16);
    EXPECT_EQ(getTriangleCount(*mesh), 12);
    EXPECT_EQ(mesh->restVertices[15].x, 1.0f);  // the last line has no line end
}

TEST(ProfileFile, HeaderLinesMissingOrOdd) {
    struct Case {
        const char* text;
        int resource;
        float textureSize;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"108", 108, 0},
        {" 105abc\n64", 105, 64},
        {"101.9,0,0\n", 101, 0},
        {"99999999999999999999999\n", INT_MAX, 0},
        {"-99999999999999999999999\n", INT_MIN, 0},
        {"x\n\n", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto mesh = emptyMesh();
        std::istringstream in(c.text);
        const LatheSkin skin = readProfileGeometry(*mesh, in);
        EXPECT_EQ(skin.textureResource, c.resource);
        EXPECT_EQ(skin.textureSize, c.textureSize);
        EXPECT_EQ(skin.vSpan, 0.0f);
        EXPECT_EQ(getVertexCount(*mesh), 0);
    }
    auto mesh = emptyMesh();
    const LatheSkin skin = readProfileGeometry(*mesh, tempPath("none/none.txt").c_str());
    EXPECT_EQ(skin.textureResource, 0);
    EXPECT_EQ(getVertexCount(*mesh), 0);
}

TEST(ProfileFile, MoreRingsThanTheStoreHoldsMatchTheTableBuilder) {
    constexpr int Rings = 1000;
    std::vector<ProfileRow> rows(3 + Rings, ProfileRow{});
    rows[0].values[0] = 101;
    for (int r = 0; r < Rings; ++r) {
        float* v = rows[3 + static_cast<size_t>(r)].values;
        v[0] = static_cast<float>(r) * 0.01f;
        v[3] = 0.1f;
        v[4] = 0.2f;
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

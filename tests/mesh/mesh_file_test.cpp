#include "mesh/mesh_file.h"

#include "tests/support/mesh_fixtures.h"

#include <climits>

namespace {

std::unique_ptr<Mesh> readTriangles(const std::string& text) {
    auto mesh = emptyMesh();
    std::istringstream in(text);
    readTriangleFile(*mesh, in);
    return mesh;
}

}  // namespace

// Numbers between blanks and commas, read like atof; corners counted between
// empty lines.
TEST(TriangleFile, ReadsNumbersLikeAtofAndCountsCornersBetweenEmptyLines) {
    std::string hundred = "4";  // more numbers than any reader takes
    for (int i = 1; i < 100; ++i) hundred += " 4";
    const std::string longest = "1,0,0" + std::string(MeshFileLineLimit - 5, ' ');
    const struct {
        std::string text;
        int vertices, triangles;
    } cases[] = {
        {"1,,2,3\r\n 4\t5 ,6\r\n7\r\n\r\n8,9,10,11,12,13,14\nabc,1.5x,1e40\n" + hundred + "\n\n",
         6, 2},
        {"0,0,0\n1,0,0\n0,1,0\n\n1,0,0\n1,1,0\n0,1,0\n\n", 4, 2},  // a shared edge
        {"0,0,0\n1,0,0\n0,1,0\n", 3, 0},                           // no closing line
        {"1,0,0\n0,1,0\n   \n", 3, 0},                             // blanks: a vertex line
        {"0,0,0\n1,0,0\n\n0,1,0\n\n", 3, 1},                       // two corners carry over
        {"0,0,0\n0,1,0\n" + longest + "\r\n\r\n", 3, 1},
        {"0,0,0\n0,1,0\n" + longest + " \n\n0,0,0\n2,0,0\n0,2,0\n\n", 2, 0},  // too long: the end
        {"0,0,0\n1,0,0\n0,1,0\n0,0,1\n5,5,5\n\n2,0,0\n0,2,0\n0,0,2\n\n", 8, 1},  // five: none
    };
    for (const auto& c : cases) {
        auto mesh = readTriangles(c.text);
        EXPECT_EQ(getVertexCount(*mesh), c.vertices) << c.text;
        EXPECT_EQ(getTriangleCount(*mesh), c.triangles) << c.text;
    }
    EXPECT_EQ(readTriangles(cases[7].text)->triangles[0].corners[0], 5);
    const auto numbers = readTriangles(cases[0].text);
    const float inf = std::numeric_limits<float>::infinity();
    const float expected[6][3] = {{1, 2, 3},  {4, 5, 6},       {7, 0, 0},
                                  {8, 9, 10}, {0, 1.5f, inf}, {4, 4, 4}};
    for (int i = 0; i < 6; ++i) {
        const Vertex& v = numbers->vertices[i];
        EXPECT_TRUE(v.x == expected[i][0] && v.y == expected[i][1] && v.z == expected[i][2]) << i;
    }
    EXPECT_EQ(numbers->triangles[1].corners[2], 5);
}

TEST(TriangleFile, WritesCornersInTheDefaultFormatAndMissingFilesReadEmpty) {
    auto mesh = emptyMesh();
    addVertex(*mesh, -1.75f, -0.08f, 0), addVertex(*mesh, 1, 2, 3);
    addTriangle(*mesh, 0, 1, addVertex(*mesh, 3.14159265f, 1234567, 0.25f));
    std::ostringstream out;
    out << std::fixed;
    out.precision(2);
    EXPECT_TRUE(writeTriangleFile(*mesh, out));
    EXPECT_EQ(out.str(), "-1.75 -0.08 0\n1 2 3\n3.14159 1.23457e+06 0.25\n\n");  // six digits
    EXPECT_TRUE((out.flags() & std::ios::floatfield) == std::ios::fixed && out.precision() == 2);

    // Unreadable and unwritable files.
    auto none = emptyMesh();
    readTriangleFile(*none, tempPath("no-such-dir/none.txt").c_str());
    readTriangleFile(*none, static_cast<const char*>(nullptr));
    EXPECT_EQ(getVertexCount(*none), 0);
    EXPECT_FALSE(writeTriangleFile(*none, tempPath("no-such-dir/none.txt").c_str()));
}

TEST(ProfileFile, HeaderNumbersClampToTheIntRange) {
    const struct { const char* text; int resource; } cases[] = {
        {"", 0}, {" 105abc\n64", 105}, {"99999999999999999999999", INT_MAX},
        {"-99999999999999999999999", INT_MIN}};
    for (const auto& c : cases) {
        auto mesh = emptyMesh();
        std::istringstream in(c.text);
        EXPECT_EQ(readProfileGeometry(*mesh, in).textureResource, c.resource) << c.text;
    }
}

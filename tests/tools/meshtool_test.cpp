// Runs the built aquarium-meshtool as a user would, through the shell.
#include "data/species_tables.h"
#include "tests/support/mesh_fixtures.h"


namespace {

std::string meshtool(const std::string& arguments) {
    return std::string("'") + MESHTOOL_PATH + "' " + arguments;
}

}  // namespace

// The triangle file of every species read back: the last ring vertex is in no
// triangle, so one vertex fewer than the model.
TEST(Meshtool, SpeciesTriangleFilesReadBackThroughInfo) {
    const struct { int species; const char* info; } cases[] = {
        {101, "vertices 295\ntriangles 572\nbounds -1.75 1.59 -0.65 0.727 -0.25 0.25\n"},
        {103, "vertices 151\ntriangles 284\nbounds -0.751 0.701 -0.255 0.245 -0.1 0.1\n"},
        {108, "vertices 319\ntriangles 620\nbounds -0.98 2.82 -1.02 1.44 -0.2 0.2\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun run =
            runProgram(meshtool("species " + std::to_string(c.species)) + " | " + meshtool("info -"));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, std::string(c.info) + "non-finite 0\n") << c.species;
    }
}

// An OBJ file gives every vertex a position, texture coordinate and normal
// and each face corner one index for all three: pinned as written today.
TEST(Meshtool, ObjFileKnownAnswer) {
    const ProgramRun obj = runProgram(meshtool("species 103 --obj"));
    ASSERT_EQ(obj.status, 0) << obj.err;
    EXPECT_EQ(obj.out.rfind("# species 103: 152 vertices, 284 triangles\nv -0.751 -0.0799 0\n", 0), 0u);
    EXPECT_NE(obj.out.find("\nf 1/1/1 2/2/2 9/9/9\n"), std::string::npos);
    EXPECT_EQ(fnv1a(Fnv1aStart, obj.out.data(), obj.out.size()), 0xe35fb49821eef34eu);
}

TEST(Meshtool, ProfileTextFromFileOrStdinGivesTheSpeciesModelAndInfoReadsCrlf) {
    const std::string profile = tempPath("profile103.txt"), written = tempPath("model.out");
    std::string text = profileText(profile103, 22, " ", "\r\n");  // CRLF, an empty line among the rings
    std::ofstream(profile) << text.insert(text.rfind("\r\n", text.size() - 3) + 2, "\r\n");
    const ProgramRun species = runProgram(meshtool("species 103"));
    const ProgramRun fromFile = runProgram(meshtool("profile '" + profile + "' --out '" + written + "'"));
    const ProgramRun fromStdin = runProgram(meshtool("profile - <'" + profile + "'"));
    ASSERT_TRUE(species.status == 0 && fromFile.status == 0 && fromStdin.status == 0) << fromFile.err;
    EXPECT_TRUE(fromFile.out.empty() && slurp(written) == species.out && fromStdin.out == species.out);
    std::ofstream(profile) << "5,6,7\n8 6 7\r\n5,9,7\r\n\r\n";
    EXPECT_EQ(runProgram(meshtool("info '" + profile + "'")).out,
              "vertices 3\ntriangles 1\nbounds 5 8 6 9 7 7\nnon-finite 0\n");
}

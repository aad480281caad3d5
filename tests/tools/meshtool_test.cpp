// Runs the built aquarium-meshtool as a user would, through the shell.
#include "data/species_tables.h"
#include "tests/support/programs.h"

#include <sstream>

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
        {102, "vertices 255\ntriangles 492\nbounds -2.51 2.5 -1.04 1.04 -0.3 0.3\n"},
        {103, "vertices 151\ntriangles 284\nbounds -0.751 0.701 -0.255 0.245 -0.1 0.1\n"},
        {104, "vertices 335\ntriangles 652\nbounds -1.75 1.75 -0.95 0.97 -0.245 0.245\n"},
        {105, "vertices 175\ntriangles 332\nbounds -0.751 0.75 -0.29 0.285 -0.1 0.1\n"},
        {108, "vertices 319\ntriangles 620\nbounds -0.98 2.82 -1.02 1.44 -0.2 0.2\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun run =
            runProgram(meshtool("species " + std::to_string(c.species)) + " | " + meshtool("info -"));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, std::string(c.info) + "non-finite 0\n") << c.species;
    }
}

TEST(Meshtool, ObjFilesGiveEveryVertexItsTextureAndNormalAndOneIndexPerCorner) {
    const ProgramRun obj = runProgram(meshtool("species 103 --obj"));
    ASSERT_EQ(obj.status, 0) << obj.err;
    const char* kinds[4] = {"v", "vt", "vn", "f"};
    int counts[4] = {};
    std::istringstream in(obj.out);
    for (std::string line; std::getline(in, line);) {
        const std::string kind = line.substr(0, line.find(' '));
        for (int k = 0; k < 4; ++k) counts[k] += kind == kinds[k];
        int i[9] = {};
        if (kind != "f") continue;  // f a/a/a b/b/b c/c/c, from 1
        EXPECT_TRUE(std::sscanf(line.c_str(), "f %d/%d/%d %d/%d/%d %d/%d/%d", &i[0], &i[1], &i[2], &i[3], &i[4],
                                &i[5], &i[6], &i[7], &i[8]) == 9 &&
                    i[1] == i[0] && i[2] == i[0] && i[5] == i[3] && i[8] == i[6] && i[0] >= 1 && i[6] <= 152)
            << line;
    }
    EXPECT_TRUE(counts[0] == 152 && counts[1] == 152 && counts[2] == 152 && counts[3] == 284);
}

TEST(Meshtool, ProfileFromFileOrStdinGivesTheSpeciesModelAndInfoReadsCrlf) {
    const std::string profile = tempPath("profile103.txt"), written = tempPath("model.out");
    std::ofstream(profile) << profileText(profile103, 22, " ");
    const ProgramRun species = runProgram(meshtool("species 103"));
    const ProgramRun fromFile = runProgram(meshtool("profile '" + profile + "' --out '" + written + "'"));
    const ProgramRun fromStdin = runProgram(meshtool("profile - <'" + profile + "'"));
    ASSERT_TRUE(species.status == 0 && fromFile.status == 0 && fromStdin.status == 0) << fromFile.err;
    EXPECT_TRUE(fromFile.out.empty() && slurp(written) == species.out && fromStdin.out == species.out);
    std::ofstream(profile) << "5,6,7\n8 6 7\r\n5,9,7\r\n\r\n";
    EXPECT_EQ(runProgram(meshtool("info '" + profile + "'")).out,
              "vertices 3\ntriangles 1\nbounds 5 8 6 9 7 7\nnon-finite 0\n");
}

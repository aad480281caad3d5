// Runs the built aquarium-meshtool as a user would, through the shell.
#include "data/species_tables.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct ToolRun {
    int status;  // exit status, -1 when the program did not exit normally
    std::string out, err;
};

// A folder of this test run's own, removed when the run ends.
struct ScratchDir {
    std::string path = ::testing::TempDir() + "aquarium-meshtool-XXXXXX";
    ScratchDir() {
        if (mkdtemp(path.data()) == nullptr) path = "/nonexistent";
    }
    ~ScratchDir() { std::system(("rm -rf '" + path + "'").c_str()); }
};

std::string scratchPath(const std::string& name) {
    static const ScratchDir dir;
    return dir.path + "/" + name;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// `arguments` and `tail` are shell text; "TOOL" in tail stands for the program.
ToolRun runTool(const std::string& arguments, std::string tail = "") {
    const std::string tool = std::string("'") + MESHTOOL_PATH + "'";
    for (size_t at = tail.find("TOOL"); at != std::string::npos; at = tail.find("TOOL"))
        tail.replace(at, 4, tool);
    const std::string errPath = scratchPath("meshtool.err");
    ToolRun run{-1, "", ""};
    FILE* pipe = popen((tool + " " + arguments + " 2>'" + errPath + "'" + tail).c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    run.err = slurp(errPath);
    return run;
}

class MeshtoolSpecies : public ::testing::TestWithParam<SpeciesBox> {};

}  // namespace

TEST_P(MeshtoolSpecies, TriangleFileThroughInfoAndObj) {
    const SpeciesBox& c = GetParam();
    const int vertices = 8 * (findSpeciesTable(c.species)->rowCount - 3);
    const ToolRun run = runTool("species " + std::to_string(c.species), " | TOOL info -");
    ASSERT_EQ(run.status, 0) << run.err;
    int count[2] = {-1, -1};
    float bounds[6] = {};
    ASSERT_EQ(std::sscanf(run.out.c_str(), "vertices %d triangles %d bounds %f %f %f %f %f %f",
                          &count[0], &count[1], &bounds[0], &bounds[1], &bounds[2], &bounds[3],
                          &bounds[4], &bounds[5]),
              8)
        << run.out;
    EXPECT_EQ(count[0], vertices - 1);  // the last ring vertex is in no triangle
    EXPECT_EQ(count[1], 2 * (vertices - 10));
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(bounds[i], c.box[i], 0.0005) << "bound " << i;

    const ToolRun obj = runTool("species " + std::to_string(c.species) + " --obj");
    ASSERT_EQ(obj.status, 0) << obj.err;
    int v = 0, vt = 0, vn = 0, f = 0;
    std::istringstream in(obj.out);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        v += kind == "v", vt += kind == "vt", vn += kind == "vn";
        if (kind == "f") {  // f a/a/a b/b/b c/c/c, one index per corner, from 1
            ++f;
            int i[9] = {};
            ASSERT_EQ(std::sscanf(line.c_str(), "f %d/%d/%d %d/%d/%d %d/%d/%d", &i[0], &i[1], &i[2],
                                  &i[3], &i[4], &i[5], &i[6], &i[7], &i[8]),
                      9)
                << line;
            for (int k = 0; k < 9; ++k)
                EXPECT_TRUE(i[k] == i[k / 3 * 3] && i[k] >= 1 && i[k] <= vertices) << line;
        }
    }
    EXPECT_TRUE(v == vertices && vt == vertices && vn == vertices) << v << " " << vt << " " << vn;
    EXPECT_EQ(f, 2 * (vertices - 10));
}

INSTANTIATE_TEST_SUITE_P(AllSix, MeshtoolSpecies, ::testing::ValuesIn(speciesBoxes), speciesName);

TEST(Meshtool, ProfileFileFromFileOrStdinGivesTheSpeciesModel) {
    const SpeciesTable* table = findSpeciesTable(103);
    const std::string profile = scratchPath("profile103.txt"), written = scratchPath("model.out");
    std::ofstream(profile) << profileText(table->rows, table->rowCount, " ");
    const ToolRun species = runTool("species 103");
    const ToolRun fromFile = runTool("profile '" + profile + "' --out '" + written + "'");
    const ToolRun fromStdin = runTool("profile -", " < '" + profile + "'");
    ASSERT_TRUE(species.status == 0 && fromFile.status == 0 && fromStdin.status == 0)
        << fromFile.err << fromStdin.err;
    EXPECT_TRUE(fromFile.out.empty());
    EXPECT_EQ(slurp(written), species.out);
    EXPECT_EQ(fromStdin.out, species.out);
    std::remove(profile.c_str());
    std::remove(written.c_str());
}

TEST(Meshtool, InfoOfACrlfFileAwayFromTheOrigin) {
    const std::string path = scratchPath("offset.txt");
    std::ofstream(path) << "5,6,7\n8 6 7\r\n5,9,7\r\n\r\n";
    const ToolRun run = runTool("info '" + path + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "vertices 3\ntriangles 1\nbounds 5 8 6 9 7 7\nnon-finite 0\n");
    std::remove(path.c_str());
}

TEST(Meshtool, BadArgumentsGiveUsageAndStatusTwo) {
    for (const char* arguments :
         {"", "frobnicate", "species", "species 106", "species x", "species 101 --bogus",
          "species 101 --out", "info a b", "info a --obj", "-x"}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << arguments << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << arguments;
    }
}

TEST(Meshtool, UnreadableOrUnwritableFilesGiveStatusOne) {
    const std::string missing = scratchPath("no-such-dir/model.txt");
    for (const std::string& arguments :
         {"info '" + missing + "'", "profile '" + missing + "'",
          "info '" + ::testing::TempDir() + "'", "species 101 --out '" + missing + "'"}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_NE(run.err.find("cannot"), std::string::npos) << arguments << ": " << run.err;
        EXPECT_EQ(run.err.find("usage:"), std::string::npos) << arguments << ": " << run.err;
        if (arguments.find(missing) != std::string::npos) {  // names the file
            EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
        }
    }
    EXPECT_EQ(runTool("species 101", " >/dev/full").status, 1);  // a full disk fails too
}

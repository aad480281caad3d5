// Runs the built aquarium-meshtool as a user would, through the shell.

#include "data/species_tables.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ToolRun {
    int status;  // exit status, -1 when the program did not exit normally
    std::string out, err;
};

// Per process: ctest runs tests, and other builds, side by side.
std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "meshtool-" + std::to_string(getpid()) + "-" + name;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// `arguments` and `tail` are shell text; "TOOL" in tail stands for the program.
ToolRun runTool(const std::string& arguments, const std::string& tail = "") {
    const std::string tool = std::string("'") + MESHTOOL_PATH + "'";
    std::string rest = tail;
    for (size_t at = rest.find("TOOL"); at != std::string::npos; at = rest.find("TOOL"))
        rest.replace(at, 4, tool);
    const std::string errPath = tempPath("meshtool.err");
    const std::string command = tool + " " + arguments + " 2>'" + errPath + "'" + rest;
    ToolRun run{-1, "", ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    run.err = slurp(errPath);
    return run;
}

struct Info {
    int vertices = -1, triangles = -1;
    float bounds[6] = {};
};

Info parseInfo(const std::string& text) {
    Info info;
    std::istringstream in(text);
    std::string key;
    in >> key >> info.vertices;
    EXPECT_EQ(key, "vertices");
    in >> key >> info.triangles;
    EXPECT_EQ(key, "triangles");
    in >> key;
    EXPECT_EQ(key, "bounds");
    for (float& b : info.bounds) in >> b;
    EXPECT_FALSE(in.fail()) << text;
    return info;
}

struct SpeciesCase {
    int species;
    float bounds[6];
};

class MeshtoolSpecies : public ::testing::TestWithParam<SpeciesCase> {};

void PrintTo(const SpeciesCase& c, std::ostream* out) { *out << "species " << c.species; }

int ringsOf(int species) { return findSpeciesTable(species)->rowCount - 3; }

}  // namespace

TEST_P(MeshtoolSpecies, TriangleFileThroughInfo) {
    const SpeciesCase& c = GetParam();
    const ToolRun run = runTool("species " + std::to_string(c.species), " | TOOL info -");
    ASSERT_EQ(run.status, 0) << run.err;
    const Info info = parseInfo(run.out);
    const int rings = ringsOf(c.species);
    EXPECT_EQ(info.triangles, 2 * (8 * rings - 10));
    // Every ring vertex but the last, which no triangle uses, comes back.
    EXPECT_EQ(info.vertices, 8 * rings - 1);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(info.bounds[i], c.bounds[i], 0.0005) << "bound " << i;
}

TEST_P(MeshtoolSpecies, ObjIsComplete) {
    const SpeciesCase& c = GetParam();
    const ToolRun run = runTool("species " + std::to_string(c.species) + " --obj");
    ASSERT_EQ(run.status, 0) << run.err;
    const int vertices = 8 * ringsOf(c.species);
    int v = 0, vt = 0, vn = 0, f = 0;
    std::istringstream in(run.out);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        if (kind == "v") {
            ++v;
        } else if (kind == "vt") {
            float s, t;
            fields >> s >> t;
            EXPECT_TRUE(s >= 0 && s <= 1 && t >= 0 && t <= 1) << line;
            ++vt;
        } else if (kind == "vn") {
            double x, y, z;
            fields >> x >> y >> z;
            const double length = std::sqrt(x * x + y * y + z * z);
            EXPECT_TRUE(std::fabs(length - 1) < 1e-4 || length == 0) << line;
            ++vn;
        } else if (kind == "f") {
            for (int corner = 0; corner < 3; ++corner) {
                int a = 0, b = 0, d = 0;
                char slash1 = 0, slash2 = 0;
                fields >> a >> slash1 >> b >> slash2 >> d;
                EXPECT_TRUE(slash1 == '/' && slash2 == '/' && a == b && b == d) << line;
                EXPECT_TRUE(a >= 1 && a <= vertices) << line;
            }
            std::string extra;
            EXPECT_FALSE(fields >> extra) << line;
            ++f;
        } else {
            EXPECT_TRUE(kind.empty() || kind[0] == '#') << line;
        }
    }
    EXPECT_EQ(v, vertices);
    EXPECT_EQ(vt, vertices);
    EXPECT_EQ(vn, vertices);
    EXPECT_EQ(f, 2 * (vertices - 10));
}

INSTANTIATE_TEST_SUITE_P(
    AllSix, MeshtoolSpecies,
    ::testing::Values(SpeciesCase{101, {-1.75f, 1.59f, -0.65f, 0.727f, -0.25f, 0.25f}},
                      SpeciesCase{102, {-2.51f, 2.5f, -1.04f, 1.04f, -0.3f, 0.3f}},
                      SpeciesCase{103, {-0.751f, 0.701f, -0.255f, 0.245f, -0.1f, 0.1f}},
                      SpeciesCase{104, {-1.75f, 1.75f, -0.95f, 0.97f, -0.245f, 0.245f}},
                      SpeciesCase{105, {-0.751f, 0.75f, -0.29f, 0.285f, -0.1f, 0.1f}},
                      SpeciesCase{108, {-0.98f, 2.82f, -1.02f, 1.44f, -0.2f, 0.2f}}),
    [](const ::testing::TestParamInfo<SpeciesCase>& param) {
        return "Species" + std::to_string(param.param.species);
    });

TEST(Meshtool, ProfileFileGivesTheSpeciesModel) {
    const SpeciesTable* table = findSpeciesTable(103);
    const std::string profile = tempPath("profile103.txt");
    {
        std::ofstream out(profile);
        out.precision(std::numeric_limits<float>::max_digits10);
        for (int j = 0; j < table->rowCount; ++j) {
            for (int i = 0; i < 7; ++i) out << (i ? " " : "") << table->rows[j].values[i];
            out << (j == 3 ? "\n\n" : "\n");  // an empty line among the rings is skipped
        }
    }
    for (const char* format : {"", " --obj"}) {
        SCOPED_TRACE(format);
        const ToolRun species = runTool(std::string("species 103") + format);
        const std::string written = tempPath("model.out");
        const ToolRun fromFile = runTool("profile '" + profile + "' --out '" + written + "'" + format);
        const ToolRun fromStdin = runTool(std::string("profile -") + format, " < '" + profile + "'");
        ASSERT_EQ(species.status, 0);
        ASSERT_EQ(fromFile.status, 0) << fromFile.err;
        ASSERT_EQ(fromStdin.status, 0) << fromStdin.err;
        EXPECT_TRUE(fromFile.out.empty());
        if (*format == 0) {
            EXPECT_EQ(slurp(written), species.out);
            EXPECT_EQ(fromStdin.out, species.out);
        } else {  // only the title line names the source
            EXPECT_EQ(slurp(written).substr(slurp(written).find('\n')),
                      species.out.substr(species.out.find('\n')));
        }
    }
}

TEST(Meshtool, InfoOfAFileAwayFromTheOrigin) {
    const std::string path = tempPath("offset.txt");
    std::ofstream(path) << "5,6,7\n8 6 7\r\n5,9,7\n\n";
    const ToolRun run = runTool("info '" + path + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "vertices 3\ntriangles 1\nbounds 5 8 6 9 7 7\n");
}

TEST(Meshtool, BadArgumentsGiveUsageAndStatusTwo) {
    const char* const cases[] = {
        "",          "frobnicate",         "species",          "species 106",
        "species x", "species 101 --bogus", "species 101 102", "species 101 --out",
        "info",      "info a b",            "info a --obj",     "profile --obj",
        "-x",
    };
    for (const char* arguments : cases) {
        SCOPED_TRACE(arguments);
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST(Meshtool, UnreadableOrUnwritableFilesGiveStatusOne) {
    const std::string missing = tempPath("no-such-dir/model.txt");
    const std::string cases[] = {"info '" + missing + "'", "profile '" + missing + "'",
                                 "info '" + ::testing::TempDir() + "'",
                                 "species 101 --out '" + missing + "'"};
    for (const std::string& arguments : cases) {
        SCOPED_TRACE(arguments);
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("cannot"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("usage:"), std::string::npos) << run.err;
    }
    const ToolRun run = runTool("info '" + missing + "'");
    EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
    // A full disk on standard output is a failed write too.
    const ToolRun full = runTool("species 101", " >/dev/full");
    EXPECT_EQ(full.status, 1);
}

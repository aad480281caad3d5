// Every program run as a user would run it: bad arguments, --help, full and
// unwritable destinations, outputs that would share a file, cut input.
#include "tests/support/mesh_fixtures.h"

#include <sys/stat.h>

namespace {

struct ProgramCase {
    const char* command;  // shell text: @name is a program, DIR the test's own folder
    int status;
    const char* says;     // expected in standard output or standard error
};

std::string expand(std::string text, const std::string& dir) {
    const std::pair<const char*, const char*> names[] = {
        {"@render", AQUARIUM_RENDER_PROGRAM}, {"@soak", SOAK_PATH}, {"@meshtool", MESHTOOL_PATH},
        {"@bitmaps", MAKE_BITMAPS_PATH}, {"@preview", PREVIEW_SPECIES_PATH}, {"@icon", MAKE_ICON_PATH}, {"DIR", nullptr}};
    for (const auto& [name, path] : names) {
        const std::string by = path != nullptr ? path : dir;
        for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at))
            text.replace(at, std::string(name).size(), by), at += by.size();
    }
    return text;
}

void PrintTo(const ProgramCase& c, std::ostream* out) { *out << c.command; }

class Program : public ::testing::TestWithParam<ProgramCase> {};

}  // namespace

// Each case also checks that DIR/keep.png, which no case may replace, still
// holds what it held: a failed write never touches the old file.
TEST_P(Program, ExitsWithItsStatusAndSaysWhy) {
    static int runs = 0;  // one folder per case, also when one process runs them all
    const std::string dir = tempPath("run" + std::to_string(++runs));
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    std::ofstream(dir + "/file") << "a regular file, not a folder\n";
    std::ofstream(dir + "/keep.png") << "old\n";
    const ProgramRun run = runProgram(expand(GetParam().command, dir));
    const std::string said = run.out + run.err;
    EXPECT_EQ(run.status, GetParam().status) << said;
    EXPECT_NE(said.find(expand(GetParam().says, dir)), std::string::npos) << said;
    EXPECT_EQ(slurp(dir + "/keep.png"), "old\n");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Program,
    ::testing::Values(
        ProgramCase{"@soak -1", 2, "seconds wants a decimal number"},
        ProgramCase{"@soak 99999999999999999999", 2, "from 1 to 1000000"},
        ProgramCase{"@soak 18446744073709552", 2, "'18446744073709552'"},
        ProgramCase{"@soak 1 4294967296", 2, "start-tick wants"},
        ProgramCase{"@soak 1 1 1 1", 2, "unexpected argument"},
        ProgramCase{"@soak 010 08", 0, "(10 s of 10 ms frames), fish 9, start tick 8,"},
        ProgramCase{"@soak 1 >/dev/full", 1, "cannot write to standard output"},
        ProgramCase{"@soak 1 x --help >/dev/full", 1, "cannot write to standard output"},
        ProgramCase{"@soak 1 x --help", 0, "usage: aquarium-soak"},
        ProgramCase{"@render --bogus --help", 0, "usage: aquarium-render"},
        ProgramCase{"@meshtool --help species 999", 0, "usage: aquarium-meshtool"},
        ProgramCase{"@meshtool species 101 >/dev/full", 1, "cannot write"},
        ProgramCase{"@meshtool species 106", 2, "usage: aquarium-meshtool"},
        ProgramCase{"@meshtool info a --obj", 2, "usage: aquarium-meshtool"},
        ProgramCase{"@meshtool info DIR/none", 1, "DIR/none"},
        ProgramCase{"@meshtool profile DIR", 1, "cannot"},
        ProgramCase{"@render --size 0x10", 2, "usage: aquarium-render"},
        ProgramCase{"@bitmaps a b --help", 0, "usage: aquarium-make-bitmaps"},
        ProgramCase{"@preview '' --help", 0, "usage: aquarium-preview-species"},
        ProgramCase{"@bitmaps ''", 2, "usage: aquarium-make-bitmaps"},
        ProgramCase{"@icon DIR '' --help", 0, "usage: aquarium-make-icon"},
        ProgramCase{"@icon DIR ''", 2, "empty path"},
        ProgramCase{"@bitmaps DIR/file", 1, "cannot write DIR/file/101.bmp"},
        ProgramCase{"@preview /dev/full", 1, "cannot write /dev/full"},
        ProgramCase{"@preview DIR/file/p.ppm", 1, "cannot write DIR/file/p.ppm"},
        ProgramCase{"@render --out DIR/a.png --trace DIR/./a.png", 2, "the same file"},
        ProgramCase{"@render --frames 4 --frames-dir DIR --every 2 --out DIR/frame-000004.png",
                    2, "one of the frames"},
        // Checked before drawing: a hundred million frames would time out.
        ProgramCase{"@render --frames 100000000 --out DIR/file/a.png", 1, "cannot write"},
        ProgramCase{"@render --size 16x9 --frames 300 --out DIR/keep.png --trace /dev/full", 1,
                    "cannot write /dev/full"},
        ProgramCase{"@render --size 16x9 --frames 1 --out DIR/a.png >&-", 1, "standard output"},
        ProgramCase{"awk 'BEGIN { print 101; print 128; print; for (i = 0; i < 130; ++i) "
                    "print i, 0, 0, 1, 1 }' | @meshtool profile - --out DIR/m",
                    0, "130 rings, more than the 126"},
        ProgramCase{"printf '1 2 3\\n\\n%0300d\\n' 0 | @meshtool info -", 0,
                    "line 3 of '-' is longer than 255"},
        ProgramCase{"printf 'nan 0 -inf\\n1 0 0\\n0 1 0\\n\\n' | @meshtool info -", 0,
                    "non-finite 2"}));

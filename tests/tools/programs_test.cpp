// Every program run as a user would run it: bad arguments, --help, full and
// unwritable destinations, outputs that would share a file, cut input.
#include "tests/support/mesh_fixtures.h"

#include "aquarium_version.h"

#include <sys/stat.h>

namespace {

struct ProgramCase {
    const char* command;  // shell text: @name is a program, DIR the test's own folder
    int status;
    const char* says;     // expected in standard output or standard error
    const char* files = "file keep.png";  // everything in DIR afterwards
};

std::string expand(std::string text, const std::string& dir) {
    const std::pair<const char*, const char*> names[] = {
        {"@render", AQUARIUM_RENDER_PROGRAM}, {"@soak", SOAK_PATH}, {"@meshtool", MESHTOOL_PATH},
        {"@bitmaps", MAKE_BITMAPS_PATH}, {"@preview", PREVIEW_SPECIES_PATH},
        {"@icon", MAKE_ICON_PATH}, {"DIR", nullptr}};
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
// holds what it held (a failed write never touches the old file) and that no
// temporary file is left in DIR.
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
    EXPECT_EQ(folderListing(dir), GetParam().files);
}

using P = ProgramCase;
INSTANTIATE_TEST_SUITE_P(
    Runs, Program,
    ::testing::Values(
        P{"@soak -1", 2, "seconds wants a decimal number"}, P{"@soak 0", 2, "from 1 to 1000000"},
        P{"@soak 18446744073709552", 2, "'18446744073709552'"},
        P{"@soak 1 4294967296", 2, "start-tick wants"}, P{"@soak 1 ''", 2, "start-tick wants"},
        P{"@soak 1 18446744073709551616", 2, "start-tick wants"},
        P{"@soak 1 1 1 1", 2, "unexpected argument"}, P{"@soak 1 x --help", 0, "usage: aquarium-"},
        P{"@soak 010 08 00 | grep -e seed -e hash", 0, "frames 1000 (10 s of 10 ms frames), fish 9,"
          " start tick 8, seed 0\nfinal state hash f2ba9a3bcc329e84\n"},
        P{"@soak 1 >/dev/full", 1, "cannot write to standard output"},
        P{"@soak 1 x --help >/dev/full", 1, "cannot write to standard output"},
        P{"@render --bogus --help", 0, "usage: aquarium-render"},
        P{"@render --size 0x10 --version", 0, "aquarium-render " AQUARIUM_VERSION "\n"},
        P{"@meshtool info --version", 0, "aquarium-meshtool " AQUARIUM_VERSION "\n"},
        P{"@render --size 0x10", 2, "usage: aquarium-render"},
        P{"@meshtool --help species 999", 0, "usage: aquarium-meshtool"},
        P{"@meshtool species 101 >/dev/full", 1, "cannot write"},
        P{"@meshtool species 106", 2, "usage: aquarium-meshtool"},
        P{"@meshtool info a --obj", 2, "usage: aquarium-meshtool"},
        P{"@meshtool info DIR/none", 1, "DIR/none"}, P{"@meshtool profile DIR", 1, "cannot"},
        P{"@bitmaps a b --help", 0, "usage: aquarium-make-bitmaps"},
        P{"@bitmaps ''", 2, "usage: aquarium-make-bitmaps"},
        P{"@bitmaps DIR/file", 1, "cannot write DIR/file/101.bmp"},
        P{"@preview '' -h", 0, "usage: aquarium-preview-species"},
        P{"@preview /dev/full", 1, "cannot write /dev/full"},
        P{"@preview DIR/file/p.ppm", 1, "cannot write DIR/file/p.ppm"},
        P{"@icon DIR '' --help", 0, "usage: aquarium-make-icon"}, P{"@icon DIR ''", 2, "empty"},
        P{"@render --out DIR/a.png --trace DIR/./a.png", 2, "the same file"},
        P{"@render --frames 4 --frames-dir DIR --every 2 --out DIR/frame-000004.png", 2,
          "one of the frames"},
        // Checked before drawing: a hundred million frames would time out.
        P{"@render --frames 100000000 --out DIR/file/a.png", 1, "cannot write"},
        P{"@render --size 16x9 --frames 300 --out DIR/keep.png --trace /dev/full", 1,
          "cannot write /dev/full"},
        P{"@render --size 16x9 --frames 1 --out DIR/a.png >&-", 1, "standard output",
          "a.png file keep.png"},
        P{"mkdir -p DIR/f/frame-000004.png && @render --size 16x9 --frames 4 --frames-dir DIR/f "
          "--every 2 --out DIR/a.png", 1, "cannot write DIR/f/frame-000004.png",
          "f f/frame-000002.png f/frame-000004.png file keep.png"},
        // A named pipe is written through, not replaced.
        P{"mkfifo DIR/p && { @render --size 16x9 --frames 1 --out DIR/p && test -p DIR/p && "
          "dd bs=4 count=1 iflag=nonblock <&3 2>/dev/null; } 3<>DIR/p", 0, "PNG",
          "file keep.png p"},
        P{"awk 'BEGIN { print 101; print 128; print; for (i = 0; i < 130; ++i) print i, 0, 0, 1, 1 "
          "}' | @meshtool profile - --out DIR/m", 0, "130 rings, more than the 126",
          "file keep.png m"},
        P{"printf '1 2 3\\n\\n%0300d\\n' 0 | @meshtool info -", 0, "line 3 of '-' is longer than"},
        P{"printf 'nan 0 -inf\\n1 0 0\\n0 1 0\\n\\n' | @meshtool info -", 0, "non-finite 2"}));

// The aquarium-render program as a user runs it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// A new folder of this run's own; the name only makes it easier to find.
std::string scratch(const std::string& name) {
    std::string dir = ::testing::TempDir() + "aquarium-render-" + name + "-XXXXXX";
    return mkdtemp(dir.data()) != nullptr ? dir : "/nonexistent";
}

// Exit status of the program with `arguments`; its output goes to `log`.
int run(const std::string& arguments, const std::string& log) {
    const std::string command = AQUARIUM_RENDER_PROGRAM " " + arguments + " >'" + log + "' 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(OffscreenRenderProgram, SameOptionsGiveByteIdenticalPicturesAndTraces) {
    const std::string a = scratch("a"), b = scratch("b");
    for (const std::string& dir : {a, b}) {
        // The frames folder does not exist yet: the program makes it.
        const std::string args = "--size 48x27 --frames 4 --start-tick 5000 --out " + dir + "/last.png" +
                                 " --frames-dir " + dir + "/frames --every 2 --trace " + dir + "/trace.csv";
        ASSERT_EQ(run(args, dir + "/log"), 0) << contents(dir + "/log");
    }
    for (const char* file :
         {"/last.png", "/frames/frame-000002.png", "/frames/frame-000004.png", "/trace.csv"}) {
        const std::string first = contents(a + file);
        EXPECT_FALSE(first.empty()) << file;
        EXPECT_EQ(first, contents(b + file)) << file;
    }
    // A 48 x 27 PNG: signature, then the IHDR's width and height.
    EXPECT_EQ(contents(a + "/last.png").substr(0, 24),
              std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x30\0\0\0\x1b", 24));
    EXPECT_EQ(contents(a + "/last.png"), contents(a + "/frames/frame-000004.png"));
    EXPECT_TRUE(contents(a + "/frames/frame-000003.png").empty());

    // A header, then one row per fish per frame; ticks start at the start tick.
    std::ifstream trace(a + "/trace.csv");
    std::string line, lastRow;
    std::getline(trace, line);
    EXPECT_EQ(line, "frame,tick,camera_yaw,fish,species,x,y,z,vx,vy,vz,yaw,pitch");
    int rows = 0;
    for (; std::getline(trace, line); ++rows) lastRow = line;
    EXPECT_EQ(rows, 4 * 9);
    EXPECT_EQ(lastRow.rfind("4,5030,0,8,108,", 0), 0u) << lastRow;
    std::system(("rm -rf '" + a + "' '" + b + "'").c_str());
}

TEST(OffscreenRenderProgram, BadCommandLinesExit2AndFailuresExit1) {
    const std::string dir = scratch("bad");
    const struct { std::string args; int status; const char* says; } cases[] = {
        {"--size 0x10", 2, "usage: aquarium-render"},
        {"--frames abc", 2, "usage: aquarium-render"},
        {"--start-tick", 2, "usage: aquarium-render"},
        {"--whatever 1", 2, "usage: aquarium-render"},
        {"--help", 0, "usage: aquarium-render"},
        {"--size 32x18 --frames 1 --out " + dir + "/missing/x.png", 1, "cannot write"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args, dir + "/log"), c.status) << c.args;
        EXPECT_NE(contents(dir + "/log").find(c.says), std::string::npos) << c.args;
    }
    std::system(("rm -rf '" + dir + "'").c_str());
}

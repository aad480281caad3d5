// The aquarium-render program as a user runs it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const std::string Program = AQUARIUM_RENDER_PROGRAM;

std::string scratch(const std::string& name) {
    const std::string dir = ::testing::TempDir() + "aquarium_render_" + name;
    std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
    return dir;
}

// Exit status of the program with `arguments`; its output goes to `log`.
int run(const std::string& arguments, const std::string& log) {
    const int status = std::system((Program + " " + arguments + " >'" + log + "' 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Width and height from a PNG's IHDR chunk; {0, 0} when it is not a PNG.
std::pair<unsigned, unsigned> pngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
    auto word = [&](size_t at) {
        unsigned v = 0;
        for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {word(16), word(20)};
}

}  // namespace

TEST(OffscreenRenderProgram, SameOptionsGiveByteIdenticalPicturesAndTraces) {
    const std::string a = scratch("a"), b = scratch("b");
    for (const std::string& dir : {a, b}) {
        const std::string args = "--size 96x54 --frames 30 --start-tick 5000 --out " + dir +
                                 "/last.png --frames-dir " + dir + "/frames --every 10 --trace " +
                                 dir + "/trace.csv";
        ASSERT_EQ(run(args, dir + "/log"), 0) << contents(dir + "/log");
    }
    for (const char* file : {"/last.png", "/frames/frame-000010.png", "/frames/frame-000020.png",
                             "/frames/frame-000030.png", "/trace.csv"}) {
        const std::string first = contents(a + file);
        EXPECT_FALSE(first.empty()) << file;
        EXPECT_EQ(first, contents(b + file)) << file;
    }
    EXPECT_EQ(pngSize(contents(a + "/last.png")), std::make_pair(96u, 54u));
    EXPECT_EQ(contents(a + "/last.png"), contents(a + "/frames/frame-000030.png"));
    EXPECT_TRUE(contents(a + "/frames/frame-000005.png").empty());
    EXPECT_NE(contents(a + "/log").find(a + "/last.png"), std::string::npos);

    // A header and one row per fish per frame.
    std::ifstream trace(a + "/trace.csv");
    std::string line;
    std::getline(trace, line);
    EXPECT_EQ(line, "frame,tick,camera_yaw,fish,species,x,y,z,vx,vy,vz,yaw,pitch");
    int rows = 0;
    std::string lastRow;
    while (std::getline(trace, line)) {
        ++rows;
        lastRow = line;
    }
    EXPECT_EQ(rows, 30 * 9);
    EXPECT_EQ(lastRow.rfind("30,5290,0,8,108,", 0), 0u) << lastRow;
}

TEST(OffscreenRenderProgram, AnotherStartTickDrawsAnotherAquarium) {
    const std::string a = scratch("tick_a"), b = scratch("tick_b");
    ASSERT_EQ(run("--size 64x36 --frames 2 --start-tick 1000 --out " + a + "/x.png", a + "/log"), 0);
    ASSERT_EQ(run("--size 64x36 --frames 2 --start-tick 2000 --out " + b + "/x.png", b + "/log"), 0);
    EXPECT_NE(contents(a + "/x.png"), contents(b + "/x.png"));
}

TEST(OffscreenRenderProgram, BadCommandLinesPrintTheUsageAndExit2) {
    const std::string dir = scratch("bad");
    for (const char* args : {"--size 0x10", "--size 9000x10", "--frames abc", "--frames -1",
                             "--start-tick", "--whatever 1", "--every 3"}) {
        EXPECT_EQ(run(args, dir + "/log"), 2) << args;
        const std::string log = contents(dir + "/log");
        EXPECT_NE(log.find("usage: aquarium-render"), std::string::npos) << args;
    }
    EXPECT_EQ(run("--help", dir + "/log"), 0);
}

TEST(OffscreenRenderProgram, AnUnwritablePictureFails) {
    const std::string dir = scratch("unwritable");
    EXPECT_EQ(run("--size 32x18 --frames 1 --out " + dir + "/missing/x.png", dir + "/log"), 1);
    EXPECT_NE(contents(dir + "/log").find("cannot write"), std::string::npos);
}

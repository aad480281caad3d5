// The aquarium-render program as a user runs it.
#include "tests/support/mesh_fixtures.h"

namespace {

// Runs aquarium-render with `options`, its picture and trace beside the test's
// folder `name`; returns the trace.
std::string render(const std::string& name, const std::string& options) {
    const std::string out = tempPath(name);
    const ProgramRun run = runProgram(std::string(AQUARIUM_RENDER_PROGRAM) + " " + options +
                                      " --out " + out + ".png --trace " + out + ".csv");
    EXPECT_EQ(run.status, 0) << run.err;
    return slurp(out + ".csv");
}

}  // namespace

TEST(OffscreenRenderProgram, SameOptionsGiveByteIdenticalPicturesAndTraces) {
    for (const char* name : {"a", "b"})  // the folders do not exist yet: the program makes them
        render(name, "--size 48x27 --frames 4 --start-tick 5000 --every 2 --frames-dir " +
                         tempPath(name));
    const std::string a = tempPath("a"), b = tempPath("b");
    for (const char* file : {".png", "/frame-000002.png", "/frame-000004.png", ".csv"})
        EXPECT_TRUE(!slurp(a + file).empty() && slurp(a + file) == slurp(b + file)) << file;
    // A 48 x 27 PNG: signature, then the IHDR's width and height.
    EXPECT_EQ(slurp(a + ".png").substr(0, 24),
              std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x30\0\0\0\x1b", 24));
    EXPECT_EQ(slurp(a + ".png"), slurp(a + "/frame-000004.png"));
    EXPECT_EQ(folderListing(a), "frame-000002.png frame-000004.png");  // no temporary file
    // A header, then one row per fish per frame, the tick as the frame began.
    const std::string trace = slurp(a + ".csv");
    EXPECT_EQ(trace.rfind("frame,tick,camera_yaw,fish,species,x,y,z,vx,vy,vz,yaw,pitch\n"
                          "1,5000,0,0,103,", 0), 0u);
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 1 + 4 * 9);
    EXPECT_NE(trace.find("\n4,5030,0,8,108,-0.00874182954,0.00614732224,0.00300000003,"
                         "-0.00437091477,0.00307366112,0.00100000005,12.8866282,-34.4304924\n"),
              std::string::npos);
}

TEST(OffscreenRenderProgram, TheCameraTurnsAlikeFromAnyStartTimeAcross2038) {
    // 31 seconds, so the first step (after 30) is in the trace; 2147483630
    // crosses the end of 32-bit seconds 18 seconds in.
    const std::string options = "--size 16x9 --frames 3100 --trace-every 100 --start-time ";
    const std::string trace = render("start-a", options + "1000000000");
    EXPECT_EQ(render("start-b", options + "2147483630"), trace);
    EXPECT_EQ(slurp(tempPath("start-b.png")), slurp(tempPath("start-a.png")));
    EXPECT_NE(trace.find("\n3100,90990,45,0,"), std::string::npos) << "one step by frame 3100";
}

TEST(OffscreenRenderProgram, ViewsPerMonitorMoveTheFishOnceAFrame) {
    const std::string trace = render("one-view", "--size 64x18 --frames 30");
    EXPECT_FALSE(trace.empty());
    EXPECT_EQ(render("two-views", "--size 64x18 --frames 30 --monitors 32x18+0+0,32x18+32+0"),
              trace);
}

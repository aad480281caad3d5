// The aquarium-render program as a user runs it.
#include "tests/support/mesh_fixtures.h"

// Runs a and b alike; c draws one view per monitor, which moves the fish once
// a frame all the same.
TEST(OffscreenRenderProgram, SameOptionsGiveByteIdenticalPicturesAndTraces) {
    const std::string a = tempPath("a"), b = tempPath("b"), c = tempPath("c");
    for (const std::string& dir : {a, b, c}) {  // the program makes the folders
        const ProgramRun run = runProgram(
            std::string(AQUARIUM_RENDER_PROGRAM) + " --size 48x27 --frames 4 --start-tick 5000" +
            " --out " + dir + "-last.png --frames-dir " + dir + " --every 2 --trace " + dir +
            "-trace.csv" + (dir == c ? " --monitors 24x27+0+0,24x27+24+0" : ""));
        ASSERT_EQ(run.status, 0) << run.err;
    }
    for (const char* file : {"-last.png", "/frame-000002.png", "/frame-000004.png", "-trace.csv"})
        EXPECT_TRUE(!slurp(a + file).empty() && slurp(a + file) == slurp(b + file)) << file;
    EXPECT_EQ(slurp(c + "-trace.csv"), slurp(a + "-trace.csv"));
    // A 48 x 27 PNG: signature, then the IHDR's width and height.
    EXPECT_EQ(slurp(a + "-last.png").substr(0, 24),
              std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x30\0\0\0\x1b", 24));
    EXPECT_EQ(slurp(a + "-last.png"), slurp(a + "/frame-000004.png"));
    EXPECT_EQ(folderListing(a), "frame-000002.png frame-000004.png");  // no temporary file
    // A header, then one row per fish per frame, the tick as the frame began.
    const std::string trace = slurp(a + "-trace.csv");
    EXPECT_EQ(trace.rfind("frame,tick,camera_yaw,fish,species,x,y,z,vx,vy,vz,yaw,pitch\n1,5000,0,0,103,", 0), 0u);
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 1 + 4 * 9);
    EXPECT_NE(trace.find("\n4,5030,0,8,108,-0.00874182954,0.00614732224,0.00300000003,-0.00437091477,"
                         "0.00307366112,0.00100000005,12.8866282,-34.4304924\n"),
              std::string::npos);
}

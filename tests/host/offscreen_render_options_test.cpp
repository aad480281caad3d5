#include "host/offscreen_render_options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// The options a command line gives, as text: every value read, the frame
// folder and the trace only when asked for; "error: why" for a line refused
// with its reason.
std::string parse(std::vector<const char*> args) {
    args.insert(args.begin(), "aquarium-render");
    const RenderOptions o = parseRenderOptions(static_cast<int>(args.size()), args.data());
    if (!o.ok) return o.error[0] != '\0' ? "error: why" : "error";
    std::ostringstream s;
    s << (o.help ? "help " : "") << o.width << "x" << o.height << " frames " << o.frames << " tick "
      << o.startTick << " time " << o.startTime << " out " << o.outPath;
    if (o.framesDir != nullptr) s << " dir " << o.framesDir << " every " << o.every;
    if (o.tracePath != nullptr) s << " trace " << o.tracePath << " every " << o.traceEvery;
    for (int i = 0; i < o.monitorCount; ++i)
        s << " " << o.monitors[i].width << "x" << o.monitors[i].height << "+" << o.monitors[i].x
          << "+" << o.monitors[i].y;
    return s.str();
}

}  // namespace

TEST(RenderOptions, DefaultsAndEveryOptionRead) {
    const std::string defaults = "1280x720 frames 3000 tick 60000 time 1000000000 out aquarium.png";
    EXPECT_EQ(parse({}), defaults);
    // The size limits are inclusive; the largest tick is allowed.
    EXPECT_EQ(parse({"--size", "8192x1", "--frames", "12", "--start-tick", "4294967295", "--out",
                     "x.png", "--frames-dir", "dir", "--every", "5", "--trace", "t.csv",
                     "--trace-every", "3", "--start-time", "4611686018427387904"}),
              "8192x1 frames 12 tick 4294967295 time 4611686018427387904 out x.png dir dir every 5"
              " trace t.csv every 3");
    EXPECT_EQ(parse({"--monitors", "640x360+0+0,640x360+640+8192"}),
              defaults + " 640x360+0+0 640x360+640+8192");
    // Frame folders and traces default to every frame; --help is no error.
    EXPECT_EQ(parse({"--frames-dir", "d", "--trace", "t.csv"}),
              defaults + " dir d every 1 trace t.csv every 1");
    EXPECT_EQ(parse({"--help"}), "help " + defaults);
}

TEST(RenderOptions, BadCommandLinesAreRejectedWithAReason) {
    const std::vector<std::vector<const char*>> bad = {
        {"--size", "0x720"}, {"--size", "1280x0"}, {"--size", "-1280x720"}, {"--size", "8193x100"},
        {"--size", "99999999999x1"}, {"--size", "1280"}, {"--size", "1280x720x3"}, {"--size", "x720"},
        {"--frames", "0"}, {"--frames", "-5"}, {"--frames", "12abc"}, {"--frames", ""}, {"--frames", "+3"},
        {"--start-tick", "4294967296"}, {"--start-tick", "-1"},
        {"--start-time", "4611686018427387905"}, {"--start-time", "-1"},
        {"--monitors", "10x10+0"}, {"--monitors", "10x10+0+0,"}, {"--monitors", "0x10+0+0"},
        {"--monitors", "10x10+-1+0"}, {"--monitors", "10x10+0+0+0"},
        {"--every", "0", "--frames-dir", "d"}, {"--every", "5"}, {"--trace-every", "2"},
        {"--out", ""}, {"--out"}, {"--colour", "red"}, {"frames", "3"}};
    for (const auto& args : bad)
        EXPECT_EQ(parse(args), "error: why") << args[0] << " " << (args.size() > 1 ? args[1] : "");
}

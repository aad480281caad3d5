#include "host/offscreen_render_options.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

RenderOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "aquarium-render");
    return parseRenderOptions(static_cast<int>(args.size()), args.data());
}

}  // namespace

TEST(RenderOptions, DefaultsAndEveryOptionRead) {
    const RenderOptions d = parse({});
    ASSERT_TRUE(d.ok && !d.help);
    EXPECT_EQ(std::make_tuple(d.width, d.height, d.frames, d.startTick, d.startTime),
              std::make_tuple(1280, 720, 3000, 60000u, std::int64_t{1000000000}));
    EXPECT_TRUE(d.outPath == std::string("aquarium.png") && !d.framesDir && !d.tracePath);

    // The size limits are inclusive; the largest tick is allowed.
    const RenderOptions o = parse({"--size", "8192x1", "--frames", "12", "--start-tick", "4294967295",
                                   "--out", "x.png", "--frames-dir", "dir", "--every", "5",
                                   "--trace", "t.csv", "--trace-every", "3",
                                   "--start-time", "4611686018427387904"});
    ASSERT_TRUE(o.ok) << o.error;
    EXPECT_EQ(std::make_tuple(o.width, o.height, o.frames, o.startTick, o.every, o.traceEvery,
                              o.startTime),
              std::make_tuple(8192, 1, 12, 4294967295u, 5, 3, std::int64_t{1} << 62));
    EXPECT_EQ(std::string(o.outPath) + " " + o.framesDir + " " + o.tracePath, "x.png dir t.csv");

    const RenderOptions m = parse({"--monitors", "640x360+0+0,640x360+640+8192"});
    ASSERT_TRUE(m.ok) << m.error;
    EXPECT_EQ(std::make_tuple(m.monitorCount, m.monitors[1].x, m.monitors[1].y, m.monitors[1].width),
              std::make_tuple(2, 640, 8192, 640));

    // Frame folders and traces default to every frame; --help is no error.
    const RenderOptions e = parse({"--frames-dir", "d", "--trace", "t.csv"});
    EXPECT_TRUE(e.ok && e.every == 1 && e.traceEvery == 1);
    EXPECT_TRUE(parse({"--help"}).ok && parse({"--help"}).help);
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
    for (const auto& args : bad) {
        const RenderOptions o = parse(args);
        EXPECT_FALSE(o.ok) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_NE(std::string(o.error), "") << args[0];
    }
}

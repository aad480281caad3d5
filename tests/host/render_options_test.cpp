#include "host/render_options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

RenderOptions parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv{"aquarium-render"};
    argv.insert(argv.end(), args.begin(), args.end());
    return parseRenderOptions(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(RenderOptions, DefaultsWithoutArguments) {
    const RenderOptions o = parse({});
    ASSERT_TRUE(o.ok);
    EXPECT_FALSE(o.help);
    EXPECT_EQ(o.width, 1280);
    EXPECT_EQ(o.height, 720);
    EXPECT_EQ(o.frames, 3000);
    EXPECT_EQ(o.startTick, DefaultStartTick);
    EXPECT_STREQ(o.outPath, "aquarium.png");
    EXPECT_EQ(o.framesDir, nullptr);
    EXPECT_EQ(o.tracePath, nullptr);
}

TEST(RenderOptions, EveryOptionIsRead) {
    const RenderOptions o =
        parse({"--size", "320x200", "--frames", "12", "--start-tick", "4294967295", "--out",
               "x.png", "--frames-dir", "dir", "--every", "5", "--trace", "t.csv",
               "--trace-every", "3"});
    ASSERT_TRUE(o.ok) << o.error;
    EXPECT_EQ(o.width, 320);
    EXPECT_EQ(o.height, 200);
    EXPECT_EQ(o.frames, 12);
    EXPECT_EQ(o.startTick, 4294967295u);
    EXPECT_STREQ(o.outPath, "x.png");
    EXPECT_STREQ(o.framesDir, "dir");
    EXPECT_EQ(o.every, 5);
    EXPECT_STREQ(o.tracePath, "t.csv");
    EXPECT_EQ(o.traceEvery, 3);
}

TEST(RenderOptions, SizeLimitsAreInclusive) {
    EXPECT_TRUE(parse({"--size", "1x1"}).ok);
    const RenderOptions big = parse({"--size", "8192x8192"});
    ASSERT_TRUE(big.ok);
    EXPECT_EQ(big.width, 8192);
    EXPECT_EQ(big.height, 8192);
}

TEST(RenderOptions, FrameFoldersAndTracesDefaultToEveryFrame) {
    const RenderOptions o = parse({"--frames-dir", "d", "--trace", "t.csv"});
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.every, 1);
    EXPECT_EQ(o.traceEvery, 1);
}

TEST(RenderOptions, HelpIsNotAnError) {
    const RenderOptions o = parse({"--help"});
    EXPECT_TRUE(o.ok);
    EXPECT_TRUE(o.help);
}

class RenderOptionsRejects : public ::testing::TestWithParam<std::vector<const char*>> {};

TEST_P(RenderOptionsRejects, WithAReason) {
    std::vector<const char*> argv{"aquarium-render"};
    argv.insert(argv.end(), GetParam().begin(), GetParam().end());
    const RenderOptions o = parseRenderOptions(static_cast<int>(argv.size()), argv.data());
    EXPECT_FALSE(o.ok);
    EXPECT_NE(std::string(o.error), "");
}

INSTANTIATE_TEST_SUITE_P(
    BadCommandLines, RenderOptionsRejects,
    ::testing::Values(std::vector<const char*>{"--size", "0x720"},
                      std::vector<const char*>{"--size", "1280x0"},
                      std::vector<const char*>{"--size", "-1280x720"},
                      std::vector<const char*>{"--size", "8193x100"},
                      std::vector<const char*>{"--size", "99999999999x1"},
                      std::vector<const char*>{"--size", "1280"},
                      std::vector<const char*>{"--size", "1280x720x3"},
                      std::vector<const char*>{"--size", "1280 x720"},
                      std::vector<const char*>{"--size", "x720"},
                      std::vector<const char*>{"--frames", "0"},
                      std::vector<const char*>{"--frames", "-5"},
                      std::vector<const char*>{"--frames", "12abc"},
                      std::vector<const char*>{"--frames", ""},
                      std::vector<const char*>{"--frames", "+3"},
                      std::vector<const char*>{"--start-tick", "4294967296"},
                      std::vector<const char*>{"--start-tick", "-1"},
                      std::vector<const char*>{"--every", "0", "--frames-dir", "d"},
                      std::vector<const char*>{"--every", "5"},
                      std::vector<const char*>{"--trace-every", "2"},
                      std::vector<const char*>{"--out", ""},
                      std::vector<const char*>{"--out"},
                      std::vector<const char*>{"--frames"},
                      std::vector<const char*>{"--colour", "red"},
                      std::vector<const char*>{"frames", "3"}));

#include "host/web_options.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct QueryCase {
    const char* name;
    const char* query;  // after '?'
    const char* reads;  // "error", or what describe() writes
};

// "live" or "replay N from T at S", then the size, fps and bench when set.
std::string describe(const WebOptions& o) {
    if (!o.ok) return o.error[0] != '\0' ? "error" : "error without a reason";
    std::string s = "live";
    if (o.replay)
        s = "replay " + std::to_string(o.frames) + " from " + std::to_string(o.startTick) + " at " +
            std::to_string(o.startTime);
    if (o.width != 0) s += " " + std::to_string(o.width) + "x" + std::to_string(o.height);
    if (o.showFps) s += " fps";
    if (o.benchFrames != 0) s += " bench " + std::to_string(o.benchFrames);
    return s;
}

class WebOptionsTable : public testing::TestWithParam<QueryCase> {};

TEST_P(WebOptionsTable, ReadsTheQuery) {
    EXPECT_EQ(describe(parseWebOptions(GetParam().query)), GetParam().reads);
}

INSTANTIATE_TEST_SUITE_P(
    Queries, WebOptionsTable,
    testing::Values(
        QueryCase{"Empty", "", "live"},
        QueryCase{"FpsAndBench", "fps&bench=300", "live fps bench 300"},
        QueryCase{"Replay", "tick=4294967295&frames=3000",
                  "replay 3000 from 4294967295 at 1000000000"},
        QueryCase{"ReplayInAnyOrder", "size=640x360&frames=1&time=0&tick=010",
                  "replay 1 from 10 at 0 640x360"},
        QueryCase{"LargestValues", "frames=100000000&time=4611686018427387904&size=8192x8192",
                  "replay 100000000 from 0 at 4611686018427387904 8192x8192"},
        QueryCase{"TickPastTheWrap", "tick=4294967296&frames=1", "error"},
        QueryCase{"TimePastItsRange", "time=4611686018427387905&frames=1", "error"},
        QueryCase{"NoFrames", "frames=0", "error"},
        QueryCase{"SignedFrames", "frames=+5", "error"},
        QueryCase{"EmptyValue", "frames=", "error"},
        QueryCase{"SizeWithoutHeight", "frames=1&size=640x", "error"},
        QueryCase{"SizeTooWide", "frames=1&size=8193x1", "error"},
        QueryCase{"TickWithoutFrames", "tick=5", "error"},
        QueryCase{"BenchInAReplay", "frames=5&bench=5", "error"},
        QueryCase{"RepeatedFrames", "frames=5&frames=6", "error"},
        QueryCase{"FpsWithAValue", "fps=1", "error"},
        QueryCase{"UnknownName", "frame=5", "error"},
        QueryCase{"NameAlone", "tick", "error"}),
    [](const testing::TestParamInfo<QueryCase>& c) { return std::string(c.param.name); });

}  // namespace

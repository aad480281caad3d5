#include "host/saver_options.h"

#include <gtest/gtest.h>

namespace {

struct OptionsCase {
    std::vector<const char*> words;  // after the program's name
    const char* env;                 // XSCREENSAVER_WINDOW, null when unset
    bool ok;
    SaverTarget target;
    SaverMode mode;         // Framework only
    std::uint64_t window;   // parent (Framework) or target (ForeignWindow)
    std::int32_t delay;
};

class SaverOptionsTable : public testing::TestWithParam<OptionsCase> {};

TEST_P(SaverOptionsTable, OptionsFirstThenTheScan) {
    const OptionsCase& c = GetParam();
    std::vector<const char*> argv{"aquarium"};
    argv.insert(argv.end(), c.words.begin(), c.words.end());
    const SaverOptions o = parseSaverOptions(static_cast<int>(argv.size()), argv.data(), c.env);
    const std::string line = testing::PrintToString(c.words);
    ASSERT_EQ(o.ok, c.ok) << line << o.error;
    if (!c.ok) return;
    EXPECT_EQ(o.target, c.target) << line;
    EXPECT_EQ(o.frameDelay, c.delay) << line;
    const bool framework = c.target == SaverTarget::Framework;
    EXPECT_EQ(framework ? o.command.mode : c.mode, c.mode) << line;  // the mode: Framework only
    EXPECT_EQ(o.command.parentWindow, framework ? c.window : 0u) << line;
    EXPECT_EQ(o.window, c.target == SaverTarget::ForeignWindow ? c.window : 0u) << line;
}

constexpr auto Fw = SaverTarget::Framework;
constexpr auto Foreign = SaverTarget::ForeignWindow;
constexpr auto Full = SaverMode::FullScreen;
constexpr auto Prev = SaverMode::Preview;
constexpr auto Conf = SaverMode::Configure;
constexpr std::int32_t D = DefaultFrameDelay;

INSTANTIATE_TEST_SUITE_P(
    Lines, SaverOptionsTable,
    testing::Values(
        // Options never reach the scan: "-delay" holds an 'a', "-window-id" none of a, c, p, s.
        OptionsCase{{"-delay", "20000"}, nullptr, true, Fw, Conf, 0, 20000},
        OptionsCase{{"--delay", "0", "/s"}, nullptr, true, Fw, Full, 0, 0},
        OptionsCase{{"/s", "-delay", "10000000"}, nullptr, true, Fw, Full, 0, 10000000},
        OptionsCase{{"/p", "1234"}, nullptr, true, Fw, Prev, 1234, D},
        OptionsCase{{"-s"}, nullptr, true, Fw, Full, 0, D},
        OptionsCase{{"--s"}, nullptr, true, Fw, Full, 0, D},
        OptionsCase{{}, nullptr, true, Fw, Conf, 0, D},
        OptionsCase{{"-window-id", "0x2a00005"}, nullptr, true, Foreign, Conf, 0x2a00005, D},
        OptionsCase{{"--window-id", "44040197", "/s"}, nullptr, true, Foreign, Conf, 44040197, D},
        OptionsCase{{"-window-id", "0"}, nullptr, true, Foreign, Conf, 0, D},
        OptionsCase{{"--root"}, "", true, SaverTarget::RootWindow, Conf, 0, D},
        // The daemon's window wins over -root and the mode letters, not over -window-id.
        OptionsCase{{"--root"}, "0x400001", true, Foreign, Conf, 0x400001, D},
        OptionsCase{{"/s"}, "77", true, Foreign, Conf, 77, D},
        OptionsCase{{"-window-id", "5"}, "77", true, Foreign, Conf, 5, D},
        OptionsCase{{"-window", "/s"}, nullptr, true, SaverTarget::DesktopWindow, Conf, 0, D},
        OptionsCase{{"-window"}, "77", true, SaverTarget::DesktopWindow, Conf, 0, D},
        // Bad values and unknown long options are errors, not mode letters.
        OptionsCase{{"-delay"}, nullptr, false, Fw, Conf, 0, D},
        OptionsCase{{"-delay", "-5"}, nullptr, false, Fw, Conf, 0, D},
        OptionsCase{{"-delay", "10000001"}, nullptr, false, Fw, Conf, 0, D},
        OptionsCase{{"-delay", "5ms"}, nullptr, false, Fw, Conf, 0, D},
        OptionsCase{{"-window-id", "12abc"}, nullptr, false, Fw, Conf, 0, D},
        OptionsCase{{"-window-id", "0x"}, nullptr, false, Fw, Conf, 0, D},
        OptionsCase{{"-window-id", "99999999999999999999"}, nullptr, false, Fw, Conf, 0, D},
        OptionsCase{{"--fps"}, nullptr, false, Fw, Conf, 0, D},
        OptionsCase{{"-root"}, "window", false, Fw, Conf, 0, D}));

TEST(SaverOptions, HelpAndAnOverlongLine) {
    const char* help[] = {"aquarium", "/s", "-help"};
    EXPECT_TRUE(parseSaverOptions(3, help, nullptr).help);
    const char* shortHelp[] = {"aquarium", "-h"};
    EXPECT_TRUE(parseSaverOptions(2, shortHelp, nullptr).help);
    static const std::string word(600, 'x');
    const char* longLine[] = {"aquarium", word.c_str(), word.c_str()};
    EXPECT_FALSE(parseSaverOptions(3, longLine, nullptr).ok);
}

}  // namespace

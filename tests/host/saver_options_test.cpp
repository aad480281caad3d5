#include "host/saver_options.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using Result = SaverOptionsResult;
constexpr auto Fw = SaverTarget::Framework;
constexpr auto Foreign = SaverTarget::ForeignWindow;
constexpr auto Full = SaverMode::FullScreen;
constexpr auto Prev = SaverMode::Preview;
constexpr auto Conf = SaverMode::Configure;
constexpr std::int32_t D = DefaultFrameDelay;

struct OptionsCase {
    const char* name;
    std::vector<const char*> words;  // after the program's name
    const char* env;                 // XSCREENSAVER_WINDOW, null when unset
    Result result;
    SaverTarget target;     // Run only, like the rest
    SaverMode mode;         // Framework only
    std::uint64_t window;   // parent (Framework) or target (ForeignWindow)
    std::int32_t delay;
    bool fps;
};

OptionsCase runs(const char* name, std::vector<const char*> words, SaverTarget target,
                 SaverMode mode, std::uint64_t window = 0, std::int32_t delay = D,
                 const char* env = nullptr, bool fps = false) {
    return {name, std::move(words), env, Result::Run, target, mode, window, delay, fps};
}

OptionsCase refused(const char* name, std::vector<const char*> words, Result result,
                    const char* env = nullptr) {
    return {name, std::move(words), env, result, Fw, Conf, 0, D, false};
}

class SaverOptionsTable : public testing::TestWithParam<OptionsCase> {};

TEST_P(SaverOptionsTable, OptionsThenTheScreenSaverWords) {
    const OptionsCase& c = GetParam();
    std::vector<const char*> argv{"aquarium"};
    argv.insert(argv.end(), c.words.begin(), c.words.end());
    const SaverOptions o = parseSaverOptions(static_cast<int>(argv.size()), argv.data(), c.env);
    ASSERT_EQ(o.result, c.result) << o.error;
    if (c.result != Result::Run) {
        EXPECT_EQ(o.error[0] == '\0', c.result == Result::Help || c.result == Result::Version)
            << "an error says what it is";
        return;
    }
    EXPECT_EQ(std::make_tuple(o.target, o.frameDelay, o.showFps),
              std::make_tuple(c.target, c.delay, c.fps));
    const bool framework = c.target == Fw;
    EXPECT_EQ(framework ? o.command.mode : c.mode, c.mode);  // the mode: Framework only
    EXPECT_EQ(o.command.parentWindow, framework ? c.window : 0u);
    EXPECT_EQ(o.window, c.target == Foreign ? c.window : 0u);
}

const std::string longHandle(2000, '7');

INSTANTIATE_TEST_SUITE_P(
    Lines, SaverOptionsTable,
    testing::Values(
        // Options never reach the scan: "-delay" holds an 'a'.
        runs("DelayAlone", {"-delay", "20000"}, Fw, Conf, 0, 20000),
        runs("DelayAfterEquals", {"-delay=20000"}, Fw, Conf, 0, 20000),
        runs("ModeThenLargestDelay", {"/s", "-delay", "10000000"}, Fw, Full, 0, 10000000),
        runs("Fps", {"-fps"}, Fw, Conf, 0, D, nullptr, true),
        runs("NoFpsAfterFps", {"--fps", "--no-fps", "-s"}, Fw, Full),
        // Mode letters: either case, alone or after '/' or '-', ":N" or a handle word.
        runs("UpperPWithHandle", {"-P", "12"}, Fw, Prev, 12),
        runs("UpperCBesideWindowId", {"C", "-window-id", "9"}, Foreign, Conf, 9),
        runs("UpperAWithHandle", {"/A", "42"}, Fw, SaverMode::ChangePassword, 42),
        runs("BareLetterWithHandle", {"p", "1234"}, Fw, Prev, 1234),
        runs("PreviewColonHandleScansAsNone", {"/p:1234"}, Fw, Prev, 0),
        runs("ConfigureColonHandle", {"/c:1234"}, Fw, Conf),
        runs("ConfigureHandleWord", {"/c", "1234"}, Fw, Conf),
        runs("HandleBeyond32BitsNamesNoWindow", {"/p", "4294967297"}, Fw, Prev, 0),
        // Where to draw: -window-id, then -window, then the daemon's window, then -root.
        runs("WindowIdAfterEqualsBeatsMode", {"--window-id=44040197", "/s"}, Foreign, Conf,
             44040197),
        runs("WindowIdLargest", {"-window-id", "0XFFFFFFFF"}, Foreign, Conf, 0xFFFFFFFF),
        runs("RootWithoutDaemonWindow", {"--root"}, SaverTarget::RootWindow, Conf, 0, D, ""),
        runs("DaemonWindowBeatsRoot", {"--root"}, Foreign, Conf, 0x400001, D, "0x400001"),
        runs("DaemonWindowBeatsMode", {"/s"}, Foreign, Conf, 77, D, "77"),
        runs("WindowIdBeatsDaemonWindow", {"-window-id", "5"}, Foreign, Conf, 5, D, "77"),
        runs("DesktopBeatsDaemonWindow", {"-window", "/s"}, SaverTarget::DesktopWindow, Conf, 0,
             D, "77"),
        // Typing slips and bad values never fall through to a letter they contain.
        refused("Windows", {"-windows"}, Result::UsageError),
        refused("Dealy", {"-dealy", "20000"}, Result::UsageError),
        refused("ShortOptionPrefix", {"--windo"}, Result::UsageError),
        refused("ModeAfterTwoDashes", {"--s"}, Result::UsageError),
        refused("ModeWithLetterAfter", {"-sx"}, Result::UsageError),
        refused("ModeWithEmptyColon", {"-p:"}, Result::UsageError),
        refused("PlainWord", {"aquarium"}, Result::UsageError),
        refused("HandleAfterFullScreen", {"/s", "1234"}, Result::UsageError),
        refused("HandleNotDecimal", {"/p", "12abc"}, Result::UsageError),
        refused("OverlongHandle", {"/p", longHandle.c_str()}, Result::UsageError),
        refused("DelayMissing", {"-delay"}, Result::UsageError),
        refused("DelayNotANumber", {"--delay=abc"}, Result::UsageError),
        refused("DelayTooLong", {"-delay", "10000001"}, Result::UsageError),
        refused("FlagWithValue", {"--fps=1"}, Result::UsageError),
        refused("WindowIdMissing", {"-window-id"}, Result::UsageError),
        // A window id that cannot be one is the saver's failure to draw: status 1.
        refused("WindowIdTrailing", {"-window-id", "12abc"}, Result::WindowError),
        refused("WindowIdEmptyHex", {"-window-id", "0x"}, Result::WindowError),
        refused("WindowIdSigned", {"-window-id", "+5"}, Result::WindowError),
        refused("WindowIdBeyond32Bits", {"-window-id", "4294967296"}, Result::WindowError),
        refused("WindowIdHexBeyond32Bits", {"-window-id", "0x100000001"}, Result::WindowError),
        refused("DaemonWindowSigned", {}, Result::WindowError, "-1"),
        refused("DaemonWindowBlankFirst", {"/s"}, Result::WindowError, " 0x400001"),
        // Words are read in order: the first that ends the reading decides.
        refused("HelpAfterMode", {"/s", "-help"}, Result::Help),
        refused("ShortHelpBeforeUnknown", {"-h", "--bogus"}, Result::Help),
        refused("VersionBeforeUnknown", {"--version", "--bogus"}, Result::Version),
        refused("UnknownBeforeHelp", {"--bogus", "--help"}, Result::UsageError)),
    [](const testing::TestParamInfo<OptionsCase>& c) { return std::string(c.param.name); });

}  // namespace

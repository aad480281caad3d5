#include "host/saver_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct OptionsCase {
    const char* name;
    std::vector<const char*> words;  // after the program's name
    const char* reads;               // the options as describe() writes them
    const char* env = nullptr;       // XSCREENSAVER_WINDOW, null when unset
};

// "help", "usage" or "window-error" (an error with ": why" where it says what
// it is); or where the saver draws (the scanned mode, or desktop, foreign or
// root), then every value that is not its default: the scan's parent window,
// the window drawn into, the delay and -fps.
std::string describe(const SaverOptions& o) {
    const char* const results[] = {"", "help", "version", "usage", "window-error"};
    const char* const modes[] = {"full-screen", "preview", "configure", "password"};
    const char* const targets[] = {"", "desktop", "foreign", "root"};
    if (o.result != SaverOptionsResult::Run)
        return results[static_cast<int>(o.result)] + std::string(o.error[0] ? ": why" : "");
    std::string s = o.target == SaverTarget::Framework ? modes[static_cast<int>(o.command.mode)]
                                                       : targets[static_cast<int>(o.target)];
    if (o.command.parentWindow != 0) s += " parent " + std::to_string(o.command.parentWindow);
    if (o.window != 0) s += " window " + std::to_string(o.window);
    if (o.frameDelay != DefaultFrameDelay) s += " delay " + std::to_string(o.frameDelay);
    return s + (o.showFps ? " fps" : "");
}

class SaverOptionsTable : public testing::TestWithParam<OptionsCase> {};

TEST_P(SaverOptionsTable, OptionsThenTheScreenSaverWords) {
    const OptionsCase& c = GetParam();
    std::vector<const char*> argv{"aquarium"};
    argv.insert(argv.end(), c.words.begin(), c.words.end());
    const SaverOptions o = parseSaverOptions(static_cast<int>(argv.size()), argv.data(), c.env);
    EXPECT_EQ(describe(o), c.reads) << o.error;
}

const std::string longHandle(2000, '7');
constexpr const char* Usage = "usage: why";
constexpr const char* WindowError = "window-error: why";

INSTANTIATE_TEST_SUITE_P(
    Lines, SaverOptionsTable,
    testing::Values(
        // Options never reach the scan: "-delay" holds an 'a'.
        OptionsCase{"DelayAlone", {"-delay", "20000"}, "configure delay 20000"},
        OptionsCase{"DelayAfterEquals", {"-delay=20000"}, "configure delay 20000"},
        OptionsCase{"ModeThenLargestDelay", {"/s", "-delay", "10000000"},
                    "full-screen delay 10000000"},
        OptionsCase{"Fps", {"-fps"}, "configure fps"},
        OptionsCase{"NoFpsAfterFps", {"--fps", "--no-fps", "-s"}, "full-screen"},
        // Mode letters: either case, alone or after '/' or '-', ":N" or a handle word.
        OptionsCase{"UpperS", {"/S"}, "full-screen"},
        OptionsCase{"UpperPWithHandle", {"-P", "12"}, "preview parent 12"},
        OptionsCase{"UpperCBesideWindowId", {"C", "-window-id", "9"}, "foreign window 9"},
        OptionsCase{"UpperAWithHandle", {"/A", "42"}, "password parent 42"},
        OptionsCase{"BareLetterWithHandle", {"p", "1234"}, "preview parent 1234"},
        OptionsCase{"PreviewColonHandleScansAsNone", {"/p:1234"}, "preview"},
        OptionsCase{"ConfigureColonHandle", {"/c:1234"}, "configure"},
        OptionsCase{"ConfigureHandleWord", {"/c", "1234"}, "configure"},
        OptionsCase{"HandleBeyond32BitsNamesNoWindow", {"/p", "4294967297"}, "preview"},
        // Where to draw: -window-id, then -window, then the daemon's window, then -root.
        OptionsCase{"WindowIdAfterEqualsBeatsMode", {"--window-id=44040197", "/s"},
                    "foreign window 44040197"},
        OptionsCase{"WindowIdLargest", {"-window-id", "0XFFFFFFFF"}, "foreign window 4294967295"},
        OptionsCase{"RootWithoutDaemonWindow", {"--root"}, "root", ""},
        OptionsCase{"DaemonWindowBeatsRoot", {"--root"}, "foreign window 4194305", "0x400001"},
        OptionsCase{"DaemonWindowBeatsMode", {"/s"}, "foreign window 77", "77"},
        OptionsCase{"WindowIdBeatsDaemonWindow", {"-window-id", "5"}, "foreign window 5", "77"},
        OptionsCase{"DesktopBeatsDaemonWindow", {"-window", "/s"}, "desktop", "77"},
        // Typing slips and bad values never fall through to a letter they contain.
        OptionsCase{"Windows", {"-windows"}, Usage},
        OptionsCase{"Roots", {"-roots"}, Usage},
        OptionsCase{"Dealy", {"-dealy", "20000"}, Usage},
        OptionsCase{"ShortOptionPrefix", {"--windo"}, Usage},
        OptionsCase{"ModeAfterTwoDashes", {"--s"}, Usage},
        OptionsCase{"ModeWithLetterAfter", {"-sx"}, Usage},
        OptionsCase{"ModeWithEmptyColon", {"-p:"}, Usage},
        OptionsCase{"PlainWord", {"aquarium"}, Usage},
        OptionsCase{"HandleAfterFullScreen", {"/s", "1234"}, Usage},
        OptionsCase{"HandleNotDecimal", {"/p", "12abc"}, Usage},
        OptionsCase{"OverlongHandle", {"/p", longHandle.c_str()}, Usage},
        OptionsCase{"DelayMissing", {"-delay"}, Usage},
        OptionsCase{"DelayNotANumber", {"--delay=abc"}, Usage},
        OptionsCase{"DelayTooLong", {"-delay", "10000001"}, Usage},
        OptionsCase{"FlagWithValue", {"--fps=1"}, Usage},
        OptionsCase{"WindowIdMissing", {"-window-id"}, Usage},
        // A window id that cannot be one is the saver's failure to draw: status 1.
        OptionsCase{"WindowIdTrailing", {"-window-id", "12abc"}, WindowError},
        OptionsCase{"WindowIdEmptyHex", {"-window-id", "0x"}, WindowError},
        OptionsCase{"WindowIdSigned", {"-window-id", "+5"}, WindowError},
        OptionsCase{"WindowIdBlankFirst", {"-window-id", " 5"}, WindowError},
        OptionsCase{"WindowIdBeyond32Bits", {"-window-id", "4294967296"}, WindowError},
        OptionsCase{"WindowIdHexBeyond32Bits", {"-window-id", "0x100000001"}, WindowError},
        OptionsCase{"WindowIdWrapsTo1", {"-window-id", "18446744073709551617"}, WindowError},
        OptionsCase{"DaemonWindowSigned", {}, WindowError, "-1"},
        OptionsCase{"DaemonWindowBlankFirst", {"/s"}, WindowError, " 0x400001"},
        // Words are read in order: the first that ends the reading decides.
        OptionsCase{"HelpAfterMode", {"/s", "-help"}, "help"},
        OptionsCase{"ShortHelpBeforeUnknown", {"-h", "--bogus"}, "help"},
        OptionsCase{"VersionBeforeUnknown", {"--version", "--bogus"}, "version"},
        OptionsCase{"UnknownBeforeHelp", {"--bogus", "--help"}, Usage}),
    [](const testing::TestParamInfo<OptionsCase>& c) { return std::string(c.param.name); });

}  // namespace

#include "host/saver_command_line.h"

#include <gtest/gtest.h>

namespace {

struct CommandCase {
    const char* line;
    SaverMode mode;
    std::uint64_t parent;
};

void PrintTo(const CommandCase& c, std::ostream* out) { *out << (c.line ? c.line : "null"); }

class SaverCommandLine : public testing::TestWithParam<CommandCase> {};

TEST_P(SaverCommandLine, FirstModeLetterDecides) {
    const CommandCase& c = GetParam();
    const SaverCommand command = parseSaverCommandLine(c.line);
    EXPECT_EQ(command.mode, c.mode) << '"' << c.line << '"';
    EXPECT_EQ(command.parentWindow, c.parent) << '"' << c.line << '"';
}

using M = SaverMode;
INSTANTIATE_TEST_SUITE_P(
    Lines, SaverCommandLine,
    testing::Values(
        CommandCase{"/s", M::FullScreen, 0}, CommandCase{"-s", M::FullScreen, 0},
        CommandCase{"--s", M::FullScreen, 0}, CommandCase{"/x/c /s", M::Configure, 0},
        CommandCase{"", M::Configure, 0}, CommandCase{"/C /s", M::Configure, 0},
        CommandCase{"/c:1234", M::Configure, 0}, CommandCase{"/x /y 9", M::Configure, 0},
        CommandCase{"/p 1234", M::Preview, 1234}, CommandCase{"/P \t 77 88", M::Preview, 77},
        CommandCase{"/p:1234", M::Preview, 0}, CommandCase{"/p", M::Preview, 0},
        CommandCase{"/p 18446744073709551615", M::Preview, UINT64_MAX},
        CommandCase{"/p 18446744073709551617", M::Preview, 0},  // not the wrapped 1
        CommandCase{"/a 42", M::ChangePassword, 42}, CommandCase{"/A 7", M::ChangePassword, 7},
        CommandCase{"-delay 9", M::ChangePassword, 0}, CommandCase{nullptr, M::Configure, 0}));

}  // namespace

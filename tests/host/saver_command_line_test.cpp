#include "host/saver_command_line.h"

#include <gtest/gtest.h>

namespace {

struct CommandCase {
    const char* line;
    SaverMode mode;
    std::uint64_t parent;
};

class SaverCommandLine : public testing::TestWithParam<CommandCase> {};

TEST_P(SaverCommandLine, FirstModeLetterDecides) {
    const CommandCase& c = GetParam();
    const SaverCommand command = parseSaverCommandLine(c.line);
    EXPECT_EQ(command.mode, c.mode) << '"' << c.line << '"';
    EXPECT_EQ(command.parentWindow, c.parent) << '"' << c.line << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SaverCommandLine,
    testing::Values(
        CommandCase{"/s", SaverMode::FullScreen, 0}, CommandCase{"-s", SaverMode::FullScreen, 0},
        CommandCase{"s", SaverMode::FullScreen, 0}, CommandCase{"/S", SaverMode::FullScreen, 0},
        CommandCase{"", SaverMode::Configure, 0}, CommandCase{"/c", SaverMode::Configure, 0},
        CommandCase{"/c:1234", SaverMode::Configure, 0},
        CommandCase{"/x /y 9", SaverMode::Configure, 0},
        CommandCase{"/p 1234", SaverMode::Preview, 1234},
        CommandCase{"/P \t 77 88", SaverMode::Preview, 77},
        CommandCase{"/p:1234", SaverMode::Preview, 0}, CommandCase{"/p", SaverMode::Preview, 0},
        CommandCase{"/p 18446744073709551615", SaverMode::Preview, UINT64_MAX},
        CommandCase{"/p 18446744073709551616", SaverMode::Preview, 0},
        CommandCase{"/a 42", SaverMode::ChangePassword, 42},
        CommandCase{"--s", SaverMode::FullScreen, 0},
        CommandCase{"/x/c /s", SaverMode::Configure, 0},
        CommandCase{"-delay 9", SaverMode::ChangePassword, 0},
        CommandCase{nullptr, SaverMode::Configure, 0}));

}  // namespace

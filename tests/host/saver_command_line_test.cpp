#include "host/saver_command_line.h"

#include <gtest/gtest.h>

TEST(SaverCommandLine, FirstModeLetterDecidesAndADecimalHandleFollowsItsBlanks) {
    const struct { const char* line; SaverMode mode; std::uint64_t parent; } cases[] = {
        {"/s", SaverMode::FullScreen, 0},        {"-S", SaverMode::FullScreen, 0},
        {"--s", SaverMode::FullScreen, 0},       {"", SaverMode::Configure, 0},
        {"/c:1234", SaverMode::Configure, 0},    {"/x /y 9", SaverMode::Configure, 0},
        {"/x/c /s", SaverMode::Configure, 0},    {"/p 1234", SaverMode::Preview, 1234},
        {"/P \t 77 88", SaverMode::Preview, 77}, {"/p:1234", SaverMode::Preview, 0},
        {"/p", SaverMode::Preview, 0},           {"/p 18446744073709551615", SaverMode::Preview, UINT64_MAX},
        {"/p 18446744073709551616", SaverMode::Preview, 0},
        {"/a 42", SaverMode::ChangePassword, 42}, {"-delay 9", SaverMode::ChangePassword, 0},
    };
    for (const auto& c : cases) {
        const SaverCommand command = parseSaverCommandLine(c.line);
        EXPECT_TRUE(command.mode == c.mode && command.parentWindow == c.parent) << '"' << c.line << '"';
    }
    EXPECT_EQ(parseSaverCommandLine(nullptr).mode, SaverMode::Configure);
}

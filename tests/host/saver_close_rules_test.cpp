#include "host/saver_close_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using A = SaverAction;
using E = SaverEvent;

struct Step { E event; std::int32_t x, y; A expected; };
struct RulesCase { const char* name; bool inputCloses, usePassword; std::vector<Step> steps; };

class SaverCloseRules : public testing::TestWithParam<RulesCase> {};

// Every case starts with the pointer recorded at (100, 50).
TEST_P(SaverCloseRules, ActsOnEachEventInTurn) {
    const RulesCase& c = GetParam();
    SaverCloseState state = startSaverClose(c.inputCloses, c.usePassword, 100, 50);
    for (const Step& s : c.steps)
        EXPECT_EQ(saverCloseEvent(state, s.event, s.x, s.y), s.expected)
            << "step " << &s - c.steps.data();
}

INSTANTIATE_TEST_SUITE_P(
    Events, SaverCloseRules,
    testing::Values(
        RulesCase{"KeyCloses", true, false, {{E::KeyPress, 100, 50, A::RequestClose}}},
        RulesCase{"ButtonCloses", true, false, {{E::ButtonPress, 100, 50, A::RequestClose}}},
        RulesCase{"MoveWithoutMovementIgnored", true, false,
                  {{E::PointerMoved, 100, 50, A::Ignore}, {E::PointerMoved, 101, 50, A::RequestClose},
                   {E::PointerMoved, 100, 49, A::RequestClose}}},
        RulesCase{"DeactivationIsAMove", true, false,
                  {{E::Deactivated, 100, 50, A::Ignore}, {E::Deactivated, 99, 50, A::RequestClose}}},
        RulesCase{"CloseDecidedThenEverythingIgnored", true, false,
                  {{E::CloseRequest, 0, 0, A::Close}, {E::KeyPress, 0, 0, A::Ignore}, {E::CloseRequest, 0, 0, A::Ignore}}},
        RulesCase{"PreviewIgnoresInputButClosesOnRequest", false, true,
                  {{E::KeyPress, 0, 0, A::Ignore}, {E::ButtonPress, 0, 0, A::Ignore}, {E::PointerMoved, 7, 7, A::Ignore},
                   {E::Deactivated, 7, 7, A::Ignore}, {E::CloseRequest, 0, 0, A::Close}}},
        RulesCase{"PasswordCheckHoldsInput", true, true,
                  {{E::KeyPress, 100, 50, A::RequestClose}, {E::CloseRequest, 0, 0, A::CheckPassword},
                   {E::KeyPress, 0, 0, A::Ignore}, {E::PointerMoved, 5, 5, A::Ignore}, {E::CloseRequest, 0, 0, A::Ignore}}}),
    [](const testing::TestParamInfo<RulesCase>& p) { return std::string(p.param.name); });

TEST(SaverPassword, RefusalRecordsThePointerAndAsksAgainOnTheNextMove) {
    SaverCloseState state = startSaverClose(true, true, 100, 50);
    ASSERT_EQ(saverCloseEvent(state, E::CloseRequest, 0, 0), A::CheckPassword);
    EXPECT_FALSE(saverHidesPointer(state));
    EXPECT_EQ(saverPasswordVerdict(state, false, 300, 200), A::Ignore);
    EXPECT_TRUE(saverDrawsFrames(state));
    EXPECT_TRUE(saverHidesPointer(state));
    EXPECT_EQ(saverCloseEvent(state, E::PointerMoved, 100, 50), A::RequestClose);
    EXPECT_EQ(saverCloseEvent(state, E::PointerMoved, 300, 200), A::Ignore);
    ASSERT_EQ(saverCloseEvent(state, E::CloseRequest, 0, 0), A::CheckPassword);
    EXPECT_EQ(saverPasswordVerdict(state, true, 300, 200), A::Close);
    EXPECT_FALSE(saverDrawsFrames(state));
    EXPECT_EQ(saverPasswordVerdict(state, true, 0, 0), A::Ignore);
}

}  // namespace

#include "host/saver_close_rules.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using A = SaverAction;
using E = SaverEvent;

}  // namespace

// Every case starts with the pointer recorded at (100, 50); each step is an
// event, the pointer's position and the action expected.
TEST(SaverCloseRules, ActOnEachEventInTurn) {
    const struct {
        bool inputCloses, usePassword;
        std::vector<std::tuple<E, int, int, A>> steps;
    } cases[] = {
        {true, false, {{E::KeyPress, 100, 50, A::RequestClose}}},
        {true, false, {{E::ButtonPress, 100, 50, A::RequestClose}}},
        {true, false,  // a move report without movement is ignored
         {{E::PointerMoved, 100, 50, A::Ignore}, {E::PointerMoved, 101, 50, A::RequestClose},
          {E::PointerMoved, 100, 49, A::RequestClose}}},
        {true, false, {{E::Deactivated, 100, 50, A::Ignore}, {E::Deactivated, 99, 50, A::RequestClose}}},
        {true, false,  // once closing is decided everything is ignored
         {{E::CloseRequest, 0, 0, A::Close}, {E::KeyPress, 0, 0, A::Ignore}, {E::CloseRequest, 0, 0, A::Ignore}}},
        {false, true,  // a preview ignores input but closes on request
         {{E::KeyPress, 0, 0, A::Ignore}, {E::ButtonPress, 0, 0, A::Ignore}, {E::PointerMoved, 7, 7, A::Ignore},
          {E::Deactivated, 7, 7, A::Ignore}, {E::CloseRequest, 0, 0, A::Close}}},
        {true, true,  // a password check holds input
         {{E::KeyPress, 100, 50, A::RequestClose}, {E::CloseRequest, 0, 0, A::CheckPassword},
          {E::KeyPress, 0, 0, A::Ignore}, {E::PointerMoved, 5, 5, A::Ignore}, {E::CloseRequest, 0, 0, A::Ignore}}},
    };
    for (const auto& c : cases) {
        SaverCloseState state = startSaverClose(c.inputCloses, c.usePassword, 100, 50);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const auto& [event, x, y, expected] = c.steps[i];
            EXPECT_EQ(saverCloseEvent(state, event, x, y), expected) << "case " << &c - cases << " step " << i;
        }
    }
}

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

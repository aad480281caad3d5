#include "fish/behaviour_file.h"

#include "tests/support/fish_fixtures.h"

#include <cmath>

namespace {

// A fish with size 2.5 and top speed 9 that has read `text`.
std::unique_ptr<Fish> readFish(const std::string& text) {
    auto fish = makeFish();
    fish->maxSpeed = 9;
    std::istringstream in(text);
    readBehaviourFile(*fish, in);
    return fish;
}

}  // namespace

// Line two of a behaviour file and row two of a profile table set the same
// seven numbers in order; the file flocks for exactly 1 only, the table for
// any value that truncates to 1.
TEST(BehaviourNumbers, FromAFileOrATableInOrderWithTheirOwnFlockingRule) {
    for (const float value : {1.0f, 1.5f, 2.0f, 0.99f, -1.0f, std::nanf("")}) {
        std::ostringstream file;
        file << "108\r\n256,0,255,0,161\r\n5,7 1,2," << value << ",8,4,99\r\n-0.98,0.1\r\n";
        const ProfileRow rows[3] = {{{101}}, {{128}}, {{5, 7, 1, 2, value, 8, 4}}};
        auto fromFile = readFish(file.str()), fromTable = makeFish();
        applyBehaviourParameters(*fromTable, rows, 3);
        EXPECT_EQ(fromFile->flocking, value == 1.0f) << value;
        EXPECT_EQ(fromTable->flocking, value >= 1.0f && value < 2.0f) << value;
        for (const Fish* fish : {fromFile.get(), fromTable.get()})
            EXPECT_EQ(behaviourParameters(*fish), (std::array<float, 6>{5, 7, 1, 2, 8, 4}));
    }
    auto fish = readFish("\n\n5,7.5\n");  // missing numbers read as zero
    EXPECT_TRUE(fish->maxSpeed == 7.5f && fish->size == 0.0f && fish->priority == 0.0f);
    // Without a line or row two (or with an over-long line before it) nothing changes.
    const ProfileRow shortTable[2] = {{{101}}, {{128, 0, 128, 0, 64}}};
    applyBehaviourParameters(*fish, shortTable, 2);
    readBehaviourFile(*fish, tempPath("none.txt").c_str());
    EXPECT_TRUE(fish->maxSpeed == 7.5f && getVertexCount(*fish) == 0);
    for (const std::string& text : {std::string("101\r\n256,2,240,4,94\r\n"),
                                    "101\n" + std::string(300, '1') + "\n5,7,1,2,1,8,4\n"})
        EXPECT_EQ(readFish(text)->maxSpeed, 9.0f) << text.substr(0, 20);
}

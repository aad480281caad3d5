#include "fish/behaviour_file.h"

#include "tests/support/fish_fixtures.h"

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

TEST(BehaviourFile, LineTwoSetsTheSevenNumbersInOrderAndFlocksOnlyForExactlyOne) {
    auto fish = readFish("108\r\n256,0,255,0,161\r\n2,8 2,2.75,1,3.5,7,99\r\n-0.98,0.1,0,0.001\r\n");
    EXPECT_EQ(behaviourParameters(*fish), (std::array<float, 6>{2, 8, 2, 2.75f, 3.5f, 7}));
    EXPECT_TRUE(fish->flocking && getVertexCount(*fish) == 0);
    for (const char* value : {"1.5", "0.99", "nan", "x"})
        EXPECT_FALSE(readFish(std::string("\n\n3 7.5 1 2 ") + value + " 6 3\n")->flocking) << value;
    fish = readFish("\n\n5,7.5\n");  // missing numbers read as zero
    EXPECT_TRUE(fish->maxSpeed == 7.5f && fish->size == 0.0f && fish->priority == 0.0f);
    // Without a line two (or with an over-long line before it) nothing changes.
    for (const std::string& text : {std::string("101\r\n256,2,240,4,94\r\n"),
                                    "101\n" + std::string(300, '1') + "\n5,7,1,2,1,8,4\n"})
        EXPECT_TRUE(readFish(text)->size == 2.5f && readFish(text)->maxSpeed == 9.0f) << text.substr(0, 20);
    readBehaviourFile(*fish, tempPath("none.txt").c_str());
    EXPECT_EQ(fish->maxSpeed, 7.5f);
}

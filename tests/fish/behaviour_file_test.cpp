#include "fish/behaviour_file.h"

#include "fish/fish.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace {

// A fish with size 2.5 and top speed 9 that has read `text`.
std::unique_ptr<Fish> readFish(const std::string& text) {
    auto fish = std::make_unique<Fish>();  // value-initialised: all zero
    initMesh(*fish);
    fish->size = 2.5f;
    fish->maxSpeed = 9;
    std::istringstream in(text);
    readBehaviourFile(*fish, in);
    return fish;
}

}  // namespace

TEST(BehaviourFile, LineTwoSetsTheSevenParametersInOrder) {
    auto fish =
        readFish("108\r\n256,0,255,0,161\r\n2,8 2,2.75,1,3.5,7\r\n-0.98,0.1,0,0.001,0.001\r\n");
    EXPECT_EQ(fish->wanderChance, 2.0f);
    EXPECT_EQ(fish->maxSpeed, 8.0f);
    EXPECT_EQ(fish->size, 2.0f);
    EXPECT_EQ(fish->yieldDistance, 2.75f);
    EXPECT_TRUE(fish->flocking);
    EXPECT_EQ(fish->flockRadius, 3.5f);
    EXPECT_EQ(fish->priority, 7.0f);
    EXPECT_EQ(getVertexCount(*fish), 0);  // the rings are not read into the mesh
}

TEST(BehaviourFile, FlocksOnlyForExactlyOne) {
    for (const char* value : {"1", "1.0", "1.5", "0.99", "0", "nan", "x"}) {
        auto fish = readFish(std::string("\n\n3 7.5 1 2 ") + value + " 6 3\n");
        EXPECT_EQ(fish->flocking, std::string(value) == "1" || std::string(value) == "1.0")
            << value;
    }
}

TEST(BehaviourFile, MissingNumbersReadAsZeroAndExtraOnesAreIgnored) {
    auto fish = readFish("\n\n5,7.5\n");
    EXPECT_EQ(fish->maxSpeed, 7.5f);
    EXPECT_EQ(fish->size, 0.0f);
    EXPECT_EQ(fish->priority, 0.0f);
    std::string many;
    for (int i = 1; i <= 100; ++i) many += std::to_string(i % 10) + (i % 2 ? " " : ",");
    fish = readFish("\n\n" + many + "\n");
    EXPECT_EQ(fish->wanderChance, 1.0f);
    EXPECT_EQ(fish->priority, 7.0f);
}

TEST(BehaviourFile, WithoutLineTwoNothingChanges) {
    for (const std::string& text :
         {std::string(), std::string("101\n"), std::string("101\r\n256,2,240,4,94\r\n"),
          "101\n" + std::string(300, '1') + "\n5,7,1,2,1,8,4\n"}) {
        auto fish = readFish(text);
        EXPECT_TRUE(fish->size == 2.5f && fish->maxSpeed == 9.0f) << text.substr(0, 20);
    }
    auto fish = std::make_unique<Fish>();
    fish->size = 2.5f;
    readBehaviourFile(*fish, (::testing::TempDir() + "none/none.txt").c_str());
    EXPECT_EQ(fish->size, 2.5f);
}

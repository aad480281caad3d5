#include "fish/behaviour_file.h"

#include "data/species_tables.h"
#include "fish/fish.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <sstream>
#include <string>

namespace {

std::unique_ptr<Fish> readFish(const std::string& text) {
    auto fish = std::make_unique<Fish>();  // value-initialised: all zero
    initMesh(*fish);
    std::istringstream in(text);
    readBehaviourFile(*fish, in);
    return fish;
}

}  // namespace

TEST(BehaviourFile, LineTwoSetsTheSevenParametersInOrder) {
    auto fish = readFish("108\n256,0,255,0,161\n2,8,2,2.75,1,3.5,7\n-0.98,0.1,0,0.001,0.001\n");
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
    const struct {
        const char* value;
        bool flocking;
    } cases[] = {{"1", true}, {"1.0", true}, {"1.5", false}, {"0.99", false},
                 {"2", false}, {"0", false}, {"nan", false}, {"x", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        auto fish = readFish(std::string("\n\n3 7.5 1 2 ") + c.value + " 6 3\n");
        EXPECT_EQ(fish->flocking, c.flocking);
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
    const std::string texts[] = {"", "101\n", "101\r\n256,2,240,4,94\r\n",
                                 "101\n" + std::string(300, '1') + "\n5,7,1,2,1,8,4\n"};
    for (const std::string& text : texts) {
        auto fish = std::make_unique<Fish>();
        fish->size = 2.5f;
        fish->maxSpeed = 9;
        std::istringstream in(text);
        readBehaviourFile(*fish, in);
        EXPECT_EQ(fish->size, 2.5f);
        EXPECT_EQ(fish->maxSpeed, 9.0f);
    }
    auto fish = std::make_unique<Fish>();
    fish->size = 2.5f;
    readBehaviourFile(*fish, (::testing::TempDir() + "none/none.txt").c_str());
    EXPECT_EQ(fish->size, 2.5f);
}

TEST(BehaviourFile, CompiledTablesAsTextGiveTheTableParameters) {
    for (const SpeciesTable& table : speciesTables) {
        SCOPED_TRACE(table.species);
        std::ostringstream text;
        text.precision(std::numeric_limits<float>::max_digits10);
        for (int j = 0; j < table.rowCount; ++j) {
            for (int i = 0; i < 7; ++i) text << (i ? "," : "") << table.rows[j].values[i];
            text << "\r\n";
        }
        auto read = readFish(text.str());
        auto applied = std::make_unique<Fish>();
        applyBehaviourParameters(*applied, table.rows, table.rowCount);
        EXPECT_EQ(read->wanderChance, applied->wanderChance);
        EXPECT_EQ(read->maxSpeed, applied->maxSpeed);
        EXPECT_EQ(read->size, applied->size);
        EXPECT_EQ(read->yieldDistance, applied->yieldDistance);
        EXPECT_EQ(read->flocking, applied->flocking);
        EXPECT_EQ(read->flockRadius, applied->flockRadius);
        EXPECT_EQ(read->priority, applied->priority);
    }
}

// Checks of the compiled bitmaps against what the program expects of them.
#include "data/species_tables.h"
#include "data/bitmaps.h"
#include "host/bitmap_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

TEST(Bitmaps, AllEightAre128Square24BitFilesAndEverySpeciesHasOne) {
    for (int id = 101; id <= 108; ++id) {
        const EmbeddedBitmap bytes = findEmbeddedBitmap(id);
        ASSERT_NE(bytes.data, nullptr) << id;
        EXPECT_EQ(bytes.size, 54u + 49152u) << id;
        BitmapLayout layout{};
        ASSERT_TRUE(readBitmapLayout(bytes.data, bytes.size, layout)) << id;
        EXPECT_TRUE(layout.width == 128 && layout.height == 128 && layout.pixelOffset == 54u &&
                    layout.rowStride == 384u)
            << id;
    }
    EXPECT_TRUE(findEmbeddedBitmap(100).data == nullptr && findEmbeddedBitmap(109).data == nullptr);
    for (const SpeciesTable& table : speciesTables) {  // each names its own, existing bitmap
        EXPECT_EQ(static_cast<int>(table.rows[0].values[0]), table.species);
        EXPECT_NE(findEmbeddedBitmap(table.species).data, nullptr) << table.species;
    }
}

namespace {

class FishSkins : public ::testing::TestWithParam<int> {};

}  // namespace

// The skin lies inside the rectangle of the species' mapping row, on a plain
// ground, and fills that rectangle from edge to edge as the body fills its box.
TEST_P(FishSkins, ShowTheFishInsideTheMappingRectangleOnAPlainGround) {
    const SpeciesTable* table = findSpeciesTable(GetParam());
    const EmbeddedBitmap bytes = findEmbeddedBitmap(GetParam());
    ASSERT_TRUE(table != nullptr && bytes.size == 54u + 49152u);
    const float* map = table->rows[1].values;
    const double scale = 128 / static_cast<double>(map[0]);
    const double left = map[1] * scale, right = (map[1] + map[2] + 1.0) * scale;
    const double lower = map[3] * scale, upper = (map[3] + map[4] + 1.0) * scale;
    // Blue, green, red as stored: black, or olive for species 108.
    const unsigned char ground[3] = {0, 0, 0}, olive[3] = {68, 189, 193};
    const unsigned char* plain = table->species == 108 ? olive : ground;

    int outsideWrong = 0, inside = 0, fish = 0;
    int fishLeft = 128, fishRight = -1, fishLow = 128, fishHigh = -1;
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {  // rows bottom first, 384 bytes each
            const bool isGround = std::memcmp(bytes.data + 54 + y * 384 + x * 3, plain, 3) == 0;
            if (x + 1 <= left || x >= right || y + 1 <= lower || y >= upper) {
                outsideWrong += !isGround;
                continue;
            }
            ++inside;
            if (!isGround) {
                ++fish;
                fishLeft = std::min(fishLeft, x), fishRight = std::max(fishRight, x);
                fishLow = std::min(fishLow, y), fishHigh = std::max(fishHigh, y);
            }
        }
    }
    EXPECT_EQ(outsideWrong, 0);
    EXPECT_GT(fish, inside * 2 / 5);
    EXPECT_LE(fishLeft, std::floor(left) + 1);
    EXPECT_GE(fishRight, std::ceil(right) - 2);
    EXPECT_LE(fishLow, std::floor(lower) + 1);
    EXPECT_GE(fishHigh, std::ceil(upper) - 2);
}

INSTANTIATE_TEST_SUITE_P(AllSix, FishSkins, ::testing::Values(101, 102, 103, 104, 105, 108),
                         [](const auto& param) { return "Species" + std::to_string(param.param); });

// Checks of the compiled bitmaps against what the program expects of them.
#include "data/species_tables.h"
#include "host/host.h"
#include "mesh/bitmap_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int Edge = 128;

// The 128 x 128 picture of bitmap `id` as red-green-blue, bottom row first.
std::vector<unsigned char> rawPicture(int id) {
    const BitmapBytes bytes = hostFindBitmap(id);
    BitmapLayout layout{};
    if (bytes.data == nullptr || !readBitmapLayout(bytes.data, bytes.size, layout)) return {};
    std::vector<unsigned char> rgb(Edge * Edge * 3);
    for (int y = 0; y < Edge; ++y)
        for (int x = 0; x < Edge; ++x)
            for (int c = 0; c < 3; ++c)
                rgb[(y * Edge + x) * 3 + c] =
                    bytes.data[layout.pixelOffset + y * layout.rowStride + x * 3 + (2 - c)];
    return rgb;
}

bool isGround(const unsigned char* p, const unsigned char* ground) {
    return p[0] == ground[0] && p[1] == ground[1] && p[2] == ground[2];
}

}  // namespace

TEST(Bitmaps, AllEightAre128Square24BitFilesAndEverySpeciesHasOne) {
    for (int id = 101; id <= 108; ++id) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        const BitmapBytes bytes = hostFindBitmap(id);
        ASSERT_NE(bytes.data, nullptr);
        EXPECT_EQ(bytes.size, 54u + 49152u);
        BitmapLayout layout{};
        ASSERT_TRUE(readBitmapLayout(bytes.data, bytes.size, layout));
        EXPECT_TRUE(layout.width == 128 && layout.height == 128 && layout.pixelOffset == 54u &&
                    layout.rowStride == 384u);
    }
    EXPECT_EQ(hostFindBitmap(100).data, nullptr);
    EXPECT_EQ(hostFindBitmap(109).data, nullptr);
    for (const SpeciesTable& table : speciesTables) {  // each names its own, existing bitmap
        EXPECT_EQ(static_cast<int>(table.rows[0].values[0]), table.species);
        EXPECT_NE(hostFindBitmap(table.species).data, nullptr) << table.species;
    }
}

namespace {

class FishSkins : public ::testing::TestWithParam<int> {};

}  // namespace

// The skin lies inside the rectangle of the species' mapping row, on a plain
// ground, and fills that rectangle from edge to edge as the body fills its box.
TEST_P(FishSkins, ShowTheFishInsideTheMappingRectangleOnAPlainGround) {
    const SpeciesTable* table = findSpeciesTable(GetParam());
    ASSERT_NE(table, nullptr);
    const auto rgb = rawPicture(table->species);
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(Edge * Edge * 3));
    const float* map = table->rows[1].values;
    const double scale = Edge / static_cast<double>(map[0]);
    const double left = map[1] * scale, right = (map[1] + map[2] + 1.0) * scale;
    const double lower = map[3] * scale, upper = (map[3] + map[4] + 1.0) * scale;
    const unsigned char black[3] = {0, 0, 0}, olive[3] = {193, 189, 68};
    const unsigned char* ground = table->species == 108 ? olive : black;

    int outsideWrong = 0, inside = 0, fish = 0;
    int fishLeft = Edge, fishRight = -1, fishLow = Edge, fishHigh = -1;
    for (int y = 0; y < Edge; ++y) {
        for (int x = 0; x < Edge; ++x) {
            const unsigned char* p = &rgb[(y * Edge + x) * 3];
            const bool whollyOutside = x + 1 <= left || x >= right || y + 1 <= lower || y >= upper;
            if (whollyOutside) {
                outsideWrong += !isGround(p, ground);
                continue;
            }
            ++inside;
            if (isGround(p, ground)) continue;
            ++fish;
            fishLeft = std::min(fishLeft, x);
            fishRight = std::max(fishRight, x);
            fishLow = std::min(fishLow, y);
            fishHigh = std::max(fishHigh, y);
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

// The compiled bitmaps, decoded as textures are made from them, to the bit.
#include "data/bitmaps.h"
#include "data/species_tables.h"
#include "host/bitmap_decode.h"
#include "tests/support/mesh_fixtures.h"

TEST(Bitmaps, EightCompiledFilesDecodeToKnownImages) {
    const std::uint64_t expected[8] = {
        0x2490b9ca74e33928u, 0xece1c1b4b4b544bau, 0x61dbd21f7c061ab0u, 0x5cd72561804a17b0u,
        0x042a88040bb34b79u, 0x70d3ea85ab3bc176u, 0x720cd70cc94c9eaau, 0x8f2c44b1b65a9170u,
    };
    for (int id = 101; id <= 108; ++id) {
        const EmbeddedBitmap bytes = findEmbeddedBitmap(id);
        RgbImage image{};
        ASSERT_TRUE(decodeBitmapFile(bytes.data, bytes.size, image)) << id;
        const std::uint64_t hash = fnv1a(Fnv1aStart, image.pixels, 64 * 64 * 3);
        std::free(image.pixels);
        EXPECT_EQ(hash, expected[id - 101]) << "bitmap " << id << std::hex << " 0x" << hash;
    }
    EXPECT_TRUE(findEmbeddedBitmap(100).data == nullptr && findEmbeddedBitmap(109).data == nullptr);
    for (const SpeciesTable& table : speciesTables)  // each names its own skin
        EXPECT_TRUE(table.rows[0].values[0] == table.species && findEmbeddedBitmap(table.species).data) << table.species;
}

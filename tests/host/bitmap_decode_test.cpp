#include "host/bitmap_decode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A .bmp file image held in a buffer of exactly its size, so the sanitizer
// catches any read past the end.
struct FileImage {
    std::unique_ptr<unsigned char[]> bytes;
    std::size_t size;
};

void put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A 24-bit bottom-up file; `pixel(x, y, channel)` gives blue (0), green (1) and
// red (2) of column x, row y counted from the bottom.
std::vector<unsigned char> makeBitmap(int width, int height,
                                      const std::function<int(int, int, int)>& pixel) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<unsigned char> b(54 + stride * height, 0);
    b[0] = 'B', b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(b.size()));
    put32(b, 10, 54);
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1, b[28] = 24;  // one plane, 24 bits
    put32(b, 34, static_cast<std::uint32_t>(stride * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                b[54 + y * stride + x * 3 + c] = static_cast<unsigned char>(pixel(x, y, c));
    return b;
}

FileImage exact(const std::vector<unsigned char>& b, std::size_t size) {
    FileImage f{std::make_unique<unsigned char[]>(size), size};
    std::memcpy(f.bytes.get(), b.data(), size < b.size() ? size : b.size());
    return f;
}

// Decodes into `out` (64 * 64 * 3 bytes, red-green-blue); false when rejected.
bool decode(const std::vector<unsigned char>& b, std::vector<unsigned char>& out) {
    const FileImage f = exact(b, b.size());
    RgbImage image{};
    if (!decodeBitmapFile(f.bytes.get(), f.size, image)) return false;
    EXPECT_TRUE(image.width == 64 && image.height == 64);
    out.assign(image.pixels, image.pixels + 64 * 64 * 3);
    std::free(image.pixels);
    return true;
}

const unsigned char* at(const std::vector<unsigned char>& rgb, int x, int y) {
    return rgb.data() + (y * 64 + x) * 3;
}

}  // namespace

TEST(BitmapDecode, SwapsBlueAndRedAndAveragesEachTwoByTwoBlockBottomRowFirst) {
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(
        decode(makeBitmap(128, 128, [](int, int, int c) { return c == 0 ? 255 : 0; }), rgb));
    for (int i = 0; i < 64 * 64; ++i)
        ASSERT_TRUE(rgb[i * 3] == 0 && rgb[i * 3 + 1] == 0 && rgb[i * 3 + 2] == 255) << i;

    // Every source pixel different; file channel c (blue first) lands at 2 - c.
    const auto value = [](int x, int y, int c) { return (x * 7 + y * 3 + c * 50) % 251; };
    ASSERT_TRUE(decode(makeBitmap(128, 128, value), rgb));
    for (int dy = 0; dy < 64; ++dy)
        for (int dx = 0; dx < 64; ++dx)
            for (int c = 0; c < 3; ++c) {
                const int sum = value(2 * dx, 2 * dy, c) + value(2 * dx + 1, 2 * dy, c) +
                                value(2 * dx, 2 * dy + 1, c) + value(2 * dx + 1, 2 * dy + 1, c);
                ASSERT_EQ(at(rgb, dx, dy)[2 - c], (sum + 2) / 4) << dx << "," << dy << " c" << c;
            }
}

TEST(BitmapDecode, WeighsPartlyCoveredPixelsByAreaAndSkipsRowPadding) {
    // 96 columns onto 64: each output pixel covers one and a half source columns.
    const auto stripes = makeBitmap(96, 96, [](int x, int, int) { return x % 2 == 0 ? 0 : 90; });
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(decode(stripes, rgb));
    EXPECT_EQ(at(rgb, 0, 0)[2], 30);   // column 0 (0) and half of 1 (90)
    EXPECT_EQ(at(rgb, 2, 63)[2], 60);  // 3 (90) and half of 4 (0)
    // 66 pixels make 198-byte rows padded to 200; one dark corner pixel.
    const auto padded =
        makeBitmap(66, 66, [](int x, int y, int) { return x == 65 && y == 65 ? 0 : 40; });
    ASSERT_TRUE(decode(padded, rgb));
    EXPECT_TRUE(at(rgb, 30, 40)[0] == 40 && at(rgb, 63, 63)[0] < 40);
    ASSERT_TRUE(decode(makeBitmap(1, 1, [](int, int, int c) { return 10 * (c + 1); }), rgb));
    EXPECT_TRUE(at(rgb, 37, 12)[0] == 30 && at(rgb, 37, 12)[2] == 10);
}

// The worst malformed files: each is rejected, leaves the image untouched and
// is read only within its buffer (the sanitizer build checks that).
TEST(BitmapDecode, RejectsMalformedFilesAndLeavesTheImageUntouched) {
    using Bytes = std::vector<unsigned char>;
    const struct {
        const char* name;
        void (*apply)(Bytes&);
        std::size_t cut;  // bytes removed from the end of the buffer
    } cases[] = {
        {"LastByteMissing", [](Bytes&) {}, 1},
        {"HeadersOnly", [](Bytes& b) { put32(b, 2, 54); }, 49152},
        {"NotBM", [](Bytes& b) { b[1] = 'A'; }, 0},
        {"ThirtyTwoBits", [](Bytes& b) { b[28] = 32; }, 0},
        {"RunLength", [](Bytes& b) { put32(b, 30, 1); }, 0},
        {"TopDown", [](Bytes& b) { put32(b, 22, static_cast<std::uint32_t>(-128)); }, 0},
        {"MostNegativeHeight", [](Bytes& b) { put32(b, 22, 0x80000000u); }, 0},
        {"ZeroWidth", [](Bytes& b) { put32(b, 18, 0); }, 0},
        {"HugeWidth", [](Bytes& b) { put32(b, 18, 0x7FFFFFFFu); }, 0},
        {"ProductWraps32Bits", [](Bytes& b) { put32(b, 18, 65536), put32(b, 22, 65536); }, 0},
        {"TallerThanTheData", [](Bytes& b) { put32(b, 22, 129); }, 0},
        {"PixelsPastTheEnd", [](Bytes& b) { put32(b, 10, 55); }, 0},
        {"PixelOffsetHuge", [](Bytes& b) { put32(b, 10, 0xFFFFFFF0u); }, 0},
        {"FileSizeBeyondTheBuffer", [](Bytes& b) { put32(b, 2, 49207); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = makeBitmap(128, 128, [](int x, int, int) { return x; });
        c.apply(b);
        const FileImage f = exact(b, c.cut < b.size() ? b.size() - c.cut : 0);
        unsigned char sentinel = 0;
        RgbImage image{-7, -7, &sentinel};
        EXPECT_FALSE(decodeBitmapFile(f.bytes.get(), f.size, image));
        EXPECT_TRUE(image.width == -7 && image.height == -7 && image.pixels == &sentinel);
        BitmapLayout layout{};
        EXPECT_FALSE(readBitmapLayout(f.bytes.get(), f.size, layout));
    }
    RgbImage image{};
    EXPECT_FALSE(decodeBitmapFile(nullptr, 0, image));
    EXPECT_EQ(image.pixels, nullptr);
}

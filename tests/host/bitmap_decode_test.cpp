#include "host/bitmap_decode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A 24-bit bottom-up file whose every channel of column x, row y is value(x, y).
Bytes makeBitmap(int width, int height, int (*value)(int, int)) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    Bytes b(54 + stride * height, 0);
    b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = 24;  // one plane, 24 bits
    const std::uint32_t fields[5][2] = {{2, static_cast<std::uint32_t>(b.size())}, {10, 54},
                                        {14, 40}, {18, static_cast<std::uint32_t>(width)},
                                        {22, static_cast<std::uint32_t>(height)}};
    for (const auto& f : fields) put32(b, f[0], f[1]);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            b[54 + y * stride + x] = static_cast<unsigned char>(value(x / 3, y));
    return b;
}

// Decodes the first `size` bytes, copied into a buffer of exactly that size so
// the sanitizer build catches any read past it; `out` gets red-green-blue rows.
bool decode(const Bytes& b, std::size_t size, Bytes& out, RgbImage image = RgbImage{}) {
    const auto exact = std::make_unique<unsigned char[]>(size);
    std::memcpy(exact.get(), b.data(), size);
    BitmapLayout layout{};
    const unsigned char* untouched = image.pixels;
    const bool valid = readBitmapLayout(exact.get(), size, layout), decoded = decodeBitmapFile(exact.get(), size, image);
    EXPECT_EQ(valid, decoded);
    EXPECT_TRUE(decoded ? image.width == 64 && image.height == 64 : image.width == -7 && image.pixels == untouched);
    if (decoded) out.assign(image.pixels, image.pixels + 64 * 64 * 3);
    std::free(decoded ? image.pixels : nullptr);
    return decoded;
}

}  // namespace

// Every file the program decodes is 128 x 128 (the embedded bitmaps' digests
// pin those); other sizes weigh partly covered pixels by area.
TEST(BitmapDecode, OtherSizesWeighPartlyCoveredPixelsByAreaAndSkipRowPadding) {
    Bytes rgb;  // 66 pixels make 198-byte rows padded to 200; one and a half columns a pixel
    const Bytes b = makeBitmap(66, 66, [](int x, int y) { return x == 65 && y == 65 ? 0 : 40 + 40 * (x % 2); });
    ASSERT_TRUE(decode(b, b.size(), rgb));
    EXPECT_TRUE(rgb[0] == 41 && rgb[(63 * 64 + 63) * 3] == 4);  // (40 + 80 / 32) / (33 / 32); the dark corner
}

TEST(BitmapDecode, RejectsMalformedFilesAndLeavesTheImageUntouched) {
    const struct {
        void (*apply)(Bytes&);
        std::size_t cut;  // bytes left out at the end
    } cases[] = {
        {[](Bytes&) {}, 1},                                    // last byte missing
        {[](Bytes& b) { put32(b, 2, 54); }, 49152},            // headers only
        {[](Bytes& b) { b[1] = 'A'; }, 0},                     // not BM
        {[](Bytes& b) { b[28] = 32; }, 0},                     // 32 bits a pixel
        {[](Bytes& b) { put32(b, 30, 1); }, 0},                // run-length encoded
        {[](Bytes& b) { put32(b, 22, 0xFFFFFF80u); }, 0},      // top-down rows
        {[](Bytes& b) { put32(b, 18, 0); }, 0},                // zero width
        {[](Bytes& b) { put32(b, 18, 65536), put32(b, 22, 65536); }, 0},  // product wraps
        {[](Bytes& b) { put32(b, 22, 129); }, 0},              // taller than the data
        {[](Bytes& b) { put32(b, 10, 0xFFFFFFF0u); }, 0},      // pixels far past the end
        {[](Bytes& b) { put32(b, 2, 49207); }, 0},             // file size beyond the buffer
    };
    for (const auto& c : cases) {
        Bytes b = makeBitmap(128, 128, [](int x, int) { return x; }), rgb;
        c.apply(b);
        unsigned char sentinel = 0;
        EXPECT_FALSE(decode(b, b.size() - c.cut, rgb, RgbImage{-7, -7, &sentinel})) << &c - cases;
    }
    RgbImage image{};
    EXPECT_FALSE(decodeBitmapFile(nullptr, 0, image));
}

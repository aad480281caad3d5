// libFuzzer target for the .bmp decoder: an accepted layout lies inside the
// file, and every decoded 64 x 64 pixel is an average of source pixels, so
// each channel stays between that channel's least and greatest source value.

#include "host/bitmap_decode.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BitmapLayout layout{};
    const bool valid = readBitmapLayout(data, size, layout);
    RgbImage image{-1, -1, nullptr};
    if (decodeBitmapFile(data, size, image) != valid) __builtin_trap();
    if (!valid && (image.width != -1 || image.height != -1 || image.pixels)) __builtin_trap();
    if (!valid) return 0;
    const std::size_t w = static_cast<std::size_t>(layout.width), stride = layout.rowStride;
    if (layout.width < 1 || layout.width > MaxBitmapEdge || layout.height < 1 ||
        layout.height > MaxBitmapEdge || stride % 4 != 0 || stride < w * 3 || stride >= w * 3 + 4 ||
        layout.pixelOffset < 54 || layout.pixelOffset + stride * layout.height > size ||
        image.width != DecodedImageEdge || image.height != DecodedImageEdge)
        __builtin_trap();
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};  // red, green, blue
    for (std::size_t y = 0; y < static_cast<std::size_t>(layout.height); ++y)
        for (std::size_t x = 0; x < w * 3; ++x) {
            const int v = data[layout.pixelOffset + y * stride + x], c = 2 - x % 3;
            low[c] = v < low[c] ? v : low[c];
            high[c] = v > high[c] ? v : high[c];
        }
    for (int i = 0; i < DecodedImageEdge * DecodedImageEdge * 3; ++i)
        if (image.pixels[i] < low[i % 3] || image.pixels[i] > high[i % 3]) __builtin_trap();
    std::free(image.pixels);
    return 0;
}

// Decoding .bmp file images into the 64 x 64 red-green-blue images that
// textures are made from. Pure functions: no OpenGL, no platform calls.
#pragma once

#include "mesh/texture.h"

#include <cstddef>
#include <cstdint>

// Edge of every decoded image, in pixels: textures are uploaded at 64 x 64.
constexpr int DecodedImageEdge = 64;

// Largest width or height accepted from a file, in pixels.
constexpr std::int32_t MaxBitmapEdge = 16384;

// Where the pixels of a validated file lie.
struct BitmapLayout {
    std::int32_t width;   // pixels per row, 1 .. MaxBitmapEdge
    std::int32_t height;  // rows, 1 .. MaxBitmapEdge, stored bottom row first
    std::size_t pixelOffset;  // byte offset of the bottom row in the file image
    std::size_t rowStride;    // bytes per row: width * 3 rounded up to 4
};

// Checks a .bmp file image: 'BM' file header, 40-byte info header, one plane,
// 24 bits a pixel, uncompressed, positive height (bottom-up rows) and every row
// inside the `size` bytes. False for anything else; reads nothing beyond
// `size`.
bool readBitmapLayout(const unsigned char* data, std::size_t size, BitmapLayout& layout);

// Decodes a .bmp file image into a freshly malloc'ed 64 x 64 image: area
// averaging over the source pixels (a 2 x 2 box for 128 x 128), bytes turned
// from blue-green-red into red-green-blue, bottom row first. False, with
// nothing allocated and `image` untouched, when the file is not accepted by
// readBitmapLayout or the pixel buffer cannot be allocated.
bool decodeBitmapFile(const unsigned char* data, std::size_t size, RgbImage& image);

// Bitmaps compiled into the program (data/bitmaps/<id>.bmp), looked up by id.
#pragma once

#include <cstddef>

// A complete .bmp file image.
struct EmbeddedBitmap {
    const unsigned char* data;
    std::size_t size;
};

// The file image of bitmap `id`, or {nullptr, 0} when there is none.
EmbeddedBitmap findEmbeddedBitmap(int id);

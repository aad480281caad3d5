// Turning bitmap resources 101..108 into OpenGL textures.
#pragma once

#include "mesh/mesh.h"

#include <cstdint>

// A decoded bitmap: rows bottom first, 3 bytes a pixel in red, green, blue
// order. Short-lived: freed as soon as the texture is uploaded.
struct RgbImage {
    std::int32_t width;
    std::int32_t height;
    unsigned char* pixels;  // owned, height * width * 3 bytes
};

// Loads bitmap `id`, scaled to 64 x 64, into `image` (allocating its pixels).
// False, with nothing left allocated, when the bitmap is missing or unreadable.
// Defined by the host backend (see host/host.h).
bool loadBitmapImage(int id, RgbImage& image);

// Creates a texture object from bitmap `id` (only its low 16 bits count) with
// linear filtering and repeat wrapping, and leaves it bound. Ends the process
// with status 1 when the bitmap cannot be loaded. Needs a current context.
TextureId loadBitmapTexture(int id);

// The mesh operation: texture = loadBitmapTexture(id).
void loadTexture(Mesh& mesh, int id);

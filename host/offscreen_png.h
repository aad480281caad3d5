// Writing the offscreen colour buffer as a PNG file.
#pragma once

#include <cstdio>

// Writes width x height RGB pixels, 3 bytes each with rows bottom first (as
// glReadPixels returns them), as an 8-bit RGB PNG with the top row first.
// False when a write fails (the file is flushed to find out); the caller
// closes `file`.
bool writePng(std::FILE* file, int width, int height, const unsigned char* bottomUpRgb);

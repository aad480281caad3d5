// Writing the offscreen colour buffer as a PNG file.
#pragma once

// Writes width x height RGB pixels, 3 bytes each with rows bottom first (as
// glReadPixels returns them), as an 8-bit RGB PNG with the top row first.
// False when the file cannot be written.
bool writePng(const char* path, int width, int height, const unsigned char* bottomUpRgb);

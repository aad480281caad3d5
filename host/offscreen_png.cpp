#include "host/offscreen_png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace {

// libpng reports errors by a longjmp back to the setjmp below; nothing in
// between has a destructor to skip. The caller says what went wrong, so
// libpng's own messages are not printed.
void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void quietWarning(png_structp, png_const_charp) {}

bool writeRows(std::FILE* file, int width, int height, const unsigned char* bottomUpRgb) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const auto stride = static_cast<std::size_t>(width) * 3;
    for (int row = height - 1; row >= 0; --row)
        png_write_row(png, bottomUpRgb + static_cast<std::size_t>(row) * stride);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePng(std::FILE* file, int width, int height, const unsigned char* bottomUpRgb) {
    if (file == nullptr || width <= 0 || height <= 0) return false;
    return writeRows(file, width, height, bottomUpRgb) && std::fflush(file) == 0 &&
           std::ferror(file) == 0;
}

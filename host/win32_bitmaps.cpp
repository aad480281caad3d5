// loadBitmapImage on Windows: the program's bitmap resources, scaled to
// 64 x 64 by the system's loader and read back through the saver window's
// device context as 24-bit rows.
#include "host/win32_gl_context.h"
#include "mesh/texture.h"

#include <cstdlib>

namespace {

constexpr int LoadedEdge = 64;  // pixels; every texture is uploaded at this size

// BITMAPINFO with room for the one colour entry GetDIBits may write.
struct BitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[1];
};

bool readPixels(HBITMAP bitmap, RgbImage& image) {
    BITMAP described = {};
    if (GetObjectA(bitmap, sizeof described, &described) == 0) return false;
    BitmapInfo info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = described.bmWidth;
    info.header.biHeight = described.bmHeight;  // positive: bottom row first
    info.header.biPlanes = described.bmPlanes;
    info.header.biBitCount = 24;
    info.header.biCompression = BI_RGB;
    BITMAPINFO* asInfo = reinterpret_cast<BITMAPINFO*>(&info);
    // A null buffer makes GetDIBits fill in the image size.
    if (GetDIBits(deviceContext, bitmap, 0, 1, nullptr, asInfo, DIB_PAL_COLORS) == 0) return false;
    const DWORD size = info.header.biSizeImage;
    // Rows must come back unpadded (width * 3 a multiple of 4) and fill the
    // buffer exactly, or the texture upload would read past it.
    const DWORD rowBytes = static_cast<DWORD>(described.bmWidth) * 3;
    if (described.bmWidth <= 0 || described.bmHeight <= 0 || rowBytes % 4 != 0 ||
        size != rowBytes * static_cast<DWORD>(described.bmHeight))
        return false;
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(size));
    if (pixels == nullptr) return false;
    if (GetDIBits(deviceContext, bitmap, 0, static_cast<UINT>(described.bmHeight), pixels, asInfo,
                  DIB_PAL_COLORS) == 0) {
        std::free(pixels);
        return false;
    }
    for (DWORD i = 0; i + 2 < size; i += 3) {  // blue-green-red to red-green-blue
        const unsigned char blue = pixels[i];
        pixels[i] = pixels[i + 2];
        pixels[i + 2] = blue;
    }
    image.width = described.bmWidth;
    image.height = described.bmHeight;
    image.pixels = pixels;
    return true;
}

}  // namespace

bool loadBitmapImage(int id, RgbImage& image) {
    HANDLE loaded = LoadImageA(moduleInstance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, LoadedEdge,
                               LoadedEdge, LR_DEFAULTCOLOR);
    if (loaded == nullptr) return false;
    HBITMAP bitmap = static_cast<HBITMAP>(loaded);
    const bool read = readPixels(bitmap, image);
    DeleteObject(bitmap);
    return read;
}

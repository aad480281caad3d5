// loadBitmapImage for hosts that carry the bitmaps as .bmp file images
// (hostFindBitmap). The Windows backend provides its own loadBitmapImage,
// reading the program's bitmap resources with LoadImageA and GetDIBits, and
// does not link this file.
#include "host/host.h"
#include "mesh/bitmap_decode.h"
#include "mesh/texture.h"

bool loadBitmapImage(int id, RgbImage& image) {
    const BitmapBytes bytes = hostFindBitmap(id);
    if (bytes.data == nullptr) return false;
    return decodeBitmapFile(bytes.data, bytes.size, image);
}

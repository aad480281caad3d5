// loadBitmapImage for backends that carry the bitmaps as .bmp file images
// compiled into the program (offscreen, X11). The Windows backend reads its
// bitmap resources instead and does not link this file.
#include "data/bitmaps.h"
#include "host/bitmap_decode.h"
#include "mesh/texture.h"

bool loadBitmapImage(int id, RgbImage& image) {
    const EmbeddedBitmap bitmap = findEmbeddedBitmap(id);
    if (bitmap.data == nullptr) return false;
    return decodeBitmapFile(bitmap.data, bitmap.size, image);
}

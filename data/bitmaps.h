// Bitmaps compiled into the program (data/bitmaps/<id>.bmp), looked up by id.
#pragma once

#include "host/host.h"

// The .bmp file image of bitmap `id`, or {nullptr, 0}.
BitmapBytes findEmbeddedBitmap(int id);

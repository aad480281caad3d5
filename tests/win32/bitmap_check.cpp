// Run under Wine: loads bitmaps 101..108 the way the saver does (resources,
// the system's 64 x 64 scaling, GetDIBits) and compares each with the
// portable decoder's image of the same file. The scaling filters differ, the
// picture may not: per-channel means and the means of an 8 x 8 grid of cells
// must agree within the tolerances below.
//   bitmap_check           every bitmap; exit 0 when all agree
//   bitmap_check missing   loads a bitmap the program does not carry (the
//                          process must end with status 1)
#include "data/bitmaps.h"
#include "host/win32_gl_context.h"
#include "host/bitmap_decode.h"
#include "mesh/texture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int Edge = 64;
constexpr int Cells = 8;                // grid cells along each axis
constexpr double MeanTolerance = 3.0;   // 0..255 per channel, whole picture
constexpr double CellTolerance = 24.0;  // 0..255 per channel, one cell

double cellMean(const RgbImage& image, int cellX, int cellY, int channel, int cells) {
    const int size = Edge / cells;
    double sum = 0.0;
    for (int y = cellY * size; y < (cellY + 1) * size; ++y)
        for (int x = cellX * size; x < (cellX + 1) * size; ++x)
            sum += image.pixels[(y * Edge + x) * 3 + channel];
    return sum / (size * size);
}

bool check(int id) {
    RgbImage loaded = {};
    if (!loadBitmapImage(id, loaded)) {
        std::printf("%d: not loaded\n", id);
        return false;
    }
    RgbImage decoded = {};
    const EmbeddedBitmap file = findEmbeddedBitmap(id);
    if (!decodeBitmapFile(file.data, file.size, decoded)) return false;
    bool ok = loaded.width == Edge && loaded.height == Edge;
    double worstMean = 0.0, worstCell = 0.0;
    for (int c = 0; ok && c < 3; ++c) {
        const double d = cellMean(loaded, 0, 0, c, 1) - cellMean(decoded, 0, 0, c, 1);
        if (std::abs(d) > worstMean) worstMean = std::abs(d);
        for (int y = 0; y < Cells; ++y)
            for (int x = 0; x < Cells; ++x) {
                const double e = cellMean(loaded, x, y, c, Cells) - cellMean(decoded, x, y, c, Cells);
                if (std::abs(e) > worstCell) worstCell = std::abs(e);
            }
    }
    ok = ok && worstMean <= MeanTolerance && worstCell <= CellTolerance;
    std::printf("%d: %dx%d, mean off by %.2f, worst cell off by %.2f: %s\n", id, loaded.width,
                loaded.height, worstMean, worstCell, ok ? "ok" : "DIFFERENT");
    std::free(loaded.pixels);
    std::free(decoded.pixels);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    moduleInstance = GetModuleHandleA(nullptr);
    deviceContext = GetDC(nullptr);  // the screen's, as no saver window exists here
    if (argc == 2 && std::strcmp(argv[1], "missing") == 0) {
        loadBitmapTexture(109);  // must not return
        std::printf("bitmap 109 loaded\n");
        return 0;
    }
    bool ok = true;
    for (int id = 101; id <= 108; ++id) ok = check(id) && ok;
    return ok ? 0 : 1;
}

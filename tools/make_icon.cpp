// Writes the saver's icon from one of its own fish skins: the fish of bitmap
// 104 on a transparent ground, at 16, 32 and 48 pixels, as a Windows .ico
// file (32-bit images with an AND mask).
//
// Usage: aquarium-make-icon BITMAP-FOLDER OUTPUT.ico
#include "host/bitmap_decode.h"
#include "io/atomic_file.h"
#include "io/cli.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int SkinBitmap = 104;
constexpr int SkinRows = 71;  // the fish fills the lowest 71 of the 128 rows
constexpr int Sizes[] = {16, 32, 48};
constexpr int GroundLimit = 24;  // a source pixel this dark on every channel is ground

using Bytes = std::vector<unsigned char>;

void put16(Bytes& out, unsigned v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

bool readFile(const std::string& path, Bytes& data) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    unsigned char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.insert(data.end(), buffer, buffer + n);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

// One square image of `edge` pixels: the skin's fish area, scaled by area
// averaging over the opaque source pixels, centred vertically.
Bytes iconImage(const unsigned char* data, const BitmapLayout& layout, int edge) {
    const int fishRows = (edge * SkinRows + layout.width / 2) / layout.width;
    const int top = (edge - fishRows) / 2;  // empty rows above (in the top-down sense)
    Bytes colour(static_cast<std::size_t>(edge) * edge * 4, 0);  // BGRA, bottom row first
    for (int y = 0; y < fishRows; ++y) {
        for (int x = 0; x < edge; ++x) {
            // Source block in bottom-up rows of the skin's lowest SkinRows.
            const int x0 = x * layout.width / edge, x1 = (x + 1) * layout.width / edge;
            const int y0 = y * SkinRows / fishRows, y1 = (y + 1) * SkinRows / fishRows;
            unsigned sum[3] = {0, 0, 0};
            int opaque = 0, total = 0;
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx) {
                    const unsigned char* p = data + layout.pixelOffset + sy * layout.rowStride + sx * 3;
                    ++total;
                    if (p[0] < GroundLimit && p[1] < GroundLimit && p[2] < GroundLimit) continue;
                    ++opaque;
                    for (int c = 0; c < 3; ++c) sum[c] += p[c];
                }
            }
            if (opaque * 2 < total) continue;  // mostly ground: transparent
            const int row = (edge - 1 - top - (fishRows - 1)) + y;  // bottom-up row in the icon
            unsigned char* q = colour.data() + (static_cast<std::size_t>(row) * edge + x) * 4;
            for (int c = 0; c < 3; ++c) q[c] = static_cast<unsigned char>(sum[c] / opaque);
            q[3] = 255;
        }
    }
    Bytes image;
    put32(image, 40);
    put32(image, static_cast<std::uint32_t>(edge));
    put32(image, static_cast<std::uint32_t>(edge * 2));  // colour rows, then mask rows
    put16(image, 1);
    put16(image, 32);
    for (int i = 0; i < 6; ++i) put32(image, 0);
    image.insert(image.end(), colour.begin(), colour.end());
    const int maskStride = (edge + 31) / 32 * 4;
    for (int row = 0; row < edge; ++row) {
        Bytes mask(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < edge; ++x)
            if (colour[(static_cast<std::size_t>(row) * edge + x) * 4 + 3] == 0)
                mask[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        image.insert(image.end(), mask.begin(), mask.end());
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    const char* const usage = "usage: aquarium-make-icon BITMAP-FOLDER OUTPUT.ico\n";
    if (helpRequested(argc, argv)) return printToStdout("aquarium-make-icon", usage);
    if (argc != 3 || argv[1][0] == '\0' || argv[2][0] == '\0') {
        std::fprintf(stderr, "aquarium-make-icon: %s%s", argc != 3 ? "" : "empty path; ", usage);
        return 2;
    }
    const std::string source = std::string(argv[1]) + "/" + std::to_string(SkinBitmap) + ".bmp";
    Bytes data;
    BitmapLayout layout = {};
    if (!readFile(source, data) || !readBitmapLayout(data.data(), data.size(), layout) ||
        layout.height < SkinRows) {
        std::fprintf(stderr, "cannot read the skin %s\n", source.c_str());
        return 1;
    }
    constexpr int Count = sizeof Sizes / sizeof Sizes[0];
    Bytes file;
    put16(file, 0);
    put16(file, 1);  // icon
    put16(file, Count);
    std::vector<Bytes> images;
    std::uint32_t offset = 6 + 16 * Count;
    for (int edge : Sizes) {
        images.push_back(iconImage(data.data(), layout, edge));
        file.push_back(static_cast<unsigned char>(edge));
        file.push_back(static_cast<unsigned char>(edge));
        file.push_back(0);  // no palette
        file.push_back(0);
        put16(file, 1);
        put16(file, 32);
        put32(file, static_cast<std::uint32_t>(images.back().size()));
        put32(file, offset);
        offset += static_cast<std::uint32_t>(images.back().size());
    }
    for (const Bytes& image : images) file.insert(file.end(), image.begin(), image.end());
    // Written beside the target and renamed, so a failed run leaves no partial icon.
    AtomicFile out;
    if (!openAtomicFile(out, argv[2]) ||
        std::fwrite(file.data(), 1, file.size(), out.file) != file.size() ||
        !commitAtomicFile(out)) {
        reportWriteError("aquarium-make-icon", argv[2]);
        discardAtomicFile(out);
        return 1;
    }
    return 0;
}

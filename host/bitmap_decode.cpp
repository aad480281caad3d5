#include "host/bitmap_decode.h"

#include <cstdlib>

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;

std::uint32_t readU32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t readU16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::int32_t readI32(const unsigned char* p) {
    const std::uint32_t u = readU32(p);
    // Two's complement without relying on implementation-defined conversion.
    return u <= 0x7FFFFFFFu ? static_cast<std::int32_t>(u)
                            : -static_cast<std::int32_t>(~u) - 1;
}

// Overlap of source span [s * DecodedImageEdge, (s + 1) * DecodedImageEdge)
// with destination span [d * sourceEdge, (d + 1) * sourceEdge): both in units
// of 1 / (sourceEdge * DecodedImageEdge) of the image's edge.
std::uint64_t overlap(std::int64_t s, std::int64_t d, std::int64_t sourceEdge) {
    const std::int64_t lo0 = s * DecodedImageEdge, hi0 = lo0 + DecodedImageEdge;
    const std::int64_t lo1 = d * sourceEdge, hi1 = lo1 + sourceEdge;
    const std::int64_t lo = lo0 > lo1 ? lo0 : lo1;
    const std::int64_t hi = hi0 < hi1 ? hi0 : hi1;
    return hi > lo ? static_cast<std::uint64_t>(hi - lo) : 0;
}

}  // namespace

bool readBitmapLayout(const unsigned char* data, std::size_t size, BitmapLayout& layout) {
    if (data == nullptr || size < FileHeaderSize + InfoHeaderSize) return false;
    if (data[0] != 'B' || data[1] != 'M') return false;
    const std::uint32_t fileSize = readU32(data + 2);  // 0 is tolerated, as many writers leave it
    const std::uint32_t pixelOffset = readU32(data + 10);
    const unsigned char* info = data + FileHeaderSize;
    if (readU32(info) != InfoHeaderSize) return false;
    const std::int32_t width = readI32(info + 4);
    const std::int32_t height = readI32(info + 8);  // negative would mean top-down rows
    if (readU16(info + 12) != 1 || readU16(info + 14) != 24 || readU32(info + 16) != 0)
        return false;
    if (width < 1 || width > MaxBitmapEdge || height < 1 || height > MaxBitmapEdge) return false;
    if (fileSize > size) return false;  // truncated
    // Both edges are at most 2^14, so these products fit comfortably in 64 bits.
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
    if (pixelOffset < FileHeaderSize + InfoHeaderSize || pixelOffset > size) return false;
    if (pixelBytes > size - pixelOffset) return false;
    layout.width = width;
    layout.height = height;
    layout.pixelOffset = pixelOffset;
    layout.rowStride = static_cast<std::size_t>(stride);
    return true;
}

bool decodeBitmapFile(const unsigned char* data, std::size_t size, RgbImage& image) {
    BitmapLayout layout;
    if (!readBitmapLayout(data, size, layout)) return false;
    constexpr int Edge = DecodedImageEdge;
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(Edge * Edge * 3));
    if (pixels == nullptr) return false;

    const unsigned char* rows = data + layout.pixelOffset;
    const std::int64_t w = layout.width, h = layout.height;
    // Every destination pixel averages the source area it covers, weighted by
    // the overlap: weights of one pixel add up to w * h.
    const std::uint64_t total = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
    for (int dy = 0; dy < Edge; ++dy) {
        const std::int64_t sy0 = dy * h / Edge, sy1 = ((dy + 1) * h - 1) / Edge;
        for (int dx = 0; dx < Edge; ++dx) {
            const std::int64_t sx0 = dx * w / Edge, sx1 = ((dx + 1) * w - 1) / Edge;
            std::uint64_t sum[3] = {0, 0, 0};
            for (std::int64_t sy = sy0; sy <= sy1; ++sy) {
                const std::uint64_t wy = overlap(sy, dy, h);
                const unsigned char* row = rows + static_cast<std::size_t>(sy) * layout.rowStride;
                for (std::int64_t sx = sx0; sx <= sx1; ++sx) {
                    const std::uint64_t weight = wy * overlap(sx, dx, w);
                    const unsigned char* p = row + sx * 3;
                    for (int c = 0; c < 3; ++c) sum[c] += weight * p[c];
                }
            }
            // Stored blue-green-red in the file; red-green-blue out.
            unsigned char* out = pixels + (dy * Edge + dx) * 3;
            for (int c = 0; c < 3; ++c)
                out[2 - c] = static_cast<unsigned char>((sum[c] + total / 2) / total);
        }
    }
    image.width = Edge;
    image.height = Edge;
    image.pixels = pixels;
    return true;
}

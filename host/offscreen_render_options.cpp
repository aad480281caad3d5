#include "host/offscreen_render_options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

RenderOptions failed(RenderOptions options, const char* format, const char* what) {
    options.ok = false;
    std::snprintf(options.error, sizeof options.error, format, what);
    return options;
}

// A whole decimal number from `low` to `high`, digits only (no sign, no
// spaces, no trailing text).
bool parseNumber(const char* text, std::uint64_t low, std::uint64_t high, std::uint64_t& value) {
    if (text == nullptr || *text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

// "WxH" with both sides from 1 to MaxRenderSize.
bool parseSize(const char* text, int& width, int& height) {
    const char* x = std::strchr(text, 'x');
    if (x == nullptr || x - text > 5) return false;
    char left[8] = {};
    std::memcpy(left, text, static_cast<std::size_t>(x - text));
    std::uint64_t w = 0, h = 0;
    if (!parseNumber(left, 1, MaxRenderSize, w) || !parseNumber(x + 1, 1, MaxRenderSize, h))
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

// "WxH+X+Y[,WxH+X+Y...]": up to MaxViews rectangles in the picture, offsets
// from 0 to MaxRenderSize.
bool parseMonitors(const char* text, RenderOptions& o) {
    o.monitorCount = 0;
    while (o.monitorCount < MaxViews) {
        const char* plusX = std::strchr(text, '+');
        const char* plusY = plusX ? std::strchr(plusX + 1, '+') : nullptr;
        if (plusY == nullptr || plusX - text > 11 || plusY - plusX > 6) return false;
        char size[12] = {}, left[6] = {};
        std::memcpy(size, text, static_cast<std::size_t>(plusX - text));
        std::memcpy(left, plusX + 1, static_cast<std::size_t>(plusY - plusX - 1));
        const char* comma = std::strchr(plusY + 1, ',');
        const std::size_t topLength = comma ? static_cast<std::size_t>(comma - plusY - 1)
                                            : std::strlen(plusY + 1);
        if (topLength > 5) return false;
        char top[6] = {};
        std::memcpy(top, plusY + 1, topLength);
        ViewRect& m = o.monitors[o.monitorCount++];
        std::uint64_t x = 0, y = 0;
        if (!parseSize(size, m.width, m.height) || !parseNumber(left, 0, MaxRenderSize, x) ||
            !parseNumber(top, 0, MaxRenderSize, y))
            return false;
        m.x = static_cast<int>(x);
        m.y = static_cast<int>(y);
        if (comma == nullptr) return true;
        text = comma + 1;
    }
    return false;  // more than MaxViews
}

}  // namespace

RenderOptions parseRenderOptions(int argc, const char* const* argv) {
    RenderOptions o{};
    o.ok = true;
    o.width = DefaultRenderWidth;
    o.height = DefaultRenderHeight;
    o.frames = DefaultRenderFrames;
    o.startTick = DefaultStartTick;
    o.startTime = DefaultStartTime;
    o.outPath = DefaultOutPath;
    o.every = 1;
    o.traceEvery = 1;
    bool everyGiven = false, traceEveryGiven = false;

    // --help wins wherever it stands, whatever else is on the line.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) o.help = true;
    if (o.help) return o;

    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        const bool known = std::strcmp(name, "--size") == 0 || std::strcmp(name, "--frames") == 0 ||
                           std::strcmp(name, "--start-tick") == 0 ||
                           std::strcmp(name, "--start-time") == 0 ||
                           std::strcmp(name, "--monitors") == 0 ||
                           std::strcmp(name, "--out") == 0 ||
                           std::strcmp(name, "--frames-dir") == 0 ||
                           std::strcmp(name, "--every") == 0 ||
                           std::strcmp(name, "--trace") == 0 ||
                           std::strcmp(name, "--trace-every") == 0;
        if (!known) return failed(o, "unknown option '%s'", name);
        if (i + 1 >= argc) return failed(o, "%s needs a value", name);
        const char* value = argv[++i];
        std::uint64_t n = 0;
        if (std::strcmp(name, "--size") == 0) {
            if (!parseSize(value, o.width, o.height))
                return failed(o, "--size wants WxH, each from 1 to 8192, not '%s'", value);
        } else if (std::strcmp(name, "--frames") == 0) {
            if (!parseNumber(value, 1, 100000000, n))
                return failed(o, "--frames wants 1 to 100000000, not '%s'", value);
            o.frames = static_cast<std::int32_t>(n);
        } else if (std::strcmp(name, "--start-tick") == 0) {
            if (!parseNumber(value, 0, 0xFFFFFFFFu, n))
                return failed(o, "--start-tick wants 0 to 4294967295, not '%s'", value);
            o.startTick = static_cast<std::uint32_t>(n);
        } else if (std::strcmp(name, "--monitors") == 0) {
            if (!parseMonitors(value, o))
                return failed(o, "--monitors wants WxH+X+Y[,WxH+X+Y...] (at most 16), not '%s'",
                              value);
        } else if (std::strcmp(name, "--start-time") == 0) {
            if (!parseNumber(value, 0, static_cast<std::uint64_t>(MaxStartTime), n))
                return failed(o, "--start-time wants 0 to 4611686018427387904, not '%s'", value);
            o.startTime = static_cast<std::int64_t>(n);
        } else if (std::strcmp(name, "--every") == 0 || std::strcmp(name, "--trace-every") == 0) {
            if (!parseNumber(value, 1, 100000000, n))
                return failed(o, "%s wants 1 to 100000000", name);
            if (std::strcmp(name, "--every") == 0) {
                o.every = static_cast<std::int32_t>(n);
                everyGiven = true;
            } else {
                o.traceEvery = static_cast<std::int32_t>(n);
                traceEveryGiven = true;
            }
        } else {
            if (*value == '\0') return failed(o, "%s wants a non-empty path", name);
            if (std::strcmp(name, "--out") == 0)
                o.outPath = value;
            else if (std::strcmp(name, "--frames-dir") == 0)
                o.framesDir = value;
            else
                o.tracePath = value;
        }
    }
    if (everyGiven && o.framesDir == nullptr) return failed(o, "%s", "--every needs --frames-dir");
    if (traceEveryGiven && o.tracePath == nullptr)
        return failed(o, "%s", "--trace-every needs --trace");
    return o;
}

const char* renderUsage() {
    return "usage: aquarium-render [options]\n"
           "  --size WxH         picture size in pixels (default 1280x720, at most 8192 a side)\n"
           "  --frames N         frames to draw, 10 ms of virtual time each, 1 to 100000000\n"
           "                     (default 3000)\n"
           "  --start-tick T     tick count at start, 0 to 4294967295; it decides every random\n"
           "                     draw (default 60000)\n"
           "  --start-time S     calendar seconds since 1970 at start, 0 to 2^62 (default\n"
           "                     1000000000); the camera counts only differences, so any\n"
           "                     start gives the same pictures (2038 included)\n"
           "  --monitors WxH+X+Y[,WxH+X+Y...]\n"
           "                     draw the picture as a saver spanning these monitors does:\n"
           "                     one view per monitor (rectangles in the picture, y down)\n"
           "  --out FILE.png     picture of the last frame (default aquarium.png)\n"
           "  --frames-dir DIR   also write DIR/frame-NNNNNN.png ...\n"
           "  --every K          ... every K frames, 1 to 100000000 (default 1)\n"
           "  --trace FILE.csv   write every fish's state after each frame ...\n"
           "  --trace-every K    ... every K frames, 1 to 100000000 (default 1)\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "Numbers are decimal. Each file is written under a temporary name and\n"
           "renamed only once whole. Exit status: 0 done, 1 a failure (the message\n"
           "says what), 2 a bad command line or two outputs naming one file.\n";
}

// Command line of the offscreen renderer, parsed into a record before any GL
// context exists.
#pragma once

#include "host/view_layout.h"

#include <cstdint>

constexpr int MaxRenderSize = 8192;  // pixels, either side

struct RenderOptions {
    bool ok;                 // false: `error` says why; the caller prints the usage
    bool help;               // --help: print the usage and stop
    char error[160];
    int width;               // pixels, 1 .. MaxRenderSize
    int height;
    std::int32_t frames;     // frames to draw, at least 1
    std::uint32_t startTick; // tick count at process start: decides every random draw
    std::int64_t startTime;  // calendar seconds since 1970 at the first frame
    const char* outPath;     // PNG of the last frame
    const char* framesDir;   // null, or a folder for a PNG every `every` frames
    std::int32_t every;
    const char* tracePath;   // null, or a CSV of every fish every `traceEvery` frames
    std::int32_t traceEvery;
    int monitorCount;        // 0: one view; else the picture spans these monitors
    ViewRect monitors[MaxViews];  // in the picture's pixels, y down
};

constexpr int DefaultRenderWidth = 1280;
constexpr int DefaultRenderHeight = 720;
constexpr std::int32_t DefaultRenderFrames = 3000;
constexpr std::uint32_t DefaultStartTick = 60000;  // a minute after the system started
constexpr std::int64_t DefaultStartTime = 1000000000;  // 2001-09-09 01:46:40 UTC
constexpr std::int64_t MaxStartTime = std::int64_t{1} << 62;  // leaves room to count on
constexpr const char* DefaultOutPath = "aquarium.png";

// Parses argv[1 .. argc - 1]. The strings in the result point into argv.
RenderOptions parseRenderOptions(int argc, const char* const* argv);

// One line per option, for stderr or stdout.
const char* renderUsage();

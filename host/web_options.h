// The web page's options, read from its address's query: pure, so it is
// tested natively like the savers' command lines.
//
//   (nothing)             the live aquarium on the browser's clock
//   tick=T&frames=N       a replay: N frames of 10 ms on a virtual clock whose
//                         tick count starts at T (0 to 4294967295), then it
//                         stops; the same frame as aquarium-render --start-tick
//                         T --frames N draws
//   time=S                with frames: the replay's calendar starts at S
//                         seconds (0 to 2^62; default 1000000000)
//   size=WxH              with frames: draw W x H pixels (1 to 8192 each), as
//                         aquarium-render --size, whatever the window's size
//   fps                   the frame rate and frame time in the top-left corner
//   bench=N               with the live aquarium: time each of the first N
//                         drawn frames to the end of its drawing (1 to 100000)
//                         and log the times
#pragma once

#include <cstdint>

constexpr std::int32_t MaxBenchFrames = 100000;

struct WebOptions {
    bool ok;             // false: `error` says why, and nothing runs
    bool replay;         // frames given
    std::int32_t frames;  // replay: frames to run, 1 to 100000000
    std::uint32_t startTick;
    std::int64_t startTime;
    int width, height;   // replay: the picture's size; 0 x 0 follows the window
    bool showFps;
    std::int32_t benchFrames;  // 0: no bench
    char error[96];
};

// `query` is the part after '?' (without it), possibly empty: name=value
// pairs joined by '&', each name at most once, numbers decimal only.
WebOptions parseWebOptions(const char* query);

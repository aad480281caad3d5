#include "host/fps_overlay.h"

#include <cstdio>

void addFrameTime(FrameTimeMeter& meter, std::int64_t start, std::int64_t end) {
    if (meter.frames == 0) {
        meter.windowStart = start;
        meter.busy = 0;
    }
    if (end > start) meter.busy += end - start;
    ++meter.frames;
    if (end - meter.windowStart < FrameTimeWindow) return;
    const std::int64_t mean = meter.busy / meter.frames;
    meter.shown = mean > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(mean);
    meter.frames = 0;
}

void formatFpsText(char* text, std::size_t size, std::int32_t framesPerSecond,
                   std::int32_t frameMicros) {
    if (size == 0) return;
    if (frameMicros < 0) {
        std::snprintf(text, size, "FPS: %d\nFrame: -- ms", static_cast<int>(framesPerSecond));
        return;
    }
    const std::int64_t tenths = (static_cast<std::int64_t>(frameMicros) + 50) / 100;
    std::snprintf(text, size, "FPS: %d\nFrame: %lld.%lld ms", static_cast<int>(framesPerSecond),
                  static_cast<long long>(tenths / 10), static_cast<long long>(tenths % 10));
}

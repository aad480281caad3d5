// libFuzzer target for aquarium-render's arguments, the input split into
// words at NUL bytes: an accepted line has every field in its range.

#include "host/offscreen_render_options.h"

#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> words;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1)
        words.push_back(input.substr(start, (end = input.find('\0', start)) - start));
    std::vector<const char*> argv{"aquarium-render"};
    for (const std::string& word : words) argv.push_back(word.c_str());

    const RenderOptions o = parseRenderOptions(static_cast<int>(argv.size()), argv.data());
    const auto outside = [](std::int64_t v, std::int64_t low, std::int64_t high) {
        return v < low || v > high;
    };
    if (!std::memchr(o.error, '\0', sizeof o.error) || o.ok != (o.error[0] == '\0')) __builtin_trap();
    if (!o.ok || o.help) return 0;
    if (outside(o.width, 1, MaxRenderSize) || outside(o.height, 1, MaxRenderSize) ||
        outside(o.frames, 1, 100000000) || outside(o.every, 1, 100000000) ||
        outside(o.traceEvery, 1, 100000000) || outside(o.startTime, 0, MaxStartTime) ||
        outside(o.monitorCount, 0, MaxViews) || !o.outPath || !o.outPath[0] ||
        (o.framesDir && !o.framesDir[0]) || (o.tracePath && !o.tracePath[0]))
        __builtin_trap();
    for (const ViewRect* m = o.monitors; m < o.monitors + o.monitorCount; ++m)
        if (outside(m->width, 1, MaxRenderSize) || outside(m->height, 1, MaxRenderSize) ||
            outside(m->x, 0, MaxRenderSize) || outside(m->y, 0, MaxRenderSize))
            __builtin_trap();
    return 0;
}

// Host contract on Linux with X11: a monotonic millisecond clock, messages on
// stderr. The bitmaps compiled into the program come from
// host/embedded_bitmaps.cpp; hostSwapBuffers lives with the GLX context
// (x11_gl_context.cpp).
#include "host/host.h"

#include <cstdio>
#include <ctime>

std::uint32_t hostTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                             static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);  // wraps modulo 2^32, like the Windows tick count
}

std::int64_t hostCalendarSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

void hostShowMessage(const char* caption, const char* text, MessageKind) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

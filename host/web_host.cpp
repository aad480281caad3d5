// Host backend in a web page: the browser's clocks (or a virtual one for
// replays), messages shown on the page and in the console.
#include "host/host.h"
#include "host/web_host.h"

#include <emscripten.h>

#include <cmath>

namespace {

bool virtualClock = false;
std::uint32_t virtualTick = 0;
std::int64_t calendarStart = 0;    // seconds when the virtual calendar was set
std::uint64_t virtualElapsed = 0;  // ms since then

}  // namespace

EM_JS(double, webCalendarMilliseconds, (), { return Date.now(); });

EM_JS(void, webShowMessage, (const char* caption, const char* text, int error), {
    const line = UTF8ToString(caption) + ": " + UTF8ToString(text);
    if (error) console.error(line); else console.info(line);
    const box = document.getElementById("message");
    if (box) {
        box.textContent = line;
        box.hidden = false;
    }
});

void useWebVirtualClock(std::uint32_t tick, std::int64_t calendarSeconds) {
    virtualClock = true;
    virtualTick = tick;
    calendarStart = calendarSeconds;
    virtualElapsed = 0;
}

void advanceWebVirtualClock(std::uint32_t milliseconds) {
    virtualTick += milliseconds;  // unsigned: wraps modulo 2^32
    virtualElapsed += milliseconds;
}

double webNow() { return emscripten_get_now(); }

// performance.now() counts from the page's start as a system's tick count
// counts from its boot, and wraps the same way when cut to 32 bits.
std::uint32_t hostTickCount() {
    if (virtualClock) return virtualTick;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(webNow()));
}

std::int64_t hostCalendarSeconds() {
    if (virtualClock) return calendarStart + static_cast<std::int64_t>(virtualElapsed / 1000);
    return static_cast<std::int64_t>(std::floor(webCalendarMilliseconds() / 1000.0));
}

void hostShowMessage(const char* caption, const char* text, MessageKind kind) {
    webShowMessage(caption, text, kind == MessageKind::Error ? 1 : 0);
}

// The browser shows the canvas as it stands when the animation-frame
// callback that drew it returns: there is nothing to swap.
void hostSwapBuffers() {}

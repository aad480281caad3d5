// The web backend's clock: the browser's own (performance.now() for the tick
// count, Date.now() for the calendar) or, for a replay, a virtual one that
// runs exactly as the offscreen backend's does.
#pragma once

#include <cstdint>

// From now on the tick count starts at `tick` and the calendar at
// `calendarSeconds`, and both move only by advanceWebVirtualClock.
void useWebVirtualClock(std::uint32_t tick, std::int64_t calendarSeconds);
void advanceWebVirtualClock(std::uint32_t milliseconds);

// Milliseconds since the page started loading (performance.now()), whatever
// clock the host contract reads.
double webNow();

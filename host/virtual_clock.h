// The virtual clock of the offscreen and test hosts.
//
// hostTickCount() returns the virtual tick; hostCalendarSeconds() counts whole
// seconds of virtual time elapsed since the clock was last set, on top of a
// fixed epoch, so a run is reproducible to the byte whatever the real clock says.
#pragma once

#include <cstdint>

// Sets the tick count (and restarts the calendar at its epoch).
void setVirtualTick(std::uint32_t tick);

// Moves virtual time forward; the tick wraps modulo 2^32.
void advanceVirtualClock(std::uint32_t milliseconds);

// The calendar second at which the virtual calendar starts.
constexpr std::int32_t VirtualCalendarEpoch = 1000000000;

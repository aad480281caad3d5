// The offscreen backend without its GL context: a virtual clock, messages
// recorded for tests and the offscreen renderer, and (linked with it) the
// bitmaps compiled into the program. It calls no OpenGL, so the core links
// with it alone (see core_links_without_gl); hostSwapBuffers lives with the
// context in host/offscreen_gl_context.cpp.
#pragma once

#include "host/host.h"

#include <cstdint>

// hostTickCount() returns the virtual tick; hostCalendarSeconds() counts whole
// seconds of virtual time elapsed since the calendar was last set, on top of
// the second it was set to, so a run is reproducible to the byte whatever the
// real clock says.

// Sets the tick count (and restarts the calendar at VirtualCalendarEpoch).
void setVirtualTick(std::uint32_t tick);

// Sets the calendar to `seconds` (since 1970) from now on; the tick count
// goes on as it was. Setting it back is how a clock set back looks.
void setVirtualCalendar(std::int64_t seconds);

// Moves virtual time forward; the tick wraps modulo 2^32.
void advanceVirtualClock(std::uint32_t milliseconds);

// The calendar second at which the virtual calendar starts by default.
constexpr std::int64_t VirtualCalendarEpoch = 1000000000;

constexpr int MaxRecordedMessages = 32;

struct RecordedMessage {
    char caption[64];
    char text[192];
    MessageKind kind;
};

// Messages shown through hostShowMessage, oldest first. Messages beyond
// MaxRecordedMessages are counted but not kept.
int recordedMessageCount();
const RecordedMessage& recordedMessage(int index);

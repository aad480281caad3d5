// Host backend with no display: virtual clock and recorded messages.
#include "host/offscreen_host.h"

#include <cstdio>

namespace {

std::uint32_t virtualTick = 0;
std::int64_t calendarStart = VirtualCalendarEpoch;  // seconds when the calendar was set
std::uint64_t virtualElapsed = 0;  // ms since the calendar was set

RecordedMessage messages[MaxRecordedMessages];
int messageCount = 0;

void copyText(char* to, std::size_t size, const char* from) {
    std::snprintf(to, size, "%s", from ? from : "");
}

}  // namespace

void setVirtualTick(std::uint32_t tick) {
    virtualTick = tick;
    setVirtualCalendar(VirtualCalendarEpoch);
}

void setVirtualCalendar(std::int64_t seconds) {
    calendarStart = seconds;
    virtualElapsed = 0;
}

void advanceVirtualClock(std::uint32_t milliseconds) {
    virtualTick += milliseconds;  // unsigned: wraps modulo 2^32
    virtualElapsed += milliseconds;
}

std::uint32_t hostTickCount() { return virtualTick; }

std::int64_t hostCalendarSeconds() {
    return calendarStart + static_cast<std::int64_t>(virtualElapsed / 1000);
}

void hostShowMessage(const char* caption, const char* text, MessageKind kind) {
    if (messageCount < MaxRecordedMessages) {
        RecordedMessage& m = messages[messageCount];
        copyText(m.caption, sizeof m.caption, caption);
        copyText(m.text, sizeof m.text, text);
        m.kind = kind;
    }
    ++messageCount;
}

int recordedMessageCount() { return messageCount; }

const RecordedMessage& recordedMessage(int index) { return messages[index]; }

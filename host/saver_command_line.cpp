#include "host/saver_command_line.h"

namespace {

// Decimal digits at `p`, or 0 when there are none or they overflow 64 bits
// (such a number names no window, so the caller ends at once).
std::uint64_t readHandle(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    std::uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        const std::uint64_t digit = static_cast<std::uint64_t>(*p - '0');
        if (value > (UINT64_MAX - digit) / 10) return 0;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

SaverCommand parseSaverCommandLine(const char* arguments) {
    if (arguments == nullptr) return SaverCommand{SaverMode::Configure, 0};
    for (const char* p = arguments; *p != '\0'; ++p) {
        switch (*p) {
            case 's': case 'S': return SaverCommand{SaverMode::FullScreen, 0};
            case 'c': case 'C': return SaverCommand{SaverMode::Configure, 0};
            case 'p': case 'P': return SaverCommand{SaverMode::Preview, readHandle(p + 1)};
            case 'a': case 'A': return SaverCommand{SaverMode::ChangePassword, readHandle(p + 1)};
            default: break;
        }
    }
    return SaverCommand{SaverMode::Configure, 0};
}

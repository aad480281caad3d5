#include "host/web_options.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint64_t MaxReplayFrames = 100000000;
constexpr std::uint64_t MaxPictureSize = 8192;  // aquarium-render's MaxRenderSize
constexpr std::uint64_t MaxReplayTime = std::uint64_t{1} << 62;
constexpr std::int64_t DefaultReplayTime = 1000000000;  // aquarium-render's --start-time

// Digits only, from `low` to `high`, of the `length` characters at `text`.
bool readNumber(const char* text, std::size_t length, std::uint64_t low, std::uint64_t high,
                std::uint64_t& value) {
    if (length == 0) return false;
    std::uint64_t n = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(text[i] - '0');
        if (n > (high - digit) / 10) return false;
        n = n * 10 + digit;
    }
    if (n < low) return false;
    value = n;
    return true;
}

// "WxH" of `length` characters, each side from 1 to MaxPictureSize.
bool readSize(const char* text, std::size_t length, int& width, int& height) {
    const char* x = static_cast<const char*>(std::memchr(text, 'x', length));
    if (x == nullptr) return false;
    const std::size_t left = static_cast<std::size_t>(x - text);
    std::uint64_t w = 0, h = 0;
    if (!readNumber(text, left, 1, MaxPictureSize, w) ||
        !readNumber(x + 1, length - left - 1, 1, MaxPictureSize, h))
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

WebOptions failed(WebOptions o, const char* what, const char* piece, std::size_t length) {
    o.ok = false;
    std::snprintf(o.error, sizeof o.error, "%s: '%.*s'", what, static_cast<int>(length), piece);
    return o;
}

}  // namespace

WebOptions parseWebOptions(const char* query) {
    WebOptions o{true, false, 0, 0, DefaultReplayTime, 0, 0, false, 0, ""};
    bool tickGiven = false, timeGiven = false, sizeGiven = false;
    const char* p = query;
    while (*p != '\0') {
        const char* end = std::strchr(p, '&');
        const std::size_t length =
            end != nullptr ? static_cast<std::size_t>(end - p) : std::strlen(p);
        const char* equals = static_cast<const char*>(std::memchr(p, '=', length));
        const std::size_t nameLength =
            equals != nullptr ? static_cast<std::size_t>(equals - p) : length;
        const char* value = equals != nullptr ? equals + 1 : p + length;
        const std::size_t valueLength = static_cast<std::size_t>(p + length - value);
        const auto is = [&](const char* name) {
            return std::strlen(name) == nameLength && std::strncmp(p, name, nameLength) == 0;
        };
        std::uint64_t n = 0;
        if (is("fps")) {
            if (equals != nullptr || o.showFps)
                return failed(o, "fps takes no value, once", p, length);
            o.showFps = true;
        } else if (equals == nullptr) {
            return failed(o, "not name=value", p, length);
        } else if (is("tick")) {
            if (tickGiven || !readNumber(value, valueLength, 0, 0xFFFFFFFFu, n))
                return failed(o, "tick wants 0 to 4294967295, once", p, length);
            o.startTick = static_cast<std::uint32_t>(n);
            tickGiven = true;
        } else if (is("frames")) {
            if (o.replay || !readNumber(value, valueLength, 1, MaxReplayFrames, n))
                return failed(o, "frames wants 1 to 100000000, once", p, length);
            o.frames = static_cast<std::int32_t>(n);
            o.replay = true;
        } else if (is("time")) {
            if (timeGiven || !readNumber(value, valueLength, 0, MaxReplayTime, n))
                return failed(o, "time wants 0 to 4611686018427387904, once", p, length);
            o.startTime = static_cast<std::int64_t>(n);
            timeGiven = true;
        } else if (is("size")) {
            if (sizeGiven || !readSize(value, valueLength, o.width, o.height))
                return failed(o, "size wants WxH, each from 1 to 8192, once", p, length);
            sizeGiven = true;
        } else if (is("bench")) {
            if (o.benchFrames != 0 ||
                !readNumber(value, valueLength, 1, static_cast<std::uint64_t>(MaxBenchFrames), n))
                return failed(o, "bench wants 1 to 100000, once", p, length);
            o.benchFrames = static_cast<std::int32_t>(n);
        } else {
            return failed(o, "unknown option", p, length);
        }
        p += length;
        if (*p == '&') ++p;
    }
    if ((tickGiven || timeGiven || sizeGiven) && !o.replay)
        return failed(o, "tick, time and size need frames", query, std::strlen(query));
    if (o.benchFrames != 0 && o.replay)
        return failed(o, "bench runs the live aquarium, not a replay", query, std::strlen(query));
    return o;
}

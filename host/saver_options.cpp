#include "host/saver_options.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t MaxSchemeLine = 1024;  // bytes of words left for the scan

SaverOptions failed(SaverOptions options, const char* format, const char* what) {
    options.ok = false;
    std::snprintf(options.error, sizeof options.error, format, what);
    return options;
}

// The option's name without its one or two dashes; null for a word that is
// not written as an option.
const char* optionName(const char* word) {
    if (word[0] != '-') return nullptr;
    return word[1] == '-' ? word + 2 : word + 1;
}

// Decimal, or hexadecimal after 0x; the whole text, no sign.
bool parseWindowId(const char* text, std::uint64_t& id) {
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (!std::isxdigit(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text, &end, base);
    if (errno != 0 || *end != '\0') return false;
    id = parsed;
    return true;
}

bool parseDelay(const char* text, std::int32_t& delay) {
    if (text[0] < '0' || text[0] > '9') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed > static_cast<unsigned long long>(MaxFrameDelay))
        return false;
    delay = static_cast<std::int32_t>(parsed);
    return true;
}

}  // namespace

SaverOptions parseSaverOptions(int argc, const char* const* argv, const char* saverWindowEnv) {
    SaverOptions o{};
    o.ok = true;
    o.target = SaverTarget::Framework;
    o.frameDelay = DefaultFrameDelay;
    bool root = false, desktop = false, windowIdGiven = false;
    char rest[MaxSchemeLine] = {};
    std::size_t used = 0;

    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        const char* name = optionName(word);
        if (name != nullptr && (std::strcmp(name, "help") == 0 || std::strcmp(word, "-h") == 0)) {
            o.help = true;
        } else if (name != nullptr && std::strcmp(name, "root") == 0) {
            root = true;
        } else if (name != nullptr && std::strcmp(name, "window") == 0) {
            desktop = true;
        } else if (name != nullptr &&
                   (std::strcmp(name, "window-id") == 0 || std::strcmp(name, "delay") == 0)) {
            if (i + 1 >= argc) return failed(o, "%s needs a value", word);
            const char* value = argv[++i];
            if (name[0] == 'w') {
                if (!parseWindowId(value, o.window))
                    return failed(o, "-window-id wants a window number (decimal or 0x hex), not '%s'",
                                  value);
                windowIdGiven = true;
            } else if (!parseDelay(value, o.frameDelay)) {
                return failed(o, "-delay wants microseconds from 0 to 10000000, not '%s'", value);
            }
        } else if (word[0] == '-' && word[1] == '-' && std::strlen(word) > 3) {
            return failed(o, "unknown option '%s'", word);
        } else {
            // Everything else is the screen-saver command line proper.
            const std::size_t length = std::strlen(word);
            if (used + length + 2 > MaxSchemeLine) return failed(o, "%s", "command line too long");
            if (used > 0) rest[used++] = ' ';
            std::memcpy(rest + used, word, length);
            used += length;
            rest[used] = '\0';
        }
    }

    const bool envWindow = saverWindowEnv != nullptr && saverWindowEnv[0] != '\0';
    if (windowIdGiven) {
        o.target = SaverTarget::ForeignWindow;
    } else if (desktop) {
        o.target = SaverTarget::DesktopWindow;
    } else if (envWindow) {
        if (!parseWindowId(saverWindowEnv, o.window))
            return failed(o, "XSCREENSAVER_WINDOW is not a window number: '%s'", saverWindowEnv);
        o.target = SaverTarget::ForeignWindow;
    } else if (root) {
        o.target = SaverTarget::RootWindow;
    } else {
        o.command = parseSaverCommandLine(rest);
    }
    return o;
}

const char* saverUsage() {
    return "usage: aquarium [/s | /p WINDOW | /c | /a] [options]\n"
           "  /s                 full screen until a key, a button or a move of the pointer\n"
           "  /p WINDOW          preview inside window WINDOW (decimal)\n"
           "  /c, no mode        configure: there is nothing to set; shows nothing\n"
           "  -window            an ordinary 1280x720 window (closed by a key or a button)\n"
           "  -root              draw into the root window, or into XSCREENSAVER_WINDOW\n"
           "  -window-id WINDOW  draw into WINDOW (decimal or 0x hex); input is left alone\n"
           "  -delay USEC        microseconds between frames (default 10000)\n"
           "  -help              print this text\n"
           "Options may also be written with two dashes (--root).\n";
}

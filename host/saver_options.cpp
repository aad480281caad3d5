#include "host/saver_options.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t MaxSchemeLine = 1024;  // bytes of screen-saver words for the scan

enum class Kind { Flag, Value };

struct OptionName {
    const char* name;
    Kind kind;
};

constexpr OptionName Options[] = {
    {"root", Kind::Flag},   {"window", Kind::Flag}, {"window-id", Kind::Value},
    {"delay", Kind::Value}, {"fps", Kind::Flag},    {"no-fps", Kind::Flag},
    {"help", Kind::Flag},   {"h", Kind::Flag},      {"version", Kind::Flag},
};

SaverOptions failed(SaverOptions options, SaverOptionsResult result, const char* format,
                    const char* what) {
    options.result = result;
    std::snprintf(options.error, sizeof options.error, format, what);
    return options;
}

// The option a dash word names (its one or two dashes and any "=value"
// dropped), or null.
const OptionName* findOption(const char* name, std::size_t length) {
    for (const OptionName& option : Options)
        if (std::strlen(option.name) == length && std::strncmp(option.name, name, length) == 0)
            return &option;
    return nullptr;
}

int digitValue(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The whole text as digits of `base`: at least one, no sign, no blanks, and
// no more than `limit`, checked before each step so that nothing wraps.
bool parseNumber(const char* text, int base, std::uint64_t limit, std::uint64_t& value) {
    if (*text == '\0') return false;
    std::uint64_t parsed = 0;
    for (; *text != '\0'; ++text) {
        const int digit = digitValue(*text, base);
        if (digit < 0) return false;
        const auto d = static_cast<std::uint64_t>(digit);
        if (parsed > (limit - d) / static_cast<std::uint64_t>(base)) return false;
        parsed = parsed * static_cast<std::uint64_t>(base) + d;
    }
    value = parsed;
    return true;
}

// Decimal, or hexadecimal after 0x; at most MaxWindowId.
bool parseWindowId(const char* text, std::uint64_t& id) {
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return parseNumber(text + 2, 16, MaxWindowId, id);
    return parseNumber(text, 10, MaxWindowId, id);
}

// One or more decimal digits and nothing else (of any length: the scan
// decides what a handle too large for a window means).
bool isDecimal(const char* text) {
    return *text != '\0' && std::strspn(text, "0123456789") == std::strlen(text);
}

// The mode letter of a screen-saver word ("s", "/S", "-p", "/c:1234"), or 0
// for any other word.
char modeLetter(const char* word) {
    if (word[0] == '/' || word[0] == '-') ++word;
    const char letter = word[0];
    if (letter == '\0' || std::strchr("sScCpPaA", letter) == nullptr) return 0;
    if (word[1] == '\0' || (word[1] == ':' && isDecimal(word + 2))) return letter;
    return 0;
}

// p, a or c with nothing after it: the next word may be its handle.
bool takesHandle(const char* word, char letter) {
    return std::strchr("pPaAcC", letter) != nullptr && word[std::strlen(word) - 1] == letter;
}

struct SchemeLine {
    char text[MaxSchemeLine];
    std::size_t used;
};

bool append(SchemeLine& line, const char* word) {
    const std::size_t length = std::strlen(word);
    if (line.used + length + 2 > MaxSchemeLine) return false;
    if (line.used > 0) line.text[line.used++] = ' ';
    std::memcpy(line.text + line.used, word, length + 1);
    line.used += length;
    return true;
}

}  // namespace

SaverOptions parseSaverOptions(int argc, const char* const* argv, const char* saverWindowEnv) {
    SaverOptions o{};
    o.result = SaverOptionsResult::Run;
    o.target = SaverTarget::Framework;
    o.frameDelay = DefaultFrameDelay;
    bool root = false, desktop = false, windowIdGiven = false;
    SchemeLine scheme{};

    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        const char letter = modeLetter(word);
        if (letter != 0) {
            if (!append(scheme, word) ||
                (takesHandle(word, letter) && i + 1 < argc && isDecimal(argv[i + 1]) &&
                 !append(scheme, argv[++i])))
                return failed(o, SaverOptionsResult::UsageError, "%s", "command line too long");
            continue;
        }
        if (word[0] != '-')
            return failed(o, SaverOptionsResult::UsageError, "unexpected word '%s'", word);

        const char* name = word[1] == '-' ? word + 2 : word + 1;
        const char* equals = std::strchr(name, '=');
        const std::size_t nameLength = equals ? static_cast<std::size_t>(equals - name)
                                              : std::strlen(name);
        const OptionName* option = findOption(name, nameLength);
        if (option == nullptr)
            return failed(o, SaverOptionsResult::UsageError, "unknown option '%s'", word);
        if (option->kind == Kind::Flag) {
            if (equals != nullptr)
                return failed(o, SaverOptionsResult::UsageError, "'%s': the option takes no value",
                              word);
            const char* flag = option->name;
            if (std::strcmp(flag, "help") == 0 || std::strcmp(flag, "h") == 0) {
                o.result = SaverOptionsResult::Help;
                return o;
            }
            if (std::strcmp(flag, "version") == 0) {
                o.result = SaverOptionsResult::Version;
                return o;
            }
            if (std::strcmp(flag, "root") == 0) root = true;
            if (std::strcmp(flag, "window") == 0) desktop = true;
            if (std::strcmp(flag, "fps") == 0) o.showFps = true;
            if (std::strcmp(flag, "no-fps") == 0) o.showFps = false;
            continue;
        }

        const char* value = equals != nullptr ? equals + 1 : nullptr;
        if (value == nullptr) {
            if (i + 1 >= argc)
                return failed(o, SaverOptionsResult::UsageError, "%s needs a value", word);
            value = argv[++i];
        }
        if (option->name[0] == 'w') {
            if (!parseWindowId(value, o.window))
                return failed(o, SaverOptionsResult::WindowError,
                              "-window-id wants a window number (decimal or 0x hex, at most "
                              "0xffffffff), not '%s'", value);
            windowIdGiven = true;
        } else {
            std::uint64_t delay = 0;
            if (!parseNumber(value, 10, MaxFrameDelay, delay))
                return failed(o, SaverOptionsResult::UsageError,
                              "-delay wants microseconds from 0 to 10000000, not '%s'", value);
            o.frameDelay = static_cast<std::int32_t>(delay);
        }
    }

    const bool envWindow = saverWindowEnv != nullptr && saverWindowEnv[0] != '\0';
    if (windowIdGiven) {
        o.target = SaverTarget::ForeignWindow;
    } else if (desktop) {
        o.target = SaverTarget::DesktopWindow;
    } else if (envWindow) {
        if (!parseWindowId(saverWindowEnv, o.window))
            return failed(o, SaverOptionsResult::WindowError,
                          "XSCREENSAVER_WINDOW is not a window number: '%s'", saverWindowEnv);
        o.target = SaverTarget::ForeignWindow;
    } else if (root) {
        o.target = SaverTarget::RootWindow;
    } else {
        o.command = parseSaverCommandLine(scheme.text);
        if (o.command.parentWindow > MaxWindowId) o.command.parentWindow = 0;
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
           "  -fps, -no-fps      show the frame rate and frame time, or not (default)\n"
           "  -help              print this text\n"
           "  -version           print the version\n"
           "Options may also be written with two dashes (--root), and values after\n"
           "'=' (--delay=20000). Mode letters may be upper case and written after '-'.\n";
}

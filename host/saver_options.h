// The X11 saver's command line, read word by word before anything is shown:
//
//   -root                 draw into the root window (or XSCREENSAVER_WINDOW)
//   -window-id ID         draw into window ID (decimal, or hex after 0x)
//   -window               an ordinary 1280x720 window, for trying the saver
//   -delay USEC           frame period in microseconds (default 10000)
//   -fps, -no-fps         show the frame rate in a corner, or not (default)
//   -help, -h             print the usage
//   -version              print the program's name and version
//
// Each may also be written with two dashes (--root, --delay 20000), as the
// xscreensaver daemon writes them, and an option with a value also as
// -name=value (--delay=20000). The screen-saver words are a mode letter s, p,
// c or a, in either case, alone or after one '/' or '-', with ":N" after it
// ("/s", "-S", "p", "/c:1234"); after p, a or c the next word may be a
// decimal handle ("/p 1234"). Only these words go, joined by spaces, to
// parseSaverCommandLine. Any other word is an error: a typing slip such as
// "-windows" or "-dealy" must never fall through to a mode letter it contains.
//
// The XSCREENSAVER_WINDOW environment value (the daemon's window) counts as
// -window-id unless -window-id or -window is given. Pure: no window is looked at.
#pragma once

#include "host/saver_command_line.h"

#include <cstdint>

enum class SaverTarget {
    Framework,      // what parseSaverCommandLine decided: full screen, preview, ...
    DesktopWindow,  // -window
    ForeignWindow,  // -window-id, XSCREENSAVER_WINDOW
    RootWindow,     // -root with no XSCREENSAVER_WINDOW
};

// What the caller does with the line. Words are read in order and the first
// that ends the reading (a help option or an error) decides.
enum class SaverOptionsResult {
    Run,
    Help,         // print the usage on stdout, exit 0
    Version,      // print the name and version on stdout, exit 0
    UsageError,   // `error` and the usage on stderr, exit 2
    WindowError,  // `error` on stderr, exit 1: a malformed window id
};

constexpr std::int32_t DefaultFrameDelay = 10000;   // microseconds: 10 ms a frame
constexpr std::int32_t MaxFrameDelay = 10000000;    // microseconds: 10 s
// X resource ids travel as 32 bits: a larger number would reach the server
// cut down to another window's id.
constexpr std::uint64_t MaxWindowId = 0xFFFFFFFFu;

struct SaverOptions {
    SaverOptionsResult result;
    char error[160];       // UsageError, WindowError: what was wrong
    SaverTarget target;
    SaverCommand command;  // Framework only: the scan of the screen-saver words;
                           // a handle above MaxWindowId reads as 0 (no window)
    std::uint64_t window;  // ForeignWindow only: the window to draw into, <= MaxWindowId
    std::int32_t frameDelay;  // microseconds between frames, 0 .. MaxFrameDelay
    bool showFps;          // -fps: the frame rate and frame time in a corner
};

// argv[1 .. argc - 1], and the XSCREENSAVER_WINDOW value (null when unset).
SaverOptions parseSaverOptions(int argc, const char* const* argv, const char* saverWindowEnv);

const char* saverUsage();

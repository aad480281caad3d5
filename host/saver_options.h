// The X11 saver's own options, read before the screen-saver command line so
// that no option is taken for a mode letter ("-delay" holds an 'a').
//
//   -root                 draw into the root window (or XSCREENSAVER_WINDOW)
//   -window-id ID         draw into window ID (decimal, or hex after 0x)
//   -window               an ordinary 1280x720 window, for trying the saver
//   -delay USEC           frame period in microseconds (default 10000)
//   -help, -h             print the usage
//
// Each may also be written with two dashes (--root, --delay 20000), as the
// xscreensaver daemon writes them. What is left goes, joined by spaces, to
// parseSaverCommandLine: "/s", "-s", "/p 1234", "/c". A word of two dashes
// and two or more letters that is none of the above is an error, so a typing
// slip never falls through to a mode letter it happens to contain.
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

constexpr std::int32_t DefaultFrameDelay = 10000;   // microseconds: 10 ms a frame
constexpr std::int32_t MaxFrameDelay = 10000000;    // microseconds: 10 s

struct SaverOptions {
    bool ok;               // false: `error` says why; the caller prints the usage
    bool help;
    char error[160];
    SaverTarget target;
    SaverCommand command;  // Framework only: the scan of what the options left
    std::uint64_t window;  // ForeignWindow only: the window to draw into
    std::int32_t frameDelay;  // microseconds between frames, 0 .. MaxFrameDelay
};

// argv[1 .. argc - 1], and the XSCREENSAVER_WINDOW value (null when unset).
SaverOptions parseSaverOptions(int argc, const char* const* argv, const char* saverWindowEnv);

const char* saverUsage();

// The saver's command line, read the way screen-saver hosts pass it: the
// first of the letters a, c, p or s (either case) picks the mode, and every
// other character before it (a slash, a minus sign) is skipped.
//
//   s          full screen until the user touches the mouse or the keyboard
//   p HANDLE   preview inside the parent window HANDLE (decimal)
//   c          configure: nothing to configure, so nothing is shown
//   a HANDLE   change the password (HANDLE is the dialog's owner)
//   (none)     configure
//
// Pure: no window is looked at here, so every case is testable anywhere.
#pragma once

#include <cstdint>

enum class SaverMode { FullScreen, Preview, Configure, ChangePassword };

struct SaverCommand {
    SaverMode mode;
    // Preview and ChangePassword: the decimal handle that follows the letter
    // after any blanks (spaces, tabs), or 0 when no digit follows ("/p:1234")
    // or the number does not fit 64 bits. 0 for the other modes.
    std::uint64_t parentWindow;
};

// Reads the arguments that follow the program's own path. A null pointer
// reads as an empty line.
SaverCommand parseSaverCommandLine(const char* arguments);

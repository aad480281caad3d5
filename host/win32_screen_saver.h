// The screen-saver framework on Windows: the entry point, the command line,
// the saver window and its class, the message loop and the rules that end
// the saver. The program supplies the three callbacks below.
#pragma once

#include <windows.h>

// The saver window's procedure. Every message it does not finish goes to
// DefScreenSaverProc, and so does WM_TIMER after a frame is drawn.
LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the saver's settings, owned by `owner` (the settings dialog that
// asked, or null), and returns once they are closed.
void configureSaver(HWND owner);

// Registers window classes the settings need; false stops the saver.
BOOL WINAPI RegisterDialogClasses(HANDLE instance);

// The framework's default handling: input and closing in full-screen mode,
// the system's default window procedure for the rest.
LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sent to the saver window to ask the password verifier; answered TRUE when
// the saver may close.
constexpr UINT VerifyPasswordMessage = 0x8000;

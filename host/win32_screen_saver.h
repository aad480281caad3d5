// The screen-saver framework on Windows: the entry point, the command line,
// the saver window and its class, the message loop and the rules that end
// the saver. The program supplies the three callbacks below.
#pragma once

#include <windows.h>

// The saver window's procedure. Every message it does not finish goes to
// DefScreenSaverProc, and so does WM_TIMER after a frame is drawn.
LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The configure dialog's procedure (there is no dialog to show).
BOOL CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Registers window classes the configure dialog needs; false stops the saver.
BOOL WINAPI RegisterDialogClasses(HANDLE instance);

// The framework's default handling: input and closing in full-screen mode,
// the system's default window procedure for the rest.
LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sent to the saver window to ask the password verifier; answered TRUE when
// the saver may close.
constexpr UINT VerifyPasswordMessage = 0x8000;

// The saver window's procedure: the GL surface at creation, one frame on
// every timer tick, everything released at destruction.
#include "host/frame_loop.h"
#include "host/win32_gl_context.h"
#include "host/win32_screen_saver.h"

namespace {

constexpr UINT_PTR FrameTimerId = 1;
constexpr UINT FrameTimerPeriod = 10;  // ms
constexpr int ColourBits = 16;

// The identifier SetTimer returned; 0 while no timer runs.
UINT_PTR frameTimer = 0;

}  // namespace

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // -1 makes the system abandon the window; the program then ends.
            if (!createGlContext(window, ColourBits)) return -1;
            frameTimer = SetTimer(window, FrameTimerId, FrameTimerPeriod, nullptr);
            return 0;
        case WM_TIMER:
            // Any timer draws: its identifier is not compared.
            renderFrame();
            SwapBuffers(deviceContext);
            break;
        case WM_DESTROY:
            if (frameTimer != 0) KillTimer(window, frameTimer);
            frameTimer = 0;
            destroyGlContext();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefScreenSaverProc(window, message, wParam, lParam);
}

// Nothing to configure.
BOOL CALLBACK ScreenSaverConfigureDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL WINAPI RegisterDialogClasses(HANDLE) { return TRUE; }

// Run under Wine: a stand-in for the settings dialog that previews a saver.
// It opens a window, starts "<saver> /p <its handle>", waits for the saver's
// child window, says "preview running" and waits until the file <go> exists
// (the test sends input meanwhile). Then the saver must still be running; the
// window is destroyed and the saver must end with status 0 within 30 s.
//   preview_parent <saver.scr> <go file>
// Exit: 0 as described; 2 usage or no window; 3 no preview appeared; 4 the
// preview ended early; 5 it outlived its parent; 6 no go file;
// otherwise the saver's status.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = DefWindowProcA;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    parentClass.lpszClassName = "PreviewParent";
    RegisterClassA(&parentClass);
    HWND parent = CreateWindowExA(0, "PreviewParent", "Preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  100, 100, 320, 240, nullptr, nullptr, parentClass.hInstance,
                                  nullptr);
    if (parent == nullptr) return 2;
    std::string command = std::string("\"") + argv[1] + "\" /p " +
                          std::to_string(reinterpret_cast<unsigned long long>(parent));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &saver))
        return 2;
    HWND preview = nullptr;
    for (int i = 0; i < 3000 && preview == nullptr; ++i) {
        pump(10);
        preview = FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", "SCREENSAVER");
    }
    if (preview == nullptr) return 3;
    std::printf("preview running\n");
    std::fflush(stdout);
    // Input the X server may not route to another process's child window,
    // sent straight to it: a preview ignores all of it.
    POINT cursor = {};
    GetCursorPos(&cursor);
    SetCursorPos(cursor.x + 7, cursor.y + 5);
    PostMessageA(preview, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageA(preview, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(preview, WM_ACTIVATE, WA_INACTIVE, 0);
    for (int i = 0; GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES; ++i)
        if (i == 1200) return 6;  // a minute without the go file
        else pump(50);
    // A period in which nothing may happen: a preview that the input closed
    // has usually ended by now. On a busy machine it may not have, so this
    // check can miss such a fault but never fails a sound saver.
    pump(300);
    if (WaitForSingleObject(saver.hProcess, 0) != WAIT_TIMEOUT) return 4;
    DestroyWindow(parent);
    // Generous: only the end counts, not how soon it comes.
    if (WaitForSingleObject(saver.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(saver.hProcess, 1);
        return 5;
    }
    DWORD status = 1;
    GetExitCodeProcess(saver.hProcess, &status);
    std::printf("preview ended with status %lu\n", status);
    return static_cast<int>(status);
}

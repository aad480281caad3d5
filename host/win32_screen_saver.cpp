// The screen-saver framework: WinMain, the four modes, the saver window and
// the closing rules. The decisions themselves (which mode, when to close) are
// portable and live in saver_command_line and saver_close_rules; this file
// turns window messages into their events and their answers into actions.
#include "host/win32_screen_saver.h"

#include "host/saver_close_rules.h"
#include "host/saver_command_line.h"

#include <cstdint>

namespace {

constexpr char SaverClassName[] = "WindowsScreenSaverClass";
constexpr char SaverWindowTitle[] = "SCREENSAVER";
constexpr int SaverIconResource = 100;   // asked for by name; the program carries none
constexpr DWORD OlderWindowsFamily = 1;  // VER_PLATFORM_WIN32_WINDOWS

using VerifyPasswordFunction = BOOL(WINAPI*)(HWND);
using ChangePasswordFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);

bool fullScreen = false;
SaverCloseState closeState = {};
HMODULE passwordLibrary = nullptr;
VerifyPasswordFunction verifyPassword = nullptr;

bool olderWindowsFamily() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == OlderWindowsFamily;
}

// The desktop's "ScreenSaveUsePassword" under Control Panel\Desktop, stored
// as a number or as a decimal string; non-zero means a password is asked.
bool desktopUsesPassword() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return false;
    char value[16] = {};
    DWORD type = 0;
    DWORD size = sizeof value - 1;
    bool inUse = false;
    if (RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, &type,
                         reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS) {
        if (type == REG_DWORD && size == sizeof(DWORD)) {
            DWORD number = 0;
            CopyMemory(&number, value, sizeof number);
            inUse = number != 0;
        } else if (type == REG_SZ) {
            inUse = value[0] != '\0' && !(value[0] == '0' && value[1] == '\0');
        }
    }
    RegCloseKey(key);
    return inUse;
}

// Only the older Windows family asks the saver to check a password; newer
// systems lock the session themselves.
void loadPasswordVerifier() {
    if (!olderWindowsFamily() || !desktopUsesPassword()) return;
    passwordLibrary = LoadLibraryA("PASSWORD.CPL");
    if (passwordLibrary == nullptr) return;
    verifyPassword = reinterpret_cast<VerifyPasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(passwordLibrary, "VerifyScreenSavePwd")));
    if (verifyPassword == nullptr) {
        FreeLibrary(passwordLibrary);
        passwordLibrary = nullptr;
    }
}

void changePassword(HWND owner) {
    if (!olderWindowsFamily()) return;
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (library == nullptr) return;
    const ChangePasswordFunction change = reinterpret_cast<ChangePasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (change != nullptr) change("SCRSAVE", owner, 0, nullptr);
    FreeLibrary(library);
}

POINT cursorPosition() {
    POINT p = {};
    GetCursorPos(&p);
    return p;
}

// Carries out what the closing rules decided.
LRESULT act(HWND window, SaverAction action) {
    switch (action) {
        case SaverAction::RequestClose:
            PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        case SaverAction::CheckPassword: {
            const bool accepted = SendMessageA(window, VerifyPasswordMessage, 0, 0) != 0;
            const POINT p = cursorPosition();
            return act(window, saverPasswordVerdict(closeState, accepted, p.x, p.y));
        }
        case SaverAction::Close:
            DestroyWindow(window);
            break;
        case SaverAction::Ignore:
            break;
    }
    return 0;
}

LRESULT pointerEvent(HWND window, SaverEvent event) {
    const POINT p = cursorPosition();
    return act(window, saverCloseEvent(closeState, event, p.x, p.y));
}

// The desktop across every monitor (its corner left of or above the primary
// monitor's is negative), in physical pixels: the program is DPI aware.
RECT virtualScreen() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool isSwallowedCommand(WPARAM command) {
    switch (command & 0xFFF0) {
        case SC_SCREENSAVE:
        case SC_CLOSE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
            return true;
        default:
            return false;
    }
}

// Sees every message before the program: records the pointer at creation,
// posts the quit message at destruction, stops frames once closing, and
// covers the desktop again when monitors come, go or change.
LRESULT CALLBACK framedSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            if (fullScreen) SetCursor(nullptr);
            const POINT p = cursorPosition();
            closeState = startSaverClose(fullScreen, verifyPassword != nullptr, p.x, p.y);
            break;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        case WM_DISPLAYCHANGE:
            if (fullScreen) {
                const RECT desktop = virtualScreen();
                SetWindowPos(window, HWND_TOPMOST, desktop.left, desktop.top,
                             desktop.right - desktop.left, desktop.bottom - desktop.top,
                             SWP_NOACTIVATE);
            }
            break;
        case WM_TIMER:
            if (!saverDrawsFrames(closeState)) return 0;
            break;
        case WM_ACTIVATE:
        case WM_ACTIVATEAPP:
        case WM_NCACTIVATE:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_PAINT:
            if (!saverDrawsFrames(closeState))
                return DefWindowProcA(window, message, wParam, lParam);
            break;
        default:
            break;
    }
    return saverWindowProc(window, message, wParam, lParam);
}

bool registerSaverClass(HINSTANCE instance) {
    WNDCLASSA saverClass = {};
    // Its own device context: a preview child must never set the pixel
    // format of the settings dialog that owns it.
    saverClass.style = CS_VREDRAW | CS_HREDRAW | CS_SAVEBITS | CS_OWNDC;
    saverClass.lpfnWndProc = framedSaverProc;
    saverClass.hInstance = instance;
    saverClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(SaverIconResource));
    saverClass.hCursor = nullptr;
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = SaverClassName;
    return RegisterClassA(&saverClass) != 0;
}

int runMessageLoop() {
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

// Runs the saver in a new window; 0 when the window cannot be created.
int runSaver(HINSTANCE instance, HWND parent) {
    if (!registerSaverClass(instance) || !RegisterDialogClasses(instance)) {
        MessageBoxA(nullptr, "RegisterClasses() failed", nullptr, MB_OK | MB_ICONHAND);
        return 0;
    }
    loadPasswordVerifier();
    HWND window = nullptr;
    if (parent != nullptr) {
        RECT client = {};
        GetClientRect(parent, &client);
        window = CreateWindowExA(0, SaverClassName, SaverWindowTitle, WS_CHILD | WS_VISIBLE, 0, 0,
                                 client.right - client.left, client.bottom - client.top, parent,
                                 nullptr, instance, nullptr);
    } else {
        const RECT desktop = virtualScreen();
        window = CreateWindowExA(WS_EX_TOPMOST, SaverClassName, SaverWindowTitle,
                                 WS_POPUP | WS_VISIBLE, desktop.left, desktop.top,
                                 desktop.right - desktop.left, desktop.bottom - desktop.top,
                                 nullptr, nullptr, instance, nullptr);
    }
    int exitCode = 0;
    if (window != nullptr) exitCode = runMessageLoop();
    if (passwordLibrary != nullptr) FreeLibrary(passwordLibrary);
    return exitCode;
}

// A decimal handle from the command line as a window, or null when it names
// none.
HWND existingWindow(std::uint64_t handle) {
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
    return handle != 0 && IsWindow(window) ? window : nullptr;
}

// The settings dialog's handle in "/c:HWND", the form the system passes, or
// 0 when there is none. The first c or C is the configure letter: the
// command line has already been read as configure.
std::uint64_t settingsDialogHandle(const char* arguments) {
    const char* p = arguments != nullptr ? arguments : "";
    while (*p != '\0' && *p != 'c' && *p != 'C') ++p;
    if (*p == '\0' || p[1] != ':') return 0;
    std::uint64_t value = 0;
    for (p += 2; *p >= '0' && *p <= '9'; ++p) {
        const std::uint64_t digit = static_cast<std::uint64_t>(*p - '0');
        if (value > (UINT64_MAX - digit) / 10) return 0;  // names no window
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == VerifyPasswordMessage)
        return verifyPassword != nullptr ? verifyPassword(window) : TRUE;
    if (message == WM_CLOSE) return pointerEvent(window, SaverEvent::CloseRequest);
    if (fullScreen && saverDrawsFrames(closeState)) {
        switch (message) {
            case WM_SETCURSOR:
                if (!saverHidesPointer(closeState)) break;
                SetCursor(nullptr);
                return TRUE;
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                return pointerEvent(window, SaverEvent::KeyPress);
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                return pointerEvent(window, SaverEvent::ButtonPress);
            case WM_MOUSEMOVE:
                return pointerEvent(window, SaverEvent::PointerMoved);
            case WM_ACTIVATE:
            case WM_ACTIVATEAPP:
            case WM_NCACTIVATE:
                if (wParam == 0) pointerEvent(window, SaverEvent::Deactivated);
                break;
            case WM_SYSCOMMAND:
                if (isSwallowedCommand(wParam)) return 0;
                break;
            default:
                break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const SaverCommand command = parseSaverCommandLine(commandLine);
    switch (command.mode) {
        case SaverMode::FullScreen: {
            fullScreen = true;
            const bool tellSystem = olderWindowsFamily();
            BOOL wasRunning = FALSE;
            if (tellSystem) SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &wasRunning, 0);
            const int exitCode = runSaver(instance, nullptr);
            if (tellSystem) SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &wasRunning, 0);
            return exitCode;
        }
        case SaverMode::Preview: {
            HWND parent = existingWindow(command.parentWindow);
            return parent != nullptr ? runSaver(instance, parent) : 0;
        }
        case SaverMode::ChangePassword: {
            HWND owner = existingWindow(command.parentWindow);
            changePassword(owner != nullptr ? owner : GetForegroundWindow());
            return 0;
        }
        case SaverMode::Configure:
            break;
    }
    if (!RegisterDialogClasses(instance)) {
        MessageBoxA(nullptr, "RegisterClasses() failed", nullptr, MB_OK | MB_ICONHAND);
        return 0;
    }
    HWND owner = existingWindow(settingsDialogHandle(commandLine));
    configureSaver(owner != nullptr ? owner : GetForegroundWindow());
    return 0;
}

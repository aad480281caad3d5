// The saver window's procedure: the GL surface at creation, one frame on
// every timer tick (one view per monitor when the window spans several), no
// frame and next to no work while nothing of the saver can be seen,
// everything released at destruction. And the settings, of which there are
// none.
#include "host/frame_loop.h"
#include "host/gl_state.h"
#include "host/view_layout.h"
#include "host/win32_gl_context.h"
#include "host/win32_screen_saver.h"

namespace {

constexpr UINT_PTR FrameTimerId = 1;
constexpr UINT FrameTimerPeriod = 10;    // ms
constexpr UINT HiddenWatchPeriod = 100;  // ms, while hidden or minimised
constexpr int ColourBits = 16;
constexpr UINT SaverNameString = 1;  // string resource: the name in the saver list
constexpr char NoSettingsText[] = "This screen saver has no options that you can set.";
constexpr DWORD DisplayOff = 0;  // GUID_CONSOLE_DISPLAY_STATE: 0 off, 1 on, 2 dimmed
constexpr int MaxMonitors = 64;  // read at most; layoutViews keeps at most MaxViews

// How often the timer ticks now, in ms; 0 while no timer runs.
UINT timerPeriod = 0;

// Where frames go: all of the window through renderFrame, the viewport set
// by resizeViewport to viewportWidth x viewportHeight (0 x 0 while views are
// drawn); or one view per monitor through renderViews.
bool wholeWindow = true;
ViewLayout views = {};
int viewportWidth = 0;
int viewportHeight = 0;

HPOWERNOTIFY displayNotice = nullptr;
bool displayOn = true;

struct MonitorList {
    int count;
    ViewRect rects[MaxMonitors];
};

BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    MonitorList& list = *reinterpret_cast<MonitorList*>(data);
    if (list.count == MaxMonitors) return FALSE;
    list.rects[list.count++] =
        ViewRect{rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top};
    return TRUE;
}

// Reads the monitors again and decides how frames are drawn. A preview is
// one view in its parent, wherever that lies; so is a window on one monitor.
void placeViews(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0) return;  // minimised: keep the last views
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const ViewRect area{origin.x, origin.y, client.right, client.bottom};
    MonitorList monitors = {};
    if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0)
        EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    views = layoutViews(monitors.rects, monitors.count, area);
    wholeWindow = isWholeWindow(views, area);
    if (!wholeWindow) {
        viewportWidth = viewportHeight = 0;
    } else if (area.width != viewportWidth || area.height != viewportHeight) {
        resizeViewport(area.width, area.height);
        viewportWidth = area.width;
        viewportHeight = area.height;
    }
}

// The timer's pace for what can be seen of the saver: a frame a tick while
// it shows; no timer while the display is off (dimmed still shows it), as
// the notice that it is on again restarts it; and a slow watch while the
// window or one it sits in is hidden or minimised, since a preview hears
// nothing when the window it sits in comes back. Frames are drawn only at
// the frame pace.
void paceTimer(HWND window) {
    UINT period = FrameTimerPeriod;
    if (!displayOn)
        period = 0;
    else if (!IsWindowVisible(window) || IsIconic(GetAncestor(window, GA_ROOT)))
        period = HiddenWatchPeriod;
    if (period == timerPeriod) return;
    if (period == 0)
        KillTimer(window, FrameTimerId);
    else if (SetTimer(window, FrameTimerId, period, nullptr) == 0)
        period = 0;
    timerPeriod = period;
}

// The display's state from a power-setting notice; anything else leaves it.
void readPowerSetting(const POWERBROADCAST_SETTING* setting) {
    if (setting == nullptr || !IsEqualGUID(setting->PowerSetting, GUID_CONSOLE_DISPLAY_STATE) ||
        setting->DataLength < sizeof(DWORD))
        return;
    DWORD state = 0;
    CopyMemory(&state, setting->Data, sizeof state);
    displayOn = state != DisplayOff;
}

}  // namespace

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            // -1 makes the system abandon the window; the program then ends.
            if (!createGlContext(window, ColourBits)) return -1;
            RECT client = {};
            GetClientRect(window, &client);  // what createGlContext set the viewport to
            viewportWidth = client.right;
            viewportHeight = client.bottom;
            placeViews(window);
            displayNotice = RegisterPowerSettingNotification(window, &GUID_CONSOLE_DISPLAY_STATE,
                                                             DEVICE_NOTIFY_WINDOW_HANDLE);
            // Not yet shown: the first tick finds the pace.
            if (SetTimer(window, FrameTimerId, FrameTimerPeriod, nullptr) != 0)
                timerPeriod = FrameTimerPeriod;
            return 0;
        }
        case WM_SIZE:
        case WM_DISPLAYCHANGE:
            placeViews(window);
            break;
        case WM_POWERBROADCAST:
            if (wParam != PBT_POWERSETTINGCHANGE) break;
            readPowerSetting(reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
            paceTimer(window);
            return TRUE;
        case WM_TIMER:
            // Any timer draws: its identifier is not compared.
            paceTimer(window);
            if (timerPeriod != FrameTimerPeriod) break;
            if (wholeWindow) renderFrame(); else renderViews(views);
            SwapBuffers(deviceContext);
            break;
        case WM_DESTROY:
            if (timerPeriod != 0) KillTimer(window, FrameTimerId);
            timerPeriod = 0;
            if (displayNotice != nullptr) UnregisterPowerSettingNotification(displayNotice);
            displayNotice = nullptr;
            destroyGlContext();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefScreenSaverProc(window, message, wParam, lParam);
}

void configureSaver(HWND owner) {
    char name[64] = {};
    LoadStringA(GetModuleHandleA(nullptr), SaverNameString, name, sizeof name);
    MessageBoxA(owner, NoSettingsText, name, MB_OK | MB_ICONINFORMATION);
}

BOOL WINAPI RegisterDialogClasses(HANDLE) { return TRUE; }

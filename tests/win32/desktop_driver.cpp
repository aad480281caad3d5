// Run under Wine: what the desktop does to a saver, where no X tool can.
//   desktop_driver settings <saver.scr>   stands in for the settings dialog: runs
//       "<saver> /c:<its window>", finds the message box the saver shows, checks
//       its owner, text and single OK button, presses OK. Exit 0, or 2 no window,
//       3 no box, 4 wrong owner, 5 wrong text, 6 not one OK button, 7 the saver
//       outlived its box; otherwise the saver's status.
//   desktop_driver display <0|1|2>        tells the running full-screen saver that
//       the display went off, on or dimmed, as the power manager does: the notice
//       written into the saver's memory, its address in the message. Exit 0, or 2
//       no saver, 3 no access, 4 not answered.
//   desktop_driver window <title> <SW_* number>   ShowWindow on a top-level window.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char NoSettingsText[] = "This screen saver has no options that you can set.";

struct BoxControls {
    bool textFound;
    int buttons;
    bool okFound;
};

BOOL CALLBACK readControl(HWND control, LPARAM data) {
    BoxControls& box = *reinterpret_cast<BoxControls*>(data);
    char name[16] = {}, text[128] = {};
    GetClassNameA(control, name, sizeof name);
    GetWindowTextA(control, text, sizeof text);
    box.textFound = box.textFound || std::strcmp(text, NoSettingsText) == 0;
    if (lstrcmpiA(name, "Button") == 0 && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE)) {
        ++box.buttons;
        box.okFound = box.okFound || GetDlgCtrlID(control) == IDOK;
    }
    return TRUE;
}

int checkBox(HWND box, HWND dialog) {
    if (box == nullptr) return 3;
    if (GetWindow(box, GW_OWNER) != dialog) return 4;
    BoxControls controls = {};
    EnumChildWindows(box, readControl, reinterpret_cast<LPARAM>(&controls));
    if (!controls.textFound) return 5;
    return controls.buttons == 1 && controls.okFound ? 0 : 6;
}

// Answers messages (the saver's box sends some to its owner) until `process`
// ends or `milliseconds` pass; true when it ended.
bool pumpUntilEnd(HANDLE process, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (MsgWaitForMultipleObjects(1, &process, FALSE, 10, QS_ALLINPUT) == WAIT_OBJECT_0)
            return true;
    }
    return false;
}

int settings(const char* saverPath) {
    HWND dialog = CreateWindowExA(0, "STATIC", "Settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                                  50, 300, 200, nullptr, nullptr, nullptr, nullptr);
    // Another window in front: the box must take its owner from the command line.
    HWND front = CreateWindowExA(0, "STATIC", "Front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 50,
                                 300, 200, nullptr, nullptr, nullptr, nullptr);
    if (dialog == nullptr || front == nullptr) return 2;
    SetForegroundWindow(front);
    std::string command = std::string("\"") + saverPath + "\" /c:" +
                          std::to_string(reinterpret_cast<unsigned long long>(dialog));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &saver))
        return 2;
    HWND box = nullptr;
    for (int i = 0; i < 300 && box == nullptr; ++i) {  // 30 s; the prefix is the test's own
        if (pumpUntilEnd(saver.hProcess, 100)) break;
        box = FindWindowA("#32770", "Aquarium");
        if (box != nullptr && !IsWindowVisible(box)) box = nullptr;  // still being filled
    }
    const int fault = checkBox(box, dialog);
    if (fault != 0) {
        TerminateProcess(saver.hProcess, 1);
        return fault;
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    if (!pumpUntilEnd(saver.hProcess, 20000)) {
        TerminateProcess(saver.hProcess, 1);
        return 7;
    }
    DWORD status = 1;
    GetExitCodeProcess(saver.hProcess, &status);
    return static_cast<int>(status);
}

int display(DWORD state) {
    HWND saver = FindWindowA("WindowsScreenSaverClass", "SCREENSAVER");
    DWORD processId = 0;
    if (saver == nullptr || GetWindowThreadProcessId(saver, &processId) == 0) return 2;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return 3;
    unsigned char notice[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(notice);
    setting->PowerSetting = GUID_CONSOLE_DISPLAY_STATE;
    setting->DataLength = sizeof state;
    std::memcpy(setting->Data, &state, sizeof state);
    void* copy = VirtualAllocEx(process, nullptr, sizeof notice, MEM_COMMIT, PAGE_READWRITE);
    if (copy == nullptr || !WriteProcessMemory(process, copy, notice, sizeof notice, nullptr))
        return 3;
    const LRESULT answer = SendMessageA(saver, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                                        reinterpret_cast<LPARAM>(copy));
    VirtualFreeEx(process, copy, 0, MEM_RELEASE);
    return answer == TRUE ? 0 : 4;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string action = argc > 1 ? argv[1] : "";
    if (action == "settings" && argc == 3) return settings(argv[2]);
    if (action == "display" && argc == 3) return display(std::strtoul(argv[2], nullptr, 10));
    if (action == "window" && argc == 4) {
        HWND window = FindWindowA(nullptr, argv[2]);
        if (window == nullptr) return 2;
        ShowWindow(window, std::atoi(argv[3]));
        return 0;
    }
    return 1;
}

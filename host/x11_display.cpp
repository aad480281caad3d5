#include "host/x11_display.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/dpms.h>

namespace {

int readRandrMonitors(Display* display, ViewRect* monitors, int capacity) {
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &event, &error) ||
        !XRRQueryVersion(display, &major, &minor) || major * 100 + minor < 105)
        return 0;
    int count = 0;
    XRRMonitorInfo* info = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    if (info == nullptr) return 0;
    int written = 0;
    for (int i = 0; i < count && written < capacity && count > 1; ++i)
        monitors[written++] = ViewRect{info[i].x, info[i].y, info[i].width, info[i].height};
    XRRFreeMonitors(info);
    return written;
}

int readXineramaHeads(Display* display, ViewRect* monitors, int capacity) {
    int event = 0, error = 0;
    if (!XineramaQueryExtension(display, &event, &error) || !XineramaIsActive(display)) return 0;
    int count = 0;
    XineramaScreenInfo* heads = XineramaQueryScreens(display, &count);
    if (heads == nullptr) return 0;
    int written = 0;
    for (int i = 0; i < count && written < capacity && count > 1; ++i)
        monitors[written++] =
            ViewRect{heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height};
    XFree(heads);
    return written;
}

}  // namespace

int readMonitors(Display* display, ViewRect* monitors, int capacity) {
    const int fromRandr = readRandrMonitors(display, monitors, capacity);
    return fromRandr > 0 ? fromRandr : readXineramaHeads(display, monitors, capacity);
}

bool displayPoweredOff(Display* display) {
    int event = 0, error = 0;
    if (!DPMSQueryExtension(display, &event, &error) || !DPMSCapable(display)) return false;
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    return DPMSInfo(display, &level, &enabled) && enabled && level != DPMSModeOn;
}

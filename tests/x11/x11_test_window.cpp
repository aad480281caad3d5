// Test helper for the saver's end-to-end tests.
//   x11-test-window parent X Y WIDTH HEIGHT   maps a plain window named
//       "aquarium-test-parent" that ignores input, prints its id, and keeps it
//       until the process is ended (which destroys the window)
//   x11-test-window delete WINDOW             asks WINDOW to close the way a
//       window manager's close button does (WM_DELETE_WINDOW)
//   x11-test-window grab [hold]               tries to grab the pointer and the
//       keyboard, prints "pointer=taken|refused keyboard=taken|refused", and
//       with `hold` keeps what it took until the process is ended
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int makeParent(Display* display, char** geometry) {
    const int x = std::atoi(geometry[0]), y = std::atoi(geometry[1]);
    const unsigned width = std::strtoul(geometry[2], nullptr, 10);
    const unsigned height = std::strtoul(geometry[3], nullptr, 10);
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, width,
                                              height, 0, 0, 0x404040);
    XStoreName(display, window, "aquarium-test-parent");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XEvent event;
    do XNextEvent(display, &event);
    while (event.type != MapNotify);
    std::printf("%lu\n", window);
    std::fflush(stdout);
    for (;;) XNextEvent(display, &event);
}

int askToClose(Display* display, const char* id) {
    const Window window = std::strtoul(id, nullptr, 0);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return sent != 0 ? 0 : 1;
}

int grab(Display* display, bool hold) {
    const Window root = DefaultRootWindow(display);
    const int pointer = XGrabPointer(display, root, False, ButtonPressMask, GrabModeAsync,
                                     GrabModeAsync, None, None, CurrentTime);
    const int keyboard =
        XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    std::printf("pointer=%s keyboard=%s\n", pointer == GrabSuccess ? "taken" : "refused",
                keyboard == GrabSuccess ? "taken" : "refused");
    std::fflush(stdout);
    for (XEvent event; hold;) XNextEvent(display, &event);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    if (argc == 6 && std::strcmp(argv[1], "parent") == 0) return makeParent(display, argv + 2);
    if (argc == 3 && std::strcmp(argv[1], "delete") == 0) return askToClose(display, argv[2]);
    if (argc > 1 && argc < 4 && !std::strcmp(argv[1], "grab")) return grab(display, argc == 3);
    std::fputs("usage: x11-test-window parent X Y WIDTH HEIGHT | delete WINDOW | grab [hold]\n",
               stderr);
    return 2;
}

// aquarium: the saver on X11. Full screen (/s) until the user touches the
// keyboard or the mouse, a preview inside a parent window (/p WINDOW), an
// ordinary desktop window (-window), or drawn into a window the screen-saver
// daemon owns (-root, -window-id, XSCREENSAVER_WINDOW), which leaves input to
// the daemon. Frames come from the event loop every -delay microseconds; the
// process ends with 0 on a normal close, on SIGTERM and on SIGINT, with 1 when
// it cannot draw where it was told to, and with 2 on a bad command line.
#include "host/saver_close_rules.h"

// Xlib defines KeyPress and ButtonPress as macros: name the events first.
namespace {
constexpr SaverEvent KeyEvent = SaverEvent::KeyPress;
constexpr SaverEvent ButtonEvent = SaverEvent::ButtonPress;
}  // namespace

#include "host/frame_loop.h"
#include "host/gl_state.h"
#include "host/host.h"
#include "host/saver_options.h"
#include "host/x11_display.h"
#include "host/x11_fps_overlay.h"
#include "host/x11_gl_context.h"

#include "aquarium_version.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>  // xcb_poll_for_reply
#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int ColourBits = 16;
constexpr int DesktopWidth = 1280;
constexpr int DesktopHeight = 720;
constexpr std::int64_t PowerCheckPeriod = 1000000;  // microseconds between looks at DPMS

enum class Presentation { FullScreen, Preview, Desktop, Foreign };

// A grab of the keyboard or the pointer, asked for without waiting: the
// request goes out through XCB and its reply is collected once it is in.
struct Grab {
    bool held;
    bool waiting;           // a request is out and unanswered
    unsigned int sequence;  // of that request
};

struct Saver {
    Display* display;
    Presentation presentation;
    Window window;         // where the frames go
    Window parent;         // Preview: the parent window it follows
    bool ownsWindow;       // created here, destroyed here
    Cursor hiddenCursor;
    Atom deleteWindow;     // WM_DELETE_WINDOW
    bool mapped;
    Grab keyboard, pointer;  // FullScreen only
    // At rest, nothing is drawn: the window is unmapped or wholly covered, or
    // the display is switched off (asked about once a second).
    bool unmapped, obscured, displayOff;
    std::int64_t nextPowerCheck;  // loop clock, microseconds
    ViewLayout views;             // FullScreen: one view per monitor
    bool severalViews;            // false: the whole window is the one view
    bool showFps;
    FrameTimeMeter frameTimes;
    int width, height;
    SaverCloseState close;
};

Saver saver;

volatile std::sig_atomic_t signalled = 0;
int wakePipe[2] = {-1, -1};

void onSignal(int) {
    signalled = 1;
    const int saved = errno;
    const char byte = 1;
    if (write(wakePipe[1], &byte, 1) < 0) {
        // The pipe is full: the loop is woken already.
    }
    errno = saved;
}

bool installSignals() {
    if (pipe(wakePipe) != 0) return false;
    for (int fd : wakePipe) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

std::int64_t nowMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// True when `window` exists; asks the server and waits for the answer.
bool windowExists(Display* display, Window window, XWindowAttributes& attributes) {
    return window != 0 && XGetWindowAttributes(display, window, &attributes) != 0;
}

void pointerPosition(int& x, int& y) {
    Window root = 0, child = 0;
    int windowX = 0, windowY = 0;
    unsigned int buttons = 0;
    x = 0;
    y = 0;
    XQueryPointer(saver.display, DefaultRootWindow(saver.display), &root, &child, &x, &y, &windowX,
                  &windowY, &buttons);
}

Cursor makeHiddenCursor(Display* display, Window window) {
    const char empty[1] = {0};
    const Pixmap pixmap = XCreateBitmapFromData(display, window, empty, 1, 1);
    XColor black{};
    const Cursor cursor = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(display, pixmap);
    return cursor;
}

// A window of the saver's own with the visual the GL context will want (or
// the parent's visual when none fits, so that the context reports the failure).
Window createOwnWindow(Window parent, int x, int y, int width, int height, unsigned long extraMask,
                       XSetWindowAttributes& attributes) {
    Display* display = saver.display;
    const int screen = DefaultScreen(display);
    Visual* visual = CopyFromParent;
    int depth = CopyFromParent;
    unsigned long mask = extraMask | CWEventMask | CWBackPixel | CWBorderPixel;
    const GLXFBConfig config = chooseSaverConfig(display, screen, 0, ColourBits);
    if (config != nullptr) {
        if (XVisualInfo* info = glXGetVisualFromFBConfig(display, config)) {
            visual = info->visual;
            depth = info->depth;
            attributes.colormap = XCreateColormap(display, parent, visual, AllocNone);
            mask |= CWColormap;
            XFree(info);
        }
    }
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.border_pixel = 0;
    return XCreateWindow(display, parent, x, y, static_cast<unsigned>(width),
                         static_cast<unsigned>(height), 0, depth, InputOutput, visual, mask,
                         &attributes);
}

// Full screen spans every monitor of the screen; each gets a view of its own.
void layOutMonitors() {
    ViewRect monitors[MaxViews];
    const int count = readMonitors(saver.display, monitors, MaxViews);
    const ViewRect window{0, 0, saver.width, saver.height};
    saver.views = layoutViews(monitors, count, window);
    saver.severalViews = !isWholeWindow(saver.views, window);
}

void createFullScreenWindow() {
    Display* display = saver.display;
    const int screen = DefaultScreen(display);
    saver.width = DisplayWidth(display, screen);
    saver.height = DisplayHeight(display, screen);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.event_mask = KeyPressMask | ButtonPressMask | PointerMotionMask |
                            StructureNotifyMask | FocusChangeMask | ExposureMask |
                            VisibilityChangeMask;
    saver.window = createOwnWindow(RootWindow(display, screen), 0, 0, saver.width, saver.height,
                                   CWOverrideRedirect, attributes);
    layOutMonitors();
    saver.hiddenCursor = makeHiddenCursor(display, saver.window);
    XDefineCursor(display, saver.window, saver.hiddenCursor);
    XStoreName(display, saver.window, "Aquarium");
    int x = 0, y = 0;
    pointerPosition(x, y);
    saver.close = startSaverClose(true, false, x, y);
}

void createDesktopWindow() {
    Display* display = saver.display;
    saver.width = DesktopWidth;
    saver.height = DesktopHeight;
    XSetWindowAttributes attributes{};
    attributes.event_mask =
        KeyPressMask | ButtonPressMask | StructureNotifyMask | ExposureMask | VisibilityChangeMask;
    saver.window = createOwnWindow(DefaultRootWindow(display), 0, 0, saver.width, saver.height, 0,
                                   attributes);
    XStoreName(display, saver.window, "Aquarium");
    XClassHint hint{const_cast<char*>("aquarium"), const_cast<char*>("Aquarium")};
    XSetClassHint(display, saver.window, &hint);
    saver.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, saver.window, &saver.deleteWindow, 1);
    // Input closes it, but a move of the pointer is never reported.
    saver.close = startSaverClose(true, false, 0, 0);
}

void createPreviewWindow(const XWindowAttributes& parent) {
    saver.width = parent.width;
    saver.height = parent.height;
    XSetWindowAttributes attributes{};
    attributes.event_mask = StructureNotifyMask | ExposureMask | VisibilityChangeMask;
    saver.window = createOwnWindow(saver.parent, 0, 0, saver.width, saver.height, 0, attributes);
    XSelectInput(saver.display, saver.parent, StructureNotifyMask);
    saver.close = startSaverClose(false, false, 0, 0);
}

void useForeignWindow(const XWindowAttributes& target) {
    saver.width = target.width;
    saver.height = target.height;
    // Only what the daemon leaves to others: input stays with its owner.
    XSelectInput(saver.display, saver.window,
                 StructureNotifyMask | ExposureMask | VisibilityChangeMask);
    saver.close = startSaverClose(false, false, 0, 0);
}

void sendGrab(Grab& grab, bool keyboard) {
    xcb_connection_t* connection = XGetXCBConnection(saver.display);
    const auto window = static_cast<xcb_window_t>(saver.window);
    if (keyboard) {
        grab.sequence = xcb_grab_keyboard(connection, 1, window, XCB_CURRENT_TIME,
                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)
                            .sequence;
    } else {
        // Every pointer event to the saver's window, the pointer free to go
        // anywhere, and no cursor to be seen wherever it goes.
        const auto events = static_cast<std::uint16_t>(XCB_EVENT_MASK_BUTTON_PRESS |
                                                       XCB_EVENT_MASK_POINTER_MOTION);
        grab.sequence = xcb_grab_pointer(connection, 0, window, events, XCB_GRAB_MODE_ASYNC,
                                         XCB_GRAB_MODE_ASYNC, XCB_NONE,
                                         static_cast<xcb_cursor_t>(saver.hiddenCursor),
                                         XCB_CURRENT_TIME)
                            .sequence;
    }
    grab.waiting = true;
    xcb_flush(connection);
}

// Reads the answer to the last request if it is in; asks again where the
// last one was refused (another client holds the device, or the window is
// not viewable yet). Never waits for the server.
void advanceGrab(Grab& grab, bool keyboard) {
    if (grab.held) return;
    if (grab.waiting) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (xcb_poll_for_reply(XGetXCBConnection(saver.display), grab.sequence, &reply, &error) ==
            0)
            return;
        grab.waiting = false;
        // Both replies carry the status in the same place.
        const auto* answer = static_cast<xcb_grab_keyboard_reply_t*>(reply);
        grab.held = answer != nullptr && answer->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
        std::free(error);
        if (grab.held) return;
    }
    sendGrab(grab, keyboard);
}

void advanceGrabs() {
    if (saver.presentation != Presentation::FullScreen || !saver.mapped) return;
    advanceGrab(saver.keyboard, true);
    advanceGrab(saver.pointer, false);
}

// Feeds one event to the closing rules; true once closing is decided.
bool closeEvent(SaverEvent event, int x, int y) {
    SaverAction action = saverCloseEvent(saver.close, event, x, y);
    if (action == SaverAction::RequestClose)
        action = saverCloseEvent(saver.close, SaverEvent::CloseRequest, x, y);
    return action == SaverAction::Close;
}

void resizeTo(int width, int height) {
    if (width == saver.width && height == saver.height) return;
    saver.width = width;
    saver.height = height;
    resizeViewport(width, height);
    if (saver.presentation == Presentation::FullScreen) layOutMonitors();
}

// True once closing is decided.
bool handleEvent(const XEvent& event) {
    const Window window = event.xany.window;
    switch (event.type) {
        case KeyPress:
            return closeEvent(KeyEvent, 0, 0);
        case ButtonPress:
            if (event.xbutton.button >= Button1 && event.xbutton.button <= Button3)
                return closeEvent(ButtonEvent, 0, 0);
            return false;
        case MotionNotify:
            return closeEvent(SaverEvent::PointerMoved, event.xmotion.x_root, event.xmotion.y_root);
        case FocusOut: {
            // Someone took the keyboard: count it as a move, and grab again.
            if (event.xfocus.mode == NotifyUngrab || event.xfocus.detail == NotifyInferior ||
                event.xfocus.detail == NotifyPointer)
                return false;
            saver.keyboard.held = false;
            int x = 0, y = 0;
            pointerPosition(x, y);
            return closeEvent(SaverEvent::Deactivated, x, y);
        }
        case MapNotify:
            if (window == saver.window) {
                saver.mapped = true;
                saver.unmapped = false;
                advanceGrabs();
            }
            return false;
        case UnmapNotify:
            if (window == saver.window) saver.unmapped = true;
            return false;
        case VisibilityNotify:
            if (window == saver.window)
                saver.obscured = event.xvisibility.state == VisibilityFullyObscured;
            return false;
        case ConfigureNotify:
            if (window == saver.window) {
                resizeTo(event.xconfigure.width, event.xconfigure.height);
            } else if (window == saver.parent) {
                XResizeWindow(saver.display, saver.window,
                              static_cast<unsigned>(event.xconfigure.width),
                              static_cast<unsigned>(event.xconfigure.height));
            }
            return false;
        case DestroyNotify:
            if (event.xdestroywindow.window == saver.window) saver.ownsWindow = false;
            if (event.xdestroywindow.window == saver.window ||
                event.xdestroywindow.window == saver.parent)
                return closeEvent(SaverEvent::CloseRequest, 0, 0);
            return false;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) == saver.deleteWindow &&
                saver.deleteWindow != None)
                return closeEvent(SaverEvent::CloseRequest, 0, 0);
            return false;
        default:
            return false;
    }
}

void drainWakePipe() {
    char bytes[64];
    while (read(wakePipe[0], bytes, sizeof bytes) > 0) {
    }
}

// The frame timer: draws a frame whenever one is due, handles every queued
// event before it waits, and waits in poll() until the next frame is due or
// the server or a signal says something. Returns when closing is decided.
void runFrames(std::int64_t framePeriod) {
    Display* display = saver.display;
    std::int64_t nextFrame = nowMicroseconds() + framePeriod;
    pollfd waits[2] = {{ConnectionNumber(display), POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (handleEvent(event)) return;
        }
        if (signalled != 0 && closeEvent(SaverEvent::CloseRequest, 0, 0)) return;
        std::int64_t now = nowMicroseconds();
        if (now >= saver.nextPowerCheck) {
            saver.displayOff = displayPoweredOff(display);
            saver.nextPowerCheck = now + PowerCheckPeriod;
        }
        const bool resting = saver.unmapped || saver.obscured || saver.displayOff;
        if (now >= nextFrame && saverDrawsFrames(saver.close) && !resting) {
            advanceGrabs();
            const std::int64_t drawStart = nowMicroseconds();
            if (saver.severalViews) renderViews(saver.views); else renderFrame();
            // The rate in the first view's corner (the viewport a frame leaves).
            if (saver.showFps)
                drawFpsOverlay(frameRateMeter().framesPerSecond, saver.frameTimes.shown,
                               saver.severalViews ? saver.views.views[0].width : saver.width,
                               saver.severalViews ? saver.views.views[0].height : saver.height);
            hostSwapBuffers();
            now = nowMicroseconds();
            addFrameTime(saver.frameTimes, drawStart, now);
            // Like a window timer, a late frame is not made up for.
            nextFrame += framePeriod;
            if (nextFrame < now) nextFrame = now;
            continue;  // the swap may have queued events: read them first
        }
        XFlush(display);
        // At rest, only an event (the window seen again) or the next look at
        // the display's power wakes the loop; a frame is then drawn at once.
        const std::int64_t wait = ((resting ? saver.nextPowerCheck : nextFrame) - now + 999) / 1000;
        if (poll(waits, 2, static_cast<int>(wait)) > 0 && (waits[1].revents & POLLIN) != 0)
            drainWakePipe();
    }
}

void teardown() {
    destroyFpsFont();
    destroyGlContext();
    if (saver.ownsWindow) XDestroyWindow(saver.display, saver.window);
    if (saver.hiddenCursor != 0) XFreeCursor(saver.display, saver.hiddenCursor);
    XCloseDisplay(saver.display);
}

int runSaver(const SaverOptions& options) {
    if (!installSignals()) {
        std::perror("aquarium: signals");
        return 1;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr, "aquarium: can't open display '%s'\n", name ? name : "");
        return 1;
    }
    installX11ErrorHandler();
    saver.display = display;

    XWindowAttributes target{};
    if (options.target == SaverTarget::DesktopWindow) {
        saver.presentation = Presentation::Desktop;
        createDesktopWindow();
    } else if (options.target == SaverTarget::Framework &&
               options.command.mode == SaverMode::FullScreen) {
        saver.presentation = Presentation::FullScreen;
        createFullScreenWindow();
    } else if (options.target == SaverTarget::Framework) {  // preview
        saver.presentation = Presentation::Preview;
        saver.parent = static_cast<Window>(options.command.parentWindow);
        if (!windowExists(display, saver.parent, target)) {
            XCloseDisplay(display);
            return 0;
        }
        createPreviewWindow(target);
    } else {
        saver.presentation = Presentation::Foreign;
        saver.window = options.target == SaverTarget::RootWindow
                           ? DefaultRootWindow(display)
                           : static_cast<Window>(options.window);
        if (!windowExists(display, saver.window, target)) {
            std::fprintf(stderr, "aquarium: there is no window 0x%lx\n", saver.window);
            XCloseDisplay(display);
            return 1;
        }
        useForeignWindow(target);
    }
    saver.ownsWindow = saver.presentation != Presentation::Foreign;

    // Window creation: the context and the whole scene, before anything is shown.
    if (!createGlContext(display, saver.window, ColourBits)) {
        teardown();
        return 1;
    }
    saver.showFps = options.showFps && createFpsFont(display);
    saver.frameTimes = InitialFrameTimeMeter;
    if (saver.ownsWindow) XMapRaised(display, saver.window);
    runFrames(options.frameDelay);
    teardown();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The GL library allocates and frees a few megabytes every frame. Keep
    // that memory in the heap instead of giving it back to the system and
    // faulting it in again on the next frame.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    const SaverOptions options = parseSaverOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"));
    if (options.result == SaverOptionsResult::Help ||
        options.result == SaverOptionsResult::Version) {
        const char* text = options.result == SaverOptionsResult::Help
                               ? saverUsage()
                               : "aquarium " AQUARIUM_VERSION "\n";
        if (std::fputs(text, stdout) == EOF || std::fflush(stdout) != 0) {
            std::perror("aquarium: cannot write to standard output");
            return 1;
        }
        return 0;
    }
    if (options.result == SaverOptionsResult::UsageError) {
        std::fprintf(stderr, "aquarium: %s\n%s", options.error, saverUsage());
        return 2;
    }
    if (options.result == SaverOptionsResult::WindowError) {
        std::fprintf(stderr, "aquarium: %s\n", options.error);
        return 1;
    }
    if (options.target == SaverTarget::Framework) {
        // Configure has nothing to set, and on X11 there is no saver password
        // to change; a preview without a parent has nowhere to go.
        const SaverMode mode = options.command.mode;
        if (mode == SaverMode::Configure || mode == SaverMode::ChangePassword) return 0;
        if (mode == SaverMode::Preview && options.command.parentWindow == 0) return 0;
    }
    return runSaver(options);
}

// LD_PRELOAD library for tools/bench-startup.sh: timestamps the steps of a GL
// program's start, from its libraries loaded to its first frame presented,
// without changing what the program does (each wrapper only reads the clock
// and calls the real function). GLX and EGL programs alike: "GLX" below
// stands for either. When the second glXSwapBuffers (or eglSwapBuffers)
// returns, it writes one line per step to the file named by
// BENCH_STARTUP_FILE, "name nanoseconds cpu-nanoseconds": CLOCK_REALTIME, so
// the script can set them against the time it started the program, and the
// calling thread's CPU time (the two totals at the end have none). It writes
// under a temporary name renamed into place, so the file appears whole or not
// at all. A step that never happened is left out.
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/select.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

enum Step {
    Loaded,         // this library's constructor: every library mapped and relocated
    MainEntered,    // the program's main() called
    DisplayOpen,    // XOpenDisplay called
    DisplayOpened,  // XOpenDisplay returned
    GlxFirst,       // the first GLX call (the GL driver is loaded behind it)
    GlxFirstReturned,
    ContextCreated, // glXCreateNewContext / glXCreateContext returned
    ContextCurrent, // the first glXMakeContextCurrent / glXMakeCurrent returned
    TextureFirst,   // the first glTexImage2D called
    TextureLast,    // the last glTexImage2D before the first glBegin returned
    BeginFirst,     // the first glBegin called
    SwapFirst,      // the first buffer swap called
    SwapReturned,   // the first buffer swap returned
    BeginSecond,    // the first glBegin after that
    SwapSecond,     // the second buffer swap called
    SwapSecondReturned,
    DlopenTotal,    // not times: nanoseconds spent in dlopen after main(),
    WaitTotal,      // and waiting in poll or select from the context made
                    // current to the first glBegin
    StepCount
};

const char* const StepNames[StepCount] = {
    "loaded",          "main",        "display_open",  "display_opened", "glx_first", "glx_first_returned",
    "context_created", "context_current", "texture_first", "texture_last", "begin_first",
    "swap_first",      "swap_returned", "begin_second", "swap_second", "swap_second_returned",
    "dlopen_ns",       "wait_ns"};

std::uint64_t steps[StepCount];
std::uint64_t stepCpu[StepCount];  // the thread's CPU nanoseconds at each step
bool written = false;
int dlopenDepth = 0;

std::uint64_t now() {
    timespec clock{};
    clock_gettime(CLOCK_REALTIME, &clock);
    return static_cast<std::uint64_t>(clock.tv_sec) * 1000000000u +
           static_cast<std::uint64_t>(clock.tv_nsec);
}

std::uint64_t threadCpu() {
    timespec clock{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &clock);
    return static_cast<std::uint64_t>(clock.tv_sec) * 1000000000u +
           static_cast<std::uint64_t>(clock.tv_nsec);
}

void stamp(Step step) {
    steps[step] = now();
    stepCpu[step] = threadCpu();
}

void markOnce(Step step) {
    if (steps[step] == 0) stamp(step);
}

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void writeSteps() {
    if (written) return;
    written = true;
    const char* path = std::getenv("BENCH_STARTUP_FILE");
    if (path == nullptr) return;
    char temporary[4096];
    if (std::snprintf(temporary, sizeof temporary, "%s.part", path) >= int(sizeof temporary))
        return;
    const int fd = open(temporary, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    char text[2048];
    int length = 0;
    for (int i = 0; i < StepCount; ++i) {
        if (steps[i] == 0 && i < DlopenTotal) continue;
        length += std::snprintf(text + length, sizeof text - length, "%s %llu %llu\n",
                                StepNames[i], static_cast<unsigned long long>(steps[i]),
                                static_cast<unsigned long long>(stepCpu[i]));
    }
    const bool whole = write(fd, text, length) == length;
    if (close(fd) == 0 && whole) rename(temporary, path);
    else unlink(temporary);
}

void beforeSwap() {
    if (steps[SwapFirst] == 0) stamp(SwapFirst);
    else markOnce(SwapSecond);
}

// The file is written once the second frame is presented, so that the
// first frame's one-off costs can be told from a frame's ordinary cost.
void afterSwap() {
    if (steps[SwapReturned] == 0) {
        stamp(SwapReturned);
    } else if (steps[SwapSecondReturned] == 0) {
        stamp(SwapSecondReturned);
        writeSteps();
    }
}

bool waitCounts() { return steps[ContextCurrent] != 0 && steps[BeginFirst] == 0; }

__attribute__((constructor)) void librariesLoaded() { markOnce(Loaded); }

int (*realMain)(int, char**, char**) = nullptr;

int timedMain(int argc, char** argv, char** environment) {
    markOnce(MainEntered);
    return realMain(argc, argv, environment);
}

}  // namespace

extern "C" {

int __libc_start_main(int (*main)(int, char**, char**), int argc, char** argv, void (*init)(),
                      void (*fini)(), void (*rtldFini)(), void* stackEnd) {
    auto real = next<int (*)(int (*)(int, char**, char**), int, char**, void (*)(), void (*)(),
                             void (*)(), void*)>("__libc_start_main");
    realMain = main;
    return real(timedMain, argc, argv, init, fini, rtldFini, stackEnd);
}

void* dlopen(const char* file, int mode) {
    static auto real = next<void* (*)(const char*, int)>("dlopen");
    const bool timed = steps[MainEntered] != 0 && dlopenDepth == 0;
    const std::uint64_t start = timed ? now() : 0;
    ++dlopenDepth;
    void* handle = real(file, mode);
    --dlopenDepth;
    if (timed) steps[DlopenTotal] += now() - start;
    return handle;
}

int poll(pollfd* fds, nfds_t count, int timeout) {
    static auto real = next<int (*)(pollfd*, nfds_t, int)>("poll");
    if (!waitCounts()) return real(fds, count, timeout);
    const std::uint64_t start = now();
    const int ready = real(fds, count, timeout);
    steps[WaitTotal] += now() - start;
    return ready;
}

int select(int count, fd_set* readable, fd_set* writable, fd_set* failed, timeval* timeout) {
    static auto real = next<int (*)(int, fd_set*, fd_set*, fd_set*, timeval*)>("select");
    if (!waitCounts()) return real(count, readable, writable, failed, timeout);
    const std::uint64_t start = now();
    const int ready = real(count, readable, writable, failed, timeout);
    steps[WaitTotal] += now() - start;
    return ready;
}

void* XOpenDisplay(const char* name) {
    static auto real = next<void* (*)(const char*)>("XOpenDisplay");
    markOnce(DisplayOpen);
    void* display = real(name);
    markOnce(DisplayOpened);
    return display;
}

void* glXChooseFBConfig(void* display, int screen, const int* attributes, int* count) {
    static auto real = next<void* (*)(void*, int, const int*, int*)>("glXChooseFBConfig");
    markOnce(GlxFirst);
    void* configs = real(display, screen, attributes, count);
    markOnce(GlxFirstReturned);
    return configs;
}

void* glXGetFBConfigs(void* display, int screen, int* count) {
    static auto real = next<void* (*)(void*, int, int*)>("glXGetFBConfigs");
    markOnce(GlxFirst);
    void* configs = real(display, screen, count);
    markOnce(GlxFirstReturned);
    return configs;
}

void* glXChooseVisual(void* display, int screen, int* attributes) {
    static auto real = next<void* (*)(void*, int, int*)>("glXChooseVisual");
    markOnce(GlxFirst);
    void* visual = real(display, screen, attributes);
    markOnce(GlxFirstReturned);
    return visual;
}

int glXQueryExtension(void* display, int* errorBase, int* eventBase) {
    static auto real = next<int (*)(void*, int*, int*)>("glXQueryExtension");
    markOnce(GlxFirst);
    const int present = real(display, errorBase, eventBase);
    markOnce(GlxFirstReturned);
    return present;
}

void* glXCreateNewContext(void* display, void* config, int type, void* share, int direct) {
    static auto real = next<void* (*)(void*, void*, int, void*, int)>("glXCreateNewContext");
    markOnce(GlxFirst);
    markOnce(GlxFirstReturned);
    void* context = real(display, config, type, share, direct);
    markOnce(ContextCreated);
    return context;
}

void* glXCreateContext(void* display, void* visual, void* share, int direct) {
    static auto real = next<void* (*)(void*, void*, void*, int)>("glXCreateContext");
    markOnce(GlxFirst);
    markOnce(GlxFirstReturned);
    void* context = real(display, visual, share, direct);
    markOnce(ContextCreated);
    return context;
}

int glXMakeContextCurrent(void* display, unsigned long draw, unsigned long read, void* context) {
    static auto real =
        next<int (*)(void*, unsigned long, unsigned long, void*)>("glXMakeContextCurrent");
    const int made = real(display, draw, read, context);
    if (context != nullptr) markOnce(ContextCurrent);
    return made;
}

int glXMakeCurrent(void* display, unsigned long drawable, void* context) {
    static auto real = next<int (*)(void*, unsigned long, void*)>("glXMakeCurrent");
    const int made = real(display, drawable, context);
    if (context != nullptr) markOnce(ContextCurrent);
    return made;
}

unsigned eglInitialize(void* display, int* major, int* minor) {
    static auto real = next<unsigned (*)(void*, int*, int*)>("eglInitialize");
    markOnce(GlxFirst);
    const unsigned initialised = real(display, major, minor);
    markOnce(GlxFirstReturned);
    return initialised;
}

void* eglGetDisplay(void* native) {
    static auto real = next<void* (*)(void*)>("eglGetDisplay");
    markOnce(GlxFirst);
    return real(native);
}

void* eglGetPlatformDisplay(unsigned platform, void* native, const std::intptr_t* attributes) {
    static auto real =
        next<void* (*)(unsigned, void*, const std::intptr_t*)>("eglGetPlatformDisplay");
    markOnce(GlxFirst);
    return real(platform, native, attributes);
}

void* eglCreateContext(void* display, void* config, void* share, const int* attributes) {
    static auto real = next<void* (*)(void*, void*, void*, const int*)>("eglCreateContext");
    markOnce(GlxFirst);
    markOnce(GlxFirstReturned);
    void* context = real(display, config, share, attributes);
    markOnce(ContextCreated);
    return context;
}

unsigned eglMakeCurrent(void* display, void* draw, void* read, void* context) {
    static auto real = next<unsigned (*)(void*, void*, void*, void*)>("eglMakeCurrent");
    const unsigned made = real(display, draw, read, context);
    if (context != nullptr) markOnce(ContextCurrent);
    return made;
}

void glTexImage2D(unsigned target, int level, int internalFormat, int width, int height,
                  int border, unsigned format, unsigned type, const void* pixels) {
    static auto real = next<void (*)(unsigned, int, int, int, int, int, unsigned, unsigned,
                                     const void*)>("glTexImage2D");
    markOnce(TextureFirst);
    real(target, level, internalFormat, width, height, border, format, type, pixels);
    if (steps[BeginFirst] == 0) stamp(TextureLast);
}

void glBegin(unsigned mode) {
    static auto real = next<void (*)(unsigned)>("glBegin");
    if (steps[SwapReturned] != 0) markOnce(BeginSecond);
    markOnce(BeginFirst);
    real(mode);
}

void glXSwapBuffers(void* display, unsigned long drawable) {
    static auto real = next<void (*)(void*, unsigned long)>("glXSwapBuffers");
    beforeSwap();
    real(display, drawable);
    afterSwap();
}

unsigned eglSwapBuffers(void* display, void* surface) {
    static auto real = next<unsigned (*)(void*, void*)>("eglSwapBuffers");
    beforeSwap();
    const unsigned swapped = real(display, surface);
    afterSwap();
    return swapped;
}

}  // extern "C"

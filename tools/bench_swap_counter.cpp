// LD_PRELOAD library for tools/bench-saver.sh: counts the frames a GL program
// presents, through glXSwapBuffers or eglSwapBuffers, into the file named by
// BENCH_SWAP_FILE (two 64-bit words, shared with the script while it runs:
// the count and the CLOCK_REALTIME nanoseconds of the first swap). A shared
// mapping, so the numbers survive a program that a signal ends.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace {

volatile std::uint64_t* counters = nullptr;

void countSwap() {
    if (counters == nullptr) {
        const char* path = std::getenv("BENCH_SWAP_FILE");
        if (path == nullptr) return;
        const int fd = open(path, O_RDWR);
        if (fd < 0) return;
        void* mapped = mmap(nullptr, 16, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        if (mapped == MAP_FAILED) return;
        counters = static_cast<volatile std::uint64_t*>(mapped);
    }
    if (counters[0] == 0) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        counters[1] = static_cast<std::uint64_t>(now.tv_sec) * 1000000000u +
                      static_cast<std::uint64_t>(now.tv_nsec);
    }
    counters[0] = counters[0] + 1;
}

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

void glXSwapBuffers(void* display, unsigned long drawable) {
    static auto real = next<void (*)(void*, unsigned long)>("glXSwapBuffers");
    countSwap();
    real(display, drawable);
}

unsigned eglSwapBuffers(void* display, void* surface) {
    static auto real = next<unsigned (*)(void*, void*)>("eglSwapBuffers");
    countSwap();
    return real(display, surface);
}

}  // extern "C"

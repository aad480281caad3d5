#include "io/cli.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

bool helpRequested(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    return false;
}

bool versionRequested(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) return true;
    return false;
}

bool parseDecimal(const char* text, std::uint64_t low, std::uint64_t high, std::uint64_t& value) {
    if (text == nullptr || *text == '\0') return false;
    std::uint64_t n = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') return false;
        const unsigned digit = static_cast<unsigned>(*c - '0');
        if (n > (UINT64_MAX - digit) / 10) return false;  // would overflow
        n = n * 10 + digit;
    }
    if (n < low || n > high) return false;
    value = n;
    return true;
}

int printToStdout(const char* program, const char* text) {
    std::fputs(text, stdout);
    return finishStdout(program);
}

int finishStdout(const char* program) {
    errno = 0;
    std::cout.flush();  // with synced streams this flushes stdout too
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0 && std::cout.good()) return 0;
    std::fprintf(stderr, "%s: cannot write to standard output: %s\n", program,
                 std::strerror(errno != 0 ? errno : EIO));
    return 1;
}

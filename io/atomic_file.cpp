#include "io/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The mode fopen would give a new file: 0666 less the umask.
mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Temporary files now open, removed should the program be interrupted (a long
// render stopped with Ctrl-C), so none is left behind in the folder.
constexpr int MaxOpenTemporaries = 8;
const char* volatile openTemporaries[MaxOpenTemporaries];

void removeTemporariesAndStop(int signal) {
    for (const char* volatile& name : openTemporaries)
        if (name != nullptr) unlink(name);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void track(const std::string& temp) {
    static bool handled = false;
    if (!handled) {
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            if (std::signal(signal, SIG_IGN) != SIG_IGN) std::signal(signal, removeTemporariesAndStop);
        handled = true;
    }
    for (const char* volatile& name : openTemporaries)
        if (name == nullptr) {
            name = temp.c_str();
            return;
        }
}

void untrack(const std::string& temp) {
    for (const char* volatile& name : openTemporaries)
        if (name == temp.c_str()) name = nullptr;
}

}  // namespace

bool openAtomicFile(AtomicFile& f, const std::string& path) {
    f.path = path;
    f.tempPath.clear();
    f.file = nullptr;
    struct stat info;
    mode_t mode = newFileMode();
    if (stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            errno = EISDIR;
            return false;
        }
        if (!S_ISREG(info.st_mode)) {  // a device or a pipe: there is nothing to replace
            f.file = std::fopen(path.c_str(), "wb");
            return f.file != nullptr;
        }
        mode = info.st_mode & 07777;  // a replaced file keeps its permissions
    }
    // A short fixed name, so that a final name near the length limit still
    // leaves room for it.
    std::string temp = folderOf(path) + "/.aquarium-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    f.tempPath = temp;
    track(f.tempPath);
    if (fchmod(fd, mode) != 0 || (f.file = fdopen(fd, "wb")) == nullptr) {
        const int error = errno;
        close(fd);
        std::remove(temp.c_str());
        untrack(f.tempPath);
        f.tempPath.clear();
        errno = error;
        return false;
    }
    return true;
}

bool commitAtomicFile(AtomicFile& f) {
    if (f.file == nullptr) {
        errno = EBADF;
        return false;
    }
    errno = 0;
    bool ok = std::fflush(f.file) == 0 && std::ferror(f.file) == 0;
    if (ok && !f.tempPath.empty()) ok = fsync(fileno(f.file)) == 0;
    int error = ok ? 0 : (errno != 0 ? errno : EIO);
    if (std::fclose(f.file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    f.file = nullptr;
    if (ok && !f.tempPath.empty() && std::rename(f.tempPath.c_str(), f.path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok && !f.tempPath.empty()) std::remove(f.tempPath.c_str());
    untrack(f.tempPath);
    f.tempPath.clear();
    errno = error;
    return ok;
}

void discardAtomicFile(AtomicFile& f) {
    const int error = errno;
    if (f.file != nullptr) std::fclose(f.file);
    f.file = nullptr;
    if (!f.tempPath.empty()) std::remove(f.tempPath.c_str());
    untrack(f.tempPath);
    f.tempPath.clear();
    errno = error;
}

void reportWriteError(const char* program, const std::string& path) {
    std::fprintf(stderr, "%s: cannot write %s: %s\n", program, path.c_str(),
                 std::strerror(errno != 0 ? errno : EIO));
}

std::string resolvedPath(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    if (char* real = realpath(trimmed.c_str(), nullptr)) {
        std::string result = real;
        std::free(real);
        return result;
    }
    const std::size_t slash = trimmed.find_last_of('/');
    const std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    const std::string folder = folderOf(trimmed);
    if (folder == trimmed) return trimmed;  // "/" or "." that does not resolve
    const std::string base = resolvedPath(folder);
    return (base == "/" ? "" : base) + "/" + name;
}

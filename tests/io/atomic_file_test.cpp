// Faults injected under an open temporary file: its descriptor swapped for
// one whose writes fail (/dev/full) or that cannot be synced (a pipe), or a
// folder put at the final name, which no file can be renamed over.
#include "io/atomic_file.h"

#include "tests/support/mesh_fixtures.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

struct Fault {
    const char* name;
    void (*inject)(AtomicFile&);
    int error;          // errno after the commit; 0 when it succeeds
    const char* after;  // what the final name then holds, null for the folder
};

void swapDescriptor(AtomicFile& f, int fd) { dup2(fd, fileno(f.file)), close(fd); }

class AtomicFileCommit : public testing::TestWithParam<Fault> {};

}  // namespace

// The final name holds "old", mode 0604, when "new" is written over it.
TEST_P(AtomicFileCommit, ReplacesTheWholeFileKeepingItsModeOrLeavesItAndNoTemporaryFile) {
    const Fault& fault = GetParam();
    const std::string dir = tempPath(fault.name), path = dir + "/final";
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    std::ofstream(path) << "old";
    ASSERT_EQ(chmod(path.c_str(), 0604), 0);
    AtomicFile f;
    ASSERT_TRUE(openAtomicFile(f, path));
    std::fputs("new", f.file);
    fault.inject(f);
    EXPECT_EQ(commitAtomicFile(f), fault.error == 0);
    EXPECT_EQ(errno, fault.error);
    EXPECT_EQ(folderListing(dir), "final");
    if (fault.after == nullptr) return;
    struct stat info {};
    EXPECT_EQ(slurp(path), fault.after);
    EXPECT_TRUE(stat(path.c_str(), &info) == 0 && (info.st_mode & 07777) == 0604);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, AtomicFileCommit,
    testing::Values(
        Fault{"None", [](AtomicFile&) {}, 0, "new"},
        Fault{"FlushFails", [](AtomicFile& f) { swapDescriptor(f, open("/dev/full", O_WRONLY)); },
              ENOSPC, "old"},
        // The pipe's read end stays open, so writing to it succeeds.
        Fault{"SyncFails", [](auto& f) { int p[2]; if (pipe(p) == 0) swapDescriptor(f, p[1]); },
              EINVAL, "old"},
        Fault{"RenameFails", [](auto& f) { remove(f.path.c_str()), mkdir(f.path.c_str(), 0700); },
              EISDIR, nullptr}),
    [](const testing::TestParamInfo<Fault>& p) { return std::string(p.param.name); });

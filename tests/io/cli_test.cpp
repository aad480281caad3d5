#include "io/cli.h"

#include "tests/support/mesh_fixtures.h"

#include <fcntl.h>

// A write lost while standard output was full is a failure, also once the
// output takes data again.
TEST(StandardOutput, AWriteLostEarlierIsReportedAfterTheOutputRecovers) {
    std::fflush(stdout);
    const int out = dup(1), full = open("/dev/full", O_WRONLY), null = open("/dev/null", O_WRONLY);
    dup2(full, 1);
    std::fputs("lost\n", stdout);  // as printf loses it: a flush fails, nothing else is told
    const int lost = std::fflush(stdout);
    dup2(null, 1);
    const int status = finishStdout("cli_test");
    dup2(out, 1);
    std::clearerr(stdout);
    for (const int fd : {out, full, null}) close(fd);
    EXPECT_TRUE(lost == EOF && status == 1);
}

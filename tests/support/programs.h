// The one runner of the built programs, through the shell as a user runs them.
#pragma once

#include "tests/support/mesh_fixtures.h"

#include <sys/wait.h>

#include <cstdio>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct ProgramRun {
    int status;  // exit status; -1 when the program did not exit normally
    std::string out, err;
};

// Runs shell text `command` (a pipeline may follow the program), capturing its
// standard output and, in this test's own folder, its standard error.
inline ProgramRun runProgram(const std::string& command) {
    const std::string errPath = tempPath("stderr");
    ProgramRun run{-1, "", ""};
    FILE* pipe = popen(("(" + command + ") 2>'" + errPath + "'").c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    run.err = slurp(errPath);
    return run;
}

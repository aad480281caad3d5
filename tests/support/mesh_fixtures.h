// Helpers shared by the tests: meshes, digests, scratch files, profile text
// and the programs run as a user runs them.
#pragma once

#include "mesh/lathe.h"
#include "mesh/mesh.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <set>
#include <sstream>
#include <string>

// Meshes are large: tests keep them on the heap.
inline std::unique_ptr<Mesh> emptyMesh() {
    auto mesh = std::make_unique<Mesh>();
    initMesh(*mesh);
    return mesh;
}

// FNV-1a over `size` bytes at `data`, continuing `hash`: digests for
// known-answer tests.
constexpr std::uint64_t Fnv1aStart = 14695981039346656037u;
inline std::uint64_t fnv1a(std::uint64_t hash, const void* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ static_cast<const unsigned char*>(data)[i]) * 1099511628211u;
    return hash;
}

// A path in this test process's own scratch folder, made under the test
// temporary directory on first use and removed with its contents when the
// process that made it exits: runs of the suite that overlap never meet.
inline std::string tempPath(const std::string& name) {
    static std::string folder;
    static const pid_t owner = getpid();
    if (folder.empty()) {
        std::string pattern = ::testing::TempDir() + "aquarium-test-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make " << pattern;
        folder = pattern + "/";
        std::atexit([] {
            std::error_code ignored;
            if (getpid() == owner) std::filesystem::remove_all(folder, ignored);
        });
    }
    return folder + name;
}

// Every name under `dir`, relative to it, sorted and joined by spaces.
inline std::string folderListing(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        names.insert(entry.path().lexically_relative(dir).string());
    std::string all;
    for (const std::string& name : names) all += (all.empty() ? "" : " ") + name;
    return all;
}

// A profile table as the text of a profile file, each number written with
// enough digits to read back exactly.
inline std::string profileText(const ProfileRow* rows, int count, const char* separator = ",",
                               const char* lineEnd = "\n") {
    std::ostringstream out;
    out.precision(std::numeric_limits<float>::max_digits10);
    for (int j = 0; j < count; ++j) {
        for (int i = 0; i < 7; ++i) out << (i ? separator : "") << rows[j].values[i];
        out << lineEnd;
    }
    return out.str();
}

// The one runner of the built programs, through the shell as a user runs them.
inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The exit status (-1 when the program did not exit normally) and the output.
struct ProgramRun { int status; std::string out, err; };

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

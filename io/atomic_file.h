// Writing files so that a final name only ever holds a whole file: the data
// goes to a temporary file in the same folder, which replaces the final name
// only once it has been written, synced and closed without error.
#pragma once

#include <cstdio>
#include <string>

struct AtomicFile {
    std::string path;      // the final name
    std::string tempPath;  // empty when writing straight to `path` (a device or a pipe)
    std::FILE* file = nullptr;
};

// Creates the temporary file next to `path` (removed again should SIGINT,
// SIGTERM or SIGHUP stop the program; at most 8 are open at once); an existing `path` that is not a
// regular file (/dev/null, a pipe) is opened and written directly, and a
// folder is refused. False, with errno set, when nothing could be opened.
bool openAtomicFile(AtomicFile& f, const std::string& path);

// Flushes, syncs and closes the file, then renames it over the final name.
// On any failure removes the temporary file, leaves the final name as it
// was, and returns false with errno set.
bool commitAtomicFile(AtomicFile& f);

// Closes and removes the temporary file; the final name stays as it was.
// Safe on a file that is not open.
void discardAtomicFile(AtomicFile& f);

// Prints "<program>: cannot write <path>: <reason from errno>" on stderr.
void reportWriteError(const char* program, const std::string& path);

// `path` made absolute with every existing leading part resolved (links,
// "." and ".."), for telling whether two names are one file.
std::string resolvedPath(const std::string& path);

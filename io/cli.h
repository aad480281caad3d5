// Command-line reading and standard-output checks shared by the programs.
#pragma once

#include <cstdint>

// True when any argument is "--help" or "-h", wherever it stands.
bool helpRequested(int argc, const char* const* argv);

// True when any argument is "--version", wherever it stands.
bool versionRequested(int argc, const char* const* argv);

// A whole decimal number from `low` to `high`: digits only (no sign, no
// spaces, no trailing text); leading zeros change nothing, so 010 is ten.
bool parseDecimal(const char* text, std::uint64_t low, std::uint64_t high, std::uint64_t& value);

// Writes `text` to standard output and flushes it. Returns 0, or 1 after a
// message on standard error naming `program` when the write failed.
int printToStdout(const char* program, const char* text);

// Flushes standard output (C and C++ streams). Returns 0, or 1 after a
// message on standard error when anything written to it was lost.
int finishStdout(const char* program);

// The program's one random generator: the C library rand/srand contract
// (0..RandomMax, seed 1 until reseeded) with the classic Windows C runtime
// recurrence, so one seed draws the same rocks and fish on every platform.
// Nothing else in the program may call rand() or srand().
#pragma once

#include <cstdint>

constexpr int RandomMax = 32767;

// Reseeds the generator (srand).
void randomSeed(std::uint32_t seed);

// Next value from 0 to RandomMax inclusive (rand).
int randomNext();

// The generator's whole state, so tests and replays can save and restore it.
std::uint32_t randomState();

// Reading a fish's behaviour parameters from a profile file.
#pragma once

#include "fish/fish.h"

#include <iosfwd>

// The seven behaviour numbers in their stored order: wanderChance, maxSpeed,
// size, yieldDistance, flocking, flockRadius, priority. The fifth turns
// flocking on when it truncates toward zero to 1 (a profile table: 1.5 counts)
// or only when it is exactly 1 (a behaviour file).
constexpr int BehaviourNumberCount = 7;
enum class FlockingRule { Truncated, Exact };
void setBehaviourNumbers(Fish& fish, const float numbers[BehaviourNumberCount], FlockingRule rule);

// Sets wanderChance, maxSpeed, size, yieldDistance, flocking, flockRadius and
// priority from the numbers of line 2, in that order (missing numbers read as
// 0); flocking is true only for a value of exactly 1. A file without line 2
// changes nothing; the mesh is not touched.
void readBehaviourFile(Fish& fish, const char* name);
void readBehaviourFile(Fish& fish, std::istream& in);

// Reading a fish's behaviour parameters from a profile file.
#pragma once

#include "fish/fish.h"

#include <iosfwd>

// Sets wanderChance, maxSpeed, size, yieldDistance, flocking, flockRadius and
// priority from the numbers of line 2, in that order (missing numbers read as
// 0); flocking is true only for a value of exactly 1. A file without line 2
// changes nothing; the mesh is not touched.
void readBehaviourFile(Fish& fish, const char* name);
void readBehaviourFile(Fish& fish, std::istream& in);

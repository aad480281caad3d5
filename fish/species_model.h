// Turning a species body from its profile table onto a fish.
#pragma once

#include "fish/fish.h"

// The species number of a profile table: the first value of row 0 truncated
// toward zero; 0 for a table without rows or a value out of int range.
int speciesNumber(const ProfileRow* rows, int count);

// Sets species, builds the lathe body with texture coordinates and applies
// the behaviour parameters, without touching OpenGL (the mesh keeps whatever
// texture it has; the scene loads the skins afterwards).
void buildSpeciesGeometry(Fish& fish, const ProfileRow* rows, int count);

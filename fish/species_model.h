// Turning a species body from its profile table onto a fish.
#pragma once

#include "fish/fish.h"

// Sets species, builds the lathe body with texture coordinates and applies
// the behaviour parameters, without touching OpenGL (the mesh keeps whatever
// texture it has). For simulation and tools.
void buildSpeciesGeometry(Fish& fish, const ProfileRow* rows, int count);

// As above and loads the species skin (needs a current rendering context).
void buildSpeciesModel(Fish& fish, const ProfileRow* rows, int count);

// As above but shares an already loaded skin; a texture of 0 loads one.
void buildSpeciesModelShared(Fish& fish, const ProfileRow* rows, int count, TextureId texture);

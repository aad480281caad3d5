#include "fish/species_model.h"

#include "mesh/lathe_mesh.h"

void buildSpeciesModel(Fish& fish, const ProfileRow* rows, int count) {
    fish.species = speciesNumber(rows, count);
    buildLatheMesh(fish, rows, count);  // loads the skin: the mesh has no texture yet
    applyBehaviourParameters(fish, rows, count);
}

void buildSpeciesModelShared(Fish& fish, const ProfileRow* rows, int count, TextureId texture) {
    fish.species = speciesNumber(rows, count);
    // With the texture set first the builder loads nothing (unless it is 0).
    setTexture(fish, texture);
    buildLatheMesh(fish, rows, count);
    applyBehaviourParameters(fish, rows, count);
}

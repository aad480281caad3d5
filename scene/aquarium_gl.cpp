#include "scene/aquarium.h"

#include "mesh/texture.h"
#include "scene/layout.h"

void loadSceneTextures(Aquarium& aquarium) {
    int next = 0;
    for (const SpeciesBuild& build : SpeciesBuildOrder) {
        TextureId skin = 0;
        for (int i = 0; i < build.fishCount && next < aquarium.fishCount; ++i, ++next) {
            Fish& fish = aquarium.fish[next];
            if (i == 0) {
                loadTexture(fish, getSpecies(fish));
                skin = getTexture(fish);
            } else {
                setTexture(fish, skin);
            }
        }
    }

    Decoration* rocks = aquarium.decorations;
    loadTexture(rocks[0], RockTextureResource);
    for (int k = 1; k < aquarium.decorationCount; ++k) setTexture(rocks[k], getTexture(rocks[0]));

    aquarium.floorTexture = loadBitmapTexture(FloorTextureResource);
}

void buildScene(Aquarium& aquarium) {
    buildSceneBodies(aquarium);
    loadSceneTextures(aquarium);
}

#include "data/species_tables.h"
#include "fish/species_model.h"
#include "mesh/texture.h"
#include "scene/aquarium.h"
#include "scene/layout.h"

static_assert(SceneFishCount == FishCapacity, "the scene fills its fish array");
static_assert(PlacedRockCount < DecorationCapacity, "placed rocks fit the array");

void buildScene(Aquarium& aquarium) {
    // Species in build order; the first fish of a table loads the skin, the
    // others share it. Tables with no fish are never read.
    int next = 0;
    for (const SpeciesBuild& build : SpeciesBuildOrder) {
        if (build.fishCount <= 0) continue;
        const SpeciesTable* table = findSpeciesTable(build.species);
        if (table == nullptr) {  // cannot happen with the compiled tables
            next += build.fishCount;
            continue;
        }
        TextureId skin = 0;
        for (int i = 0; i < build.fishCount && next < FishCapacity; ++i, ++next) {
            Fish& fish = aquarium.fish[next];
            if (i == 0) {
                buildSpeciesModel(fish, table->rows, table->rowCount);
                skin = getTexture(fish);
            } else {
                buildSpeciesModelShared(fish, table->rows, table->rowCount, skin);
            }
        }
    }
    aquarium.fishCount = SceneFishCount;
    aquarium.activeFishCount = aquarium.fishCount;

    // The rock arch: one gravel texture shared by every placed slab.
    Decoration* rocks = aquarium.decorations;
    loadTexture(rocks[0], RockTextureResource);
    setPosition(rocks[0], RockPositions[0][0], RockPositions[0][1], RockPositions[0][2]);
    const TextureId gravel = getTexture(rocks[0]);
    for (int k = 1; k < PlacedRockCount; ++k) {
        setTexture(rocks[k], gravel);
        setPosition(rocks[k], RockPositions[k][0], RockPositions[k][1], RockPositions[k][2]);
    }
    aquarium.decorationCount = PlacedRockCount;

    for (int j = 0; j < aquarium.fishCount; ++j) {
        linkSchool(aquarium.fish[j], aquarium.fish, aquarium.fishCount);
        linkObstacles(aquarium.fish[j], aquarium.decorations, aquarium.decorationCount);
    }

    aquarium.floorTexture = loadBitmapTexture(FloorTextureResource);
}

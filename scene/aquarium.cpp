#include "scene/aquarium.h"

#include "data/species_tables.h"
#include "fish/behaviour.h"
#include "fish/species_model.h"
#include "scene/layout.h"

static_assert(SceneFishCount == FishCapacity, "the scene fills its fish array");
static_assert(PlacedRockCount < DecorationCapacity, "placed rocks fit the array");

void constructAquarium(Aquarium& aquarium) {
    aquarium.floorTexture = 0;
    for (Fish& fish : aquarium.fish) constructFish(fish);
    for (Decoration& decoration : aquarium.decorations) constructDecoration(decoration);
    aquarium.fishCount = 0;
    aquarium.activeFishCount = 0;
    aquarium.decorationCount = 0;
    aquarium.fillMode = PolygonModeFill;
}

// The scene is zero-initialised static storage; its construction below runs
// among the dynamic initialisers, before main. It reads only the tick count
// and the random generator, whose state is constant-initialised, so the order
// of initialisation across files does not matter.
Aquarium scene;

namespace {

struct SceneConstruction {
    SceneConstruction() { constructAquarium(scene); }
} sceneConstruction;

}  // namespace

void buildSceneBodies(Aquarium& aquarium) {
    // Tables with no fish are never read.
    int next = 0;
    for (const SpeciesBuild& build : SpeciesBuildOrder) {
        const SpeciesTable* table = findSpeciesTable(build.species);
        for (int i = 0; i < build.fishCount && next < FishCapacity; ++i, ++next) {
            if (table != nullptr)
                buildSpeciesGeometry(aquarium.fish[next], table->rows, table->rowCount);
        }
    }
    aquarium.fishCount = SceneFishCount;
    aquarium.activeFishCount = aquarium.fishCount;

    for (int k = 0; k < PlacedRockCount; ++k)
        setPosition(aquarium.decorations[k], RockPositions[k][0], RockPositions[k][1],
                    RockPositions[k][2]);
    aquarium.decorationCount = PlacedRockCount;

    for (int j = 0; j < aquarium.fishCount; ++j) {
        linkSchool(aquarium.fish[j], aquarium.fish, aquarium.fishCount);
        linkObstacles(aquarium.fish[j], aquarium.decorations, aquarium.decorationCount);
    }
}

void stepScene(Aquarium& aquarium) {
    for (int j = 0; j < aquarium.activeFishCount; ++j) updateFish(aquarium.fish[j]);
}

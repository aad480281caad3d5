#include "scene/simulation.h"

#include "data/species_tables.h"
#include "fish/behaviour.h"
#include "fish/species_model.h"
#include "scene/layout.h"

static_assert(SceneFishCount == FishCapacity, "the scene fills its fish array");
static_assert(PlacedRockCount <= DecorationCapacity, "placed rocks fit the array");

Simulation& simulation() {
    static Simulation instance;
    return instance;
}

void constructSimulation(Simulation& sim) {
    for (Fish& fish : sim.fish) constructFish(fish);
    for (Decoration& decoration : sim.decorations) constructDecoration(decoration);
    sim.fishCount = 0;
    sim.decorationCount = 0;
}

void buildSimulation(Simulation& sim) {
    int next = 0;
    for (const SpeciesBuild& build : SpeciesBuildOrder) {
        const SpeciesTable* table = findSpeciesTable(build.species);
        for (int i = 0; i < build.fishCount && next < FishCapacity; ++i, ++next) {
            if (table != nullptr) buildSpeciesGeometry(sim.fish[next], table->rows, table->rowCount);
        }
    }
    sim.fishCount = SceneFishCount;

    for (int k = 0; k < PlacedRockCount; ++k) {
        setPosition(sim.decorations[k], RockPositions[k][0], RockPositions[k][1],
                    RockPositions[k][2]);
    }
    sim.decorationCount = PlacedRockCount;

    for (int j = 0; j < sim.fishCount; ++j) {
        linkSchool(sim.fish[j], sim.fish, sim.fishCount);
        linkObstacles(sim.fish[j], sim.decorations, sim.decorationCount);
    }
}

void stepSimulation(Simulation& sim) {
    for (int j = 0; j < sim.fishCount; ++j) updateFish(sim.fish[j]);
}

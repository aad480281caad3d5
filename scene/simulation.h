// The aquarium without a window: the scene's nine fish and twenty-five rocks,
// constructed, built and advanced exactly as the drawn scene does, with no
// OpenGL. For soak runs, benchmarks and tests on the virtual clock.
#pragma once

#include "fish/fish.h"
#include "scene/decoration.h"

// About 18 MB: keep it in static storage (see simulation()).
struct Simulation {
    Fish fish[FishCapacity];
    Decoration decorations[DecorationCapacity];
    int fishCount;        // fish linked and advanced
    int decorationCount;  // rocks placed and given to the fish as obstacles
};

// The process's one headless scene, in static storage.
Simulation& simulation();

// Start-up construction: fish 0..8 (each reseeding the generator from the
// tick count), then decorations 0..24 (one yaw and one rock each).
void constructSimulation(Simulation& sim);

// The species bodies and behaviour in the scene's table order, the rock arch,
// and the links of every fish to all fish and the placed rocks. No texture.
void buildSimulation(Simulation& sim);

// One frame: updateFish for every fish in array order. The caller advances
// the clock (10 ms per frame on the virtual clock).
void stepSimulation(Simulation& sim);

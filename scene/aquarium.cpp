#include "scene/aquarium.h"

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

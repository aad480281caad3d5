// The whole scene: nine fish, twenty-five rock slabs (seventeen placed), the
// floor texture, and the one global instance `scene`. The saver, the soak run,
// the benchmarks and the tests all build it the same way.
#pragma once

#include "fish/fish.h"
#include "world/decoration.h"

#include <cstdint>

// GL_FILL, kept as a number so this header needs no GL (checked in the GL code).
constexpr std::int32_t PolygonModeFill = 0x1B02;

struct Aquarium {
    TextureId floorTexture;  // bitmap 107; 0 until buildScene ends
    Fish fish[FishCapacity];
    Decoration decorations[DecorationCapacity];  // the first decorationCount are placed
    std::int32_t fishCount;        // fish linked into every school
    std::int32_t activeFishCount;  // fish drawn and advanced each frame
    std::int32_t decorationCount;  // placed: drawn and given to the fish as obstacles
    std::int32_t fillMode;         // GL polygon mode of the floor's and rocks' front faces
};

// About 18 MB: static storage only. Constructed before main (see aquarium.cpp).
extern Aquarium scene;

// Constructs fish 0..8, then decorations 0..24, in index order (each fish
// reseeds the generator from the tick count; each rock draws from it); sets
// fillMode to GL_FILL and every count to 0. Makes no OpenGL call.
void constructAquarium(Aquarium& aquarium);

// Everything the scene needs before it is drawn or advanced, in two halves.
// buildSceneBodies makes no OpenGL call: it turns the species bodies, with
// their behaviour, onto the fish in build order, places the seventeen rocks,
// links every fish to the fish and the placed rocks, and sets the counts.
// Headless runs stop there.
void buildSceneBodies(Aquarium& aquarium);

// The textures, in this order so their names never change: each species'
// skin (its first fish loads it, the rest share it), the gravel shared by the
// placed rocks, then the floor. Needs a current rendering context.
void loadSceneTextures(Aquarium& aquarium);

// buildSceneBodies then loadSceneTextures: once, with a current context.
void buildScene(Aquarium& aquarium);

// One headless frame: updateFish for every active fish in array order (the
// drawn frame advances them the same way, between the draws). The caller
// advances the clock.
void stepScene(Aquarium& aquarium);

// The per-frame pass over the scene, in aquarium_gl.cpp like the textures:
// draws the tank, decorations 0 .. decorationCount - 1, and for each active
// fish in array order drawFish then updateFish. The camera must already be on
// the model-view matrix. Leaves front faces filled, back faces as lines and
// lighting on.
void drawScene(Aquarium& aquarium);

// The same picture without moving anything: every fish where the last frame
// left it. For the extra views of a window that spans several monitors.
void drawSceneStill(Aquarium& aquarium);

// The grey wire frame of the tank (top rim and four walls) around the
// textured floor. Leaves both faces as lines, lighting on, texturing off.
void drawTank(const Aquarium& aquarium);

// The per-frame pass over the scene: tank, placed rocks, then each fish drawn
// and at once advanced.
#pragma once

struct Aquarium;

// Draws the tank, decorations 0 .. decorationCount - 1, and for each active
// fish in array order drawFish then updateFish. The camera must already be on
// the model-view matrix. Leaves front faces filled, back faces as lines and
// lighting on.
void drawScene(Aquarium& aquarium);

// The grey wire frame of the tank (top rim and four walls) around the
// textured floor. Leaves both faces as lines, lighting on, texturing off.
void drawTank(const Aquarium& aquarium);

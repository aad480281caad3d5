// Steering at a target choice: flock centre and heading, yielding to fish of
// higher priority, and turning away from the rocks the body would sweep.
#pragma once

#include "fish/fish.h"

struct Decoration;

constexpr int ProbeCorners = 8;

// The fish's mesh bounding box turned along `direction` as the fish is drawn
// (pitch about z first, then yaw about y, nose at local -x along the
// direction) and moved to `point`. Corners 0-3 at yMax, 4-7 at yMin; corners
// 0, 1, 4, 5 are the nose end (xMin). A zero direction leaves the box
// unturned; a vertical one leaves it level.
void probeBox(const Fish& fish, Vertex point, Vertex direction, Vertex corners[ProbeCorners]);

// Number of probe-box corners (0..8) whose path from the body now (turned
// along velocity) to the predicted ramp end (turned along targetVelocity)
// meets the decoration widened by the fish's size.
int countProbeHits(const Fish& fish, const Decoration& decoration);

// Reverses targetVelocity once per fish of strictly higher priority whose
// predicted ramp end lies within yieldDistance of this fish's, then turns it
// away from every obstacle its probes meet, keeping its speed.
void avoidCollisions(Fish& fish);

// Writes the species' flock centre (mean position) and heading (mean velocity
// of those within flockRadius of the previous centre) into every fish of the
// species, unless another fish already did (flockShared).
void computeFlock(Fish& fish);

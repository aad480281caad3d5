// The per-frame motion of a fish: velocity ramps, target choices, heading.
#pragma once

#include "fish/fish.h"

// Advances one fish by one frame: behaviourStep, then yaw and pitch from the
// velocity, then position += velocity.
void updateFish(Fish& fish);

// Continues the current ramp, or chooses the next target when its time is up.
void behaviourStep(Fish& fish);

// Drawn orientation for a velocity, in degrees: y the yaw about +y, z the
// pitch about +z (applied first), x 0. Turns the nose (local -x) along the
// velocity: -x gives yaw 0, +x 180, +z 90, -z -90; rising at 45 degrees gives
// pitch -45. A zero or vertical velocity gives 0 for what it cannot define.
Vertex orientationFromVelocity(Vertex velocity);

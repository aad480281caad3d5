// The per-frame motion of a fish: velocity ramps, target choices, heading.
#pragma once

#include "fish/fish.h"

// Advances one fish by one frame: behaviourStep, then yaw and pitch from the
// velocity, then position += velocity.
void updateFish(Fish& fish);

// Continues the current ramp, or chooses the next target when its time is up.
void behaviourStep(Fish& fish);

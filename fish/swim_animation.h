// Swim animation: a sideways travelling wave along the body plus a tail
// flutter, rebuilt from the rest shape on every call (so it never drifts).
#pragma once

#include "fish/fish.h"

// Rewrites the working vertices' z from the rest shape for the fish's
// progress through its ramp (stepCount / lastStepCount, one beat per ramp),
// then recomputes the normals. Replaces a lastStepCount of 0 by 1.
void applySwimAnimation(Fish& fish);

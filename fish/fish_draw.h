// Drawing a fish at its position and heading.
#pragma once

#include "fish/fish.h"

// Build switches: plain constants, never changed at run time.
constexpr bool swimAnimationEnabled = false;
constexpr bool debugOverlayEnabled = false;

// Draws the fish in the current model-view frame; leaves the matrix stack as
// it found it.
void drawFish(Fish& fish);

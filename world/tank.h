// The glass tank: centred on the origin, y up, in tank units.
#pragma once

constexpr float TankHalfWidth = 24.0f;   // x from -24 to 24
constexpr float TankHalfHeight = 12.0f;  // y from -12 to 12
constexpr float TankHalfDepth = 12.0f;   // z from -12 to 12

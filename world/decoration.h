// A decoration: a random rock slab standing at a fixed place in the tank,
// turned about the vertical axis, which the fish treat as an obstacle.
#pragma once

#include "mesh/mesh.h"

struct Decoration : Mesh {
    Vertex position;  // world position of the centre of the slab's underside (x, y, z used)
    float yaw;        // degrees about the vertical axis through the local origin
    float radius;     // obstacle cylinder radius: largest horizontal vertex distance
};

constexpr int DecorationCapacity = 25;

// Constructs a decoration in place: empty mesh, position (0, 0, 0), one random
// draw for yaw (0 to 360 degrees), then the rock generator's 36 draws. Makes no
// OpenGL call.
void constructDecoration(Decoration& decoration);

void setPosition(Decoration& decoration, float x, float y, float z);

// Obstacle queries against the decoration's cylinder widened by `margin`:
// radius + margin around the local vertical axis, from margin/2 below the
// underside to 1 + margin/2 above it.
bool containsPoint(const Decoration& decoration, float x, float y, float z, float margin);
// Ten samples from `start` (included) towards `end` (excluded).
bool blocksSegment(const Decoration& decoration, Vertex start, Vertex end, float margin);

// Draws the rock at its place and yaw (needs a current rendering context).
void draw(const Decoration& decoration);

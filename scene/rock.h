// The rock generator: a pentagonal prism slab one unit high, roughened at
// random, with texture coordinates and its obstacle radius.
#pragma once

struct Decoration;

// Fills the empty mesh of `decoration` (12 vertices, 20 triangles), takes 36
// random draws and sets its radius.
void generateRock(Decoration& decoration);

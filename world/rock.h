// The rock generator: a pentagonal prism slab one unit high, roughened at
// random, with texture coordinates and its obstacle radius.
#pragma once

struct Decoration;
struct Mesh;

// Fills the empty mesh of `decoration` (12 vertices, 20 triangles), takes 36
// random draws and sets its radius.
void generateRock(Decoration& decoration);

// The steps of generateRock around its random roughening, for tools and tests:
// the regular prism (12 welded vertices, 20 outward triangles with normals)...
void buildRockPrism(Mesh& mesh);
// ...and, after roughening, texture coordinates (u, v) = (x, y) and the
// obstacle radius (largest horizontal distance from the axis), both taken from
// vertex 1 on.
void measureRock(Decoration& decoration);

// Immediate-mode drawing of a mesh. Needs a current rendering context.
#pragma once

#include "mesh/mesh.h"

// Issues the mesh's triangles in index and corner order: for each corner the
// texture coordinate, the vertex normal, then the position. Binds and enables
// the texture around the triangles when the mesh has one (a positive name).
// Sets no colour, material, polygon mode or matrix.
void drawMesh(const Mesh& mesh);

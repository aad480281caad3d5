// The lathe builder with its skin: geometry, texture and texture coordinates.
#pragma once

#include "mesh/lathe.h"

// Fills an empty mesh from a profile table (rows 0..2 header, then one ring a
// row). When the mesh has no texture yet, loads the skin named by row 0 (which
// ends the process if that bitmap is missing); a mesh that already has one
// keeps it. Then maps the skin with row 1. Needs a current GL context when a
// texture is loaded.
void buildLatheMesh(Mesh& mesh, const ProfileRow* rows, int count);

// Lathe models read from profile files, with their skins.
#pragma once

#include "mesh/mesh.h"

// Builds the lathe model of a profile file into an empty mesh (see
// readProfileGeometry), loads the skin named by line 0 when the mesh has no
// texture yet, and maps the skin with line 1. A file without line 0 (bitmap
// id 0) loads no skin. Loading needs a current rendering context, and a bitmap
// id that names no bitmap ends the process as texture loading does.
void readProfileFile(Mesh& mesh, const char* name);

// Lathe models: rings along the length axis, each an ellipse of LatheSegments
// vertices, stitched into one band of triangles.
#pragma once

#include "mesh/mesh.h"

constexpr int LatheSegments = 8;

// One row of a profile table: seven floats. Row 0 holds the species number
// (also its skin's bitmap id), row 1 the five texture-mapping parameters, row 2
// the seven behaviour parameters, rows 3 and on one ring each:
// x, centreY, centreZ, radiusZ, radiusY, 0, 0.
struct ProfileRow {
    float values[7];
};

// What the header rows of a profile say about the skin.
struct LatheSkin {
    int textureResource;  // bitmap id of the skin
    float textureSize, uOrigin, uSpan, vOrigin, vSpan;
};

// Appends one ring: vertex s at angle s * 45 degrees, s = 0 at the top
// (centreY + radiusY), s = 2 towards +z, s = 4 at the bottom.
void addLatheRing(Mesh& mesh, float x, float centreY, float centreZ, float radiusZ,
                  float radiusY);

// Stitches `rings` rings appended to an empty mesh into triangles (quads k and
// k + 1 with the vertices 8 places later, outward faces counter-clockwise) and
// copies the result into the rest shape.
void stitchLathe(Mesh& mesh, int rings);

// Builds the geometry of a profile table into an empty mesh (no texture is
// loaded and no texture coordinate set) and returns what its header rows say
// about the skin. Rows missing from a short table read as zero.
LatheSkin buildLatheGeometry(Mesh& mesh, const ProfileRow* rows, int count);

// Sets the texture coordinates of a lathe mesh from its skin's mapping row.
void mapLatheSkin(Mesh& mesh, const LatheSkin& skin);

// In lathe_gl.cpp: fills an empty mesh from a profile table (rows 0..2
// header, then one ring a row). When the mesh has no texture yet, loads the
// skin named by row 0 (which ends the process if that bitmap is missing); a
// mesh that already has one keeps it. Then maps the skin with row 1. Needs a
// current GL context when a texture is loaded.
void buildLatheMesh(Mesh& mesh, const ProfileRow* rows, int count);

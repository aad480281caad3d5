#include "mesh/lathe.h"

#include <cmath>

namespace {

// 2 pi / 8 computed in double and rounded to float, as the angle steps.
const float LatheStep = static_cast<float>(2.0 * Pi / LatheSegments);

}  // namespace

void addLatheRing(Mesh& mesh, float x, float centreY, float centreZ, float radiusZ,
                  float radiusY) {
    float angle = 0.0f;
    for (int s = 0; s < LatheSegments; ++s) {
        const double a = angle;
        const float y = static_cast<float>(centreY + static_cast<double>(radiusY) * std::cos(a));
        const float z = static_cast<float>(centreZ + static_cast<double>(radiusZ) * std::sin(a));
        addVertex(mesh, x, y, z);
        angle += LatheStep;
    }
}

void stitchLathe(Mesh& mesh, int rings) {
    // One continuous band through the vertex sequence. The bound is 8R - 10:
    // the last vertex of the last ring belongs to no triangle.
    const int end = LatheSegments * rings - 10;
    for (int k = 0; k < end; ++k) {
        addTriangle(mesh, k, k + 1, k + LatheSegments);
        addTriangle(mesh, k + 1, k + LatheSegments + 1, k + LatheSegments);
    }
    for (int i = 0; i < mesh.vertexCount; ++i) mesh.restVertices[i] = mesh.vertices[i];
}

LatheSkin buildLatheGeometry(Mesh& mesh, const ProfileRow* rows, int count) {
    LatheSkin skin{};
    int rings = 0;
    for (int j = 0; j < count; ++j) {
        const float* value = rows[j].values;
        if (j == 0) {
            skin.textureResource = static_cast<int>(value[0]);
        } else if (j == 1) {
            skin.textureSize = value[0];
            skin.uOrigin = value[1];
            skin.uSpan = value[2];
            skin.vOrigin = value[3];
            skin.vSpan = value[4];
        } else if (j >= 3) {
            addLatheRing(mesh, value[0], value[1], value[2], value[3], value[4]);
            ++rings;
        }
    }
    stitchLathe(mesh, rings);
    return skin;
}

void mapLatheSkin(Mesh& mesh, const LatheSkin& skin) {
    mapTexture(mesh, skin.textureSize, skin.uOrigin, skin.uSpan, skin.vOrigin, skin.vSpan);
}

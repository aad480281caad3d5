#include "mesh/mesh.h"

void recomputeNormals(Mesh& mesh) {
    // The vertex means are not cleared first: every call folds each face normal
    // in once more, so directions stay the same and faceCount keeps rising
    // (computeTriangleNormal stops it at its range).
    for (int t = 0; t < mesh.triangleCount; ++t) computeTriangleNormal(mesh, t);
}

void mapTexture(Mesh& mesh, float textureSize, float uOrigin, float uSpan, float vOrigin,
                float vSpan) {
    const double size = textureSize;
    const double xMin = mesh.xMin, xExtent = static_cast<double>(mesh.xMax) - mesh.xMin;
    const double yMin = mesh.yMin, yExtent = static_cast<double>(mesh.yMax) - mesh.yMin;
    for (int i = 0; i < mesh.vertexCount; ++i) {
        Vertex& v = mesh.vertices[i];
        // A box with no extent on an axis maps every vertex to the rectangle's
        // origin on that axis instead of dividing by zero.
        const double uStretch = xExtent != 0.0 ? (uSpan + 1.0) / size * (v.x - xMin) / xExtent : 0.0;
        const double vStretch = yExtent != 0.0 ? (vSpan + 1.0) / size * (v.y - yMin) / yExtent : 0.0;
        v.u = static_cast<float>(uStretch + uOrigin / size);
        v.v = static_cast<float>(vStretch + vOrigin / size);
    }
}

#include "mesh/mesh.h"

#include "mesh/random.h"

#include <algorithm>
#include <cmath>
#include <limits>

void initMesh(Mesh& mesh) {
    mesh.vertexCount = 0;
    mesh.triangleCount = 0;
    mesh.texture = 0;
    mesh.xMin = mesh.xMax = 0.0f;
    mesh.yMin = mesh.yMax = 0.0f;
    mesh.zMin = mesh.zMax = 0.0f;
}

int addVertex(Mesh& mesh, float x, float y, float z) {
    // The capacity test comes first: a full mesh answers -1 even for a stored
    // position.
    if (mesh.vertexCount >= MaxVertices) return -1;
    for (int i = 0; i < mesh.vertexCount; ++i) {
        const Vertex& v = mesh.vertices[i];
        // Exact float equality welds shared corners; +0 == -0, NaN never matches.
        if (v.x == x && v.y == y && v.z == z) return i;
    }
    if (x > mesh.xMax) mesh.xMax = x;
    if (x < mesh.xMin) mesh.xMin = x;
    if (y > mesh.yMax) mesh.yMax = y;
    if (y < mesh.yMin) mesh.yMin = y;
    if (z > mesh.zMax) mesh.zMax = z;
    if (z < mesh.zMin) mesh.zMin = z;
    Vertex& v = mesh.vertices[mesh.vertexCount];
    v.x = x;
    v.y = y;
    v.z = z;
    v.nx = v.ny = v.nz = 0.0f;
    v.faceCount = 0;  // u and v are left as they were
    return mesh.vertexCount++;
}

int addTriangle(Mesh& mesh, std::int32_t i0, std::int32_t i1, std::int32_t i2) {
    if (mesh.triangleCount >= MaxTriangles) return -1;
    if (i0 < 0 || i1 < 0 || i2 < 0) return -1;
    // Corners must name stored vertices; anything else would read past the
    // store when the normal is folded in.
    if (i0 >= mesh.vertexCount || i1 >= mesh.vertexCount || i2 >= mesh.vertexCount) return -1;
    Triangle& t = mesh.triangles[mesh.triangleCount];
    t.corners[0] = i0;
    t.corners[1] = i1;
    t.corners[2] = i2;
    t.cornerCount = 3;
    computeTriangleNormal(mesh, mesh.triangleCount);
    return mesh.triangleCount++;
}

void computeTriangleNormal(Mesh& mesh, int triangle) {
    Triangle& t = mesh.triangles[triangle];
    if (t.cornerCount != 3) return;
    const Vertex& p0 = mesh.vertices[t.corners[0]];
    const Vertex& p1 = mesh.vertices[t.corners[1]];
    const Vertex& p2 = mesh.vertices[t.corners[2]];
    const float ax = p0.x - p1.x, ay = p0.y - p1.y, az = p0.z - p1.z;
    const float bx = p1.x - p2.x, by = p1.y - p2.y, bz = p1.z - p2.z;
    // Counter-clockwise corners give a normal towards the viewer.
    float nx = static_cast<float>(static_cast<double>(ay) * bz - static_cast<double>(az) * by);
    float ny = static_cast<float>(static_cast<double>(az) * bx - static_cast<double>(ax) * bz);
    float nz = static_cast<float>(static_cast<double>(ax) * by - static_cast<double>(ay) * bx);
    const double s = static_cast<double>(nx) * nx + static_cast<double>(ny) * ny +
                     static_cast<double>(nz) * nz;
    if (s != 0.0) {
        const float length = static_cast<float>(std::sqrt(s));
        nx /= length;
        ny /= length;
        nz /= length;
    }
    t.normal[0] = nx;
    t.normal[1] = ny;
    t.normal[2] = nz;
    for (int c = 0; c < 3; ++c) {
        Vertex& v = mesh.vertices[t.corners[c]];
        const int k = v.faceCount;
        // Running mean of the face normals folded so far. Once the counter
        // reaches its range the mean is frozen as a mean of "very many" faces,
        // which keeps it well defined under endless recomputation.
        if (k == std::numeric_limits<std::int32_t>::max()) continue;
        const double weight = k;
        v.nx = static_cast<float>((weight * v.nx + nx) / (weight + 1.0));
        v.ny = static_cast<float>((weight * v.ny + ny) / (weight + 1.0));
        v.nz = static_cast<float>((weight * v.nz + nz) / (weight + 1.0));
        v.faceCount = k + 1;
    }
}

TextureId getTexture(const Mesh& mesh) { return mesh.texture; }
void setTexture(Mesh& mesh, TextureId texture) { mesh.texture = texture; }

float getXMin(const Mesh& mesh) { return mesh.xMin; }
float getXMax(const Mesh& mesh) { return mesh.xMax; }
float getYMin(const Mesh& mesh) { return mesh.yMin; }
float getYMax(const Mesh& mesh) { return mesh.yMax; }
float getZMin(const Mesh& mesh) { return mesh.zMin; }
float getZMax(const Mesh& mesh) { return mesh.zMax; }

int getVertexCount(const Mesh& mesh) { return mesh.vertexCount; }
int getTriangleCount(const Mesh& mesh) { return mesh.triangleCount; }

Vertex getVertex(const Mesh& mesh, int index) {
    if (index < 0 || index >= mesh.vertexCount) return Vertex{};
    return mesh.vertices[index];
}

Vertex getRestVertex(const Mesh& mesh, int index) {
    if (index < 0 || index >= mesh.vertexCount) return Vertex{};
    return mesh.restVertices[index];
}

void setVertexPosition(Mesh& mesh, int index, float x, float y, float z) {
    if (index < 0 || index >= mesh.vertexCount) return;
    mesh.vertices[index].x = x;
    mesh.vertices[index].y = y;
    mesh.vertices[index].z = z;
}

void setVertexTexCoord(Mesh& mesh, int index, float u, float v) {
    if (index < 0 || index >= mesh.vertexCount) return;
    mesh.vertices[index].u = u;
    mesh.vertices[index].v = v;
}

void jitterVertices(Mesh& mesh, float a, float b, float c) {
    const float amplitude[3] = {a, b, c};
    for (int i = 0; i < mesh.vertexCount; ++i) {
        float* coordinate[3] = {&mesh.vertices[i].x, &mesh.vertices[i].y, &mesh.vertices[i].z};
        for (int axis = 0; axis < 3; ++axis) {
            const float f = static_cast<float>(randomNext()) / static_cast<float>(RandomMax);
            *coordinate[axis] += (f + f) * amplitude[axis] - amplitude[axis];
        }
    }
}

float vectorLength(float x, float y, float z) {
    const double s = static_cast<double>(x) * x + static_cast<double>(y) * y +
                     static_cast<double>(z) * z;
    return static_cast<float>(std::sqrt(s));
}

float vectorLength(Vertex v) { return vectorLength(v.x, v.y, v.z); }

float pointDistance(Vertex p, Vertex q) {
    const float dx = p.x - q.x, dy = p.y - q.y, dz = p.z - q.z;
    return vectorLength(dx, dy, dz);
}

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
        const double uStretch =
            xExtent != 0.0 ? (uSpan + 1.0) / size * (v.x - xMin) / xExtent : 0.0;
        const double vStretch =
            yExtent != 0.0 ? (vSpan + 1.0) / size * (v.y - yMin) / yExtent : 0.0;
        v.u = static_cast<float>(uStretch + uOrigin / size);
        v.v = static_cast<float>(vStretch + vOrigin / size);
    }
}

namespace {

double clampUnit(double value) { return std::min(1.0, std::max(-1.0, value)); }

}  // namespace

Heading headingOf(Vertex direction) {
    const double x = direction.x, y = direction.y, z = direction.z;
    Heading heading{0.0, 0.0};
    const float h = static_cast<float>(x * x + z * z);
    if (h != 0.0f) {
        heading.yaw = std::acos(clampUnit(-x / std::sqrt(static_cast<double>(h))));
        if (z < 0.0) heading.yaw = -heading.yaw;
    }
    const float s = static_cast<float>(x * x + y * y + z * z);
    if (s != 0.0f && h != 0.0f) {
        heading.pitch = std::acos(clampUnit(static_cast<double>(h) /
                                            (std::sqrt(static_cast<double>(s)) *
                                             std::sqrt(static_cast<double>(h)))));
        if (y > 0.0) heading.pitch = -heading.pitch;
    }
    return heading;
}

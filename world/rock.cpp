#include "world/rock.h"

#include "mesh/mesh.h"
#include "world/decoration.h"

#include <cmath>

namespace {

// Corners of the slab: the pentagon at the bottom (y = 0) and top (y = 1),
// then the bottom and top centres on the vertical axis.
enum Corner { B0, B1, B2, B3, B4, T0, T1, T2, T3, T4, BC, TC };

struct Point {
    float x, y, z;
};

constexpr Point CornerPoints[12] = {
    {3.0f, 0.0f, -1.0f}, {2.0f, 0.0f, 2.0f}, {-2.0f, 0.0f, 3.0f}, {-3.0f, 0.0f, -1.0f},
    {0.5f, 0.0f, -3.0f}, {3.0f, 1.0f, -1.0f}, {2.0f, 1.0f, 2.0f}, {-2.0f, 1.0f, 3.0f},
    {-3.0f, 1.0f, -1.0f}, {0.5f, 1.0f, -3.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f},
};

// Per pentagon edge k -> k+1: two side faces, one bottom and one top fan
// face, all counter-clockwise seen from outside. The order fixes the vertex
// indices through addVertex's welding.
constexpr Corner Faces[20][3] = {
    {B0, T1, B1}, {T0, T1, B0}, {BC, B0, B1}, {TC, T1, T0},
    {B1, T2, B2}, {T1, T2, B1}, {B1, B2, BC}, {T1, TC, T2},
    {B2, T3, B3}, {T2, T3, B2}, {B2, B3, BC}, {T2, TC, T3},
    {B3, T4, B4}, {T3, T4, B3}, {B3, B4, BC}, {T3, TC, T4},
    {B4, T0, B0}, {T4, T0, B4}, {B4, B0, BC}, {T4, TC, T0},
};

// Roughening amplitudes in x, y and z.
constexpr float JitterX = 1.0f;
constexpr float JitterY = 0.1f;
constexpr float JitterZ = 1.0f;

}  // namespace

void buildRockPrism(Mesh& mesh) {
    for (const auto& face : Faces) {
        int index[3];
        for (int c = 0; c < 3; ++c) {
            const Point& p = CornerPoints[face[c]];
            index[c] = addVertex(mesh, p.x, p.y, p.z);
        }
        addTriangle(mesh, index[0], index[1], index[2]);
    }
}

void measureRock(Decoration& decoration) {
    decoration.radius = 0.0f;
    // Vertex 0 is left out of both: it keeps its earlier texture coordinate
    // and its distance from the axis does not count.
    const int count = getVertexCount(decoration);
    for (int i = 1; i < count; ++i) {
        const Vertex v = getVertex(decoration, i);
        setVertexTexCoord(decoration, i, v.x, v.y);  // gravel projected along z
        const float d = static_cast<float>(
            std::sqrt(static_cast<double>(v.x) * v.x + static_cast<double>(v.z) * v.z));
        if (d > decoration.radius) decoration.radius = d;
    }
}

void generateRock(Decoration& decoration) {
    buildRockPrism(decoration);
    // Normals stay those of the regular prism: the slab is lit smooth.
    jitterVertices(decoration, JitterX, JitterY, JitterZ);
    measureRock(decoration);
}

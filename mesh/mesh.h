// Fixed-capacity triangle mesh, its vertex record and the small vector helpers.
//
// A Mesh is about 0.5 MB: keep it in static storage or on the heap, never on
// the stack. Stores only grow; a full store or a negative index answers -1.
#pragma once

#include <cstdint>

// An OpenGL texture name; 0 means none. Shared by many meshes, never deleted.
using TextureId = std::uint32_t;

// Mesh vertex, and the program's general point/vector record (positions,
// velocities, flock data use only x, y, z).
struct Vertex {
    float x, y, z;
    float u, v;          // texture coordinate (s, t); v = 0 is the bitmap's bottom row
    float nx, ny, nz;    // running mean of the face normals folded in (not renormalised)
    std::int32_t faceCount;  // face normals folded into nx, ny, nz
};

struct Triangle {
    std::int32_t corners[3];  // vertex indices in winding order
    std::int32_t cornerCount; // always 3
    float normal[3];          // unit face normal, (0, 0, 0) when degenerate
};

constexpr int MaxVertices = 6000;
constexpr int MaxTriangles = 2000;

struct Mesh {
    Vertex vertices[MaxVertices];      // working shape, the one drawn
    Vertex restVertices[MaxVertices];  // rest shape copied by the lathe builders
    std::int32_t vertexCount;
    Triangle triangles[MaxTriangles];
    std::int32_t triangleCount;
    TextureId texture;
    // Bounding box of the vertices added so far, grown from an all-zero box, so
    // it always contains the origin.
    float xMin, xMax, yMin, yMax, zMin, zMax;
};

void initMesh(Mesh& mesh);

// Index of the vertex at exactly (x, y, z), reused or appended; -1 when full
// (even for a position already stored).
int addVertex(Mesh& mesh, float x, float y, float z);

// Index of the new triangle, or -1 when full or a corner is negative. Computes
// the face normal and folds it into the corners' normals.
int addTriangle(Mesh& mesh, std::int32_t i0, std::int32_t i1, std::int32_t i2);

void computeTriangleNormal(Mesh& mesh, int triangle);

TextureId getTexture(const Mesh& mesh);
void setTexture(Mesh& mesh, TextureId texture);

float getXMin(const Mesh& mesh);
float getXMax(const Mesh& mesh);
float getYMin(const Mesh& mesh);
float getYMax(const Mesh& mesh);
float getZMin(const Mesh& mesh);
float getZMax(const Mesh& mesh);

int getVertexCount(const Mesh& mesh);
int getTriangleCount(const Mesh& mesh);

// Copies of a working or rest vertex; an all-zero Vertex for an index outside
// 0 .. vertexCount - 1.
Vertex getVertex(const Mesh& mesh, int index);
Vertex getRestVertex(const Mesh& mesh, int index);

// Moves a working vertex; ignored for an index outside 0 .. vertexCount - 1.
void setVertexPosition(Mesh& mesh, int index, float x, float y, float z);
// Sets a working vertex's texture coordinate; ignored outside the store.
void setVertexTexCoord(Mesh& mesh, int index, float u, float v);

// Adds uniform offsets in [-a, a], [-b, b], [-c, c] to every vertex, three
// random draws per vertex (x, y, z) in index order.
void jitterVertices(Mesh& mesh, float a, float b, float c);

// Vector helpers: float results computed in double.
float vectorLength(Vertex v);
float vectorLength(float x, float y, float z);
float pointDistance(Vertex p, Vertex q);

constexpr double Pi = 3.141592653589793;

// The turn, in radians, that carries a model's nose (local -x) along
// `direction` as models are drawn: pitch about +z applied first, negative
// (nose up) when rising, then yaw about +y: -x gives yaw 0, +x pi, +z pi / 2,
// -z -pi / 2. A zero or vertical direction gives 0 for what it cannot define.
// Both the drawn orientation of a fish and its steering probes use it.
struct Heading {
    double yaw;
    double pitch;
};
Heading headingOf(Vertex direction);

// Normals and texture mapping.

// Folds every face normal into its corners once more (the running means are
// not cleared; see the comment in the source).
void recomputeNormals(Mesh& mesh);

// Side projection of the mesh's x-y extent onto a rectangle of its skin: the
// five parameters are given in a textureSize-pixel frame from the bottom-left.
void mapTexture(Mesh& mesh, float textureSize, float uOrigin, float uSpan, float vOrigin,
                float vSpan);

// Drawing, in mesh_gl.cpp (needs a current rendering context): issues the
// mesh's triangles in index and corner order, for each corner the texture
// coordinate, the vertex normal, then the position. Binds and enables the
// texture around the triangles when the mesh has one (a positive name). Sets
// no colour, material, polygon mode or matrix.
void drawMesh(const Mesh& mesh);

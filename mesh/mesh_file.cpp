#include "mesh/mesh_file.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <istream>
#include <limits>
#include <ostream>

namespace {

constexpr int TriangleLineNumbers = 6;
constexpr int ProfileLineNumbers = 8;

// Past this many rings every further triangle names a vertex beyond the store,
// so stitching stops there with the same result and 8 * rings cannot overflow.
constexpr int MaxStitchedRings = MaxVertices / LatheSegments + 2;

// Half an ulp above the largest float: doubles from here on round to infinity.
constexpr double FloatOverflow = 0x1.ffffffp127;

bool isSeparator(char c) { return c == ',' || c == ' ' || c == '\t'; }

// atof without its undefined cases, rounded to float through double as atof's
// result would be.
float toFloat(const char* token) {
    const double value = std::strtod(token, nullptr);
    if (value >= FloatOverflow) return std::numeric_limits<float>::infinity();
    if (value <= -FloatOverflow) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);  // NaN passes through
}

}  // namespace

bool readMeshFileLine(std::istream& in, MeshFileLine& line) {
    // Room for one character more than the limit, so that a limit-long line
    // still fits with the '\r' of a "\r\n" line end.
    if (!in.getline(line.text, sizeof line.text)) return false;  // end of input, or too long
    std::streamsize stored = in.gcount();
    if (!in.eof()) --stored;  // the '\n' was extracted but not stored
    int length = static_cast<int>(stored);
    if (length > 0 && line.text[length - 1] == '\r') --length;
    if (length > MeshFileLineLimit) return false;
    line.text[length] = '\0';
    line.length = length;
    return true;
}

int readLineNumbers(const MeshFileLine& line, float* numbers, int capacity) {
    for (int i = 0; i < capacity; ++i) numbers[i] = 0.0f;
    char token[sizeof line.text];
    int count = 0;
    int i = 0;
    while (count < capacity) {
        while (i < line.length && isSeparator(line.text[i])) ++i;
        if (i >= line.length) break;
        int n = 0;
        while (i < line.length && !isSeparator(line.text[i])) token[n++] = line.text[i++];
        token[n] = '\0';
        numbers[count++] = toFloat(token);
    }
    return count;
}

int readLineInteger(const MeshFileLine& line) {
    const long value = std::strtol(line.text, nullptr, 10);  // saturates at LONG_MIN/MAX
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

bool writeTriangleFile(const Mesh& mesh, std::ostream& out) {
    // The stream's default float format, whatever the caller set.
    const std::ios::fmtflags flags = out.flags();
    out.unsetf(std::ios::floatfield | std::ios::showpoint | std::ios::showpos |
               std::ios::uppercase);
    const std::streamsize precision = out.precision(6);
    for (int t = 0; t < mesh.triangleCount; ++t) {
        const Triangle& triangle = mesh.triangles[t];
        for (int c = 0; c < triangle.cornerCount && c < 3; ++c) {
            const Vertex& v = mesh.vertices[triangle.corners[c]];
            out << v.x << ' ' << v.y << ' ' << v.z << '\n';
        }
        out << '\n';
    }
    out.flags(flags);
    out.precision(precision);
    out.flush();
    return static_cast<bool>(out);
}

bool writeTriangleFile(const Mesh& mesh, const char* name) {
    if (name == nullptr) return false;
    std::ofstream out(name);
    if (!out) return false;
    if (!writeTriangleFile(mesh, out)) return false;
    out.close();
    return !out.fail();
}

void readTriangleFile(Mesh& mesh, std::istream& in) {
    MeshFileLine line;
    std::int32_t corners[3] = {-1, -1, -1};
    int n = 0;  // vertex lines since the last triangle; 4 stands for "more than three"
    while (readMeshFileLine(in, line)) {
        if (line.length > 0) {
            float p[TriangleLineNumbers];
            readLineNumbers(line, p, TriangleLineNumbers);
            const int index = addVertex(mesh, p[0], p[1], p[2]);  // -1 when full
            if (n < 3) corners[n] = index;
            if (n < 4) ++n;
        } else if (n == 3) {
            addTriangle(mesh, corners[0], corners[1], corners[2]);  // refuses a -1 corner
            n = 0;
        } else if (n > 3) {
            n = 0;
        }
    }
}

void readTriangleFile(Mesh& mesh, const char* name) {
    if (name == nullptr) return;
    std::ifstream in(name);
    readTriangleFile(mesh, in);
}

LatheSkin readProfileGeometry(Mesh& mesh, std::istream& in) {
    LatheSkin skin{};
    MeshFileLine line;
    int lineNumber = 0;  // stops counting at 3: every later line is a ring line
    int rings = 0;
    while (readMeshFileLine(in, line)) {
        if (lineNumber == 0) {
            skin.textureResource = readLineInteger(line);
        } else if (lineNumber == 1) {
            float p[ProfileLineNumbers];
            readLineNumbers(line, p, ProfileLineNumbers);
            skin.textureSize = p[0];
            skin.uOrigin = p[1];
            skin.uSpan = p[2];
            skin.vOrigin = p[3];
            skin.vSpan = p[4];
        } else if (lineNumber >= 3 && line.length > 0) {
            float p[ProfileLineNumbers];
            readLineNumbers(line, p, ProfileLineNumbers);
            addLatheRing(mesh, p[0], p[1], p[2], p[3], p[4]);
            if (rings < MaxStitchedRings) ++rings;
        }
        if (lineNumber < 3) ++lineNumber;
    }
    stitchLathe(mesh, rings);
    return skin;
}

LatheSkin readProfileGeometry(Mesh& mesh, const char* name) {
    if (name == nullptr) {
        stitchLathe(mesh, 0);
        return LatheSkin{};
    }
    std::ifstream in(name);
    return readProfileGeometry(mesh, in);
}

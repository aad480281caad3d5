// aquarium-meshtool: writes the compiled species models and lathe models of
// profile files as triangle files or Wavefront OBJ, and summarises triangle
// files. Needs no display: it builds geometry and texture coordinates only.
//
// Exit status: 0 done, 1 a file could not be read or written, 2 bad arguments.

#include "data/species_tables.h"
#include "mesh/lathe.h"
#include "mesh/mesh.h"
#include "mesh/mesh_file.h"
#include "io/atomic_file.h"
#include "io/cli.h"

#include "aquarium_version.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

const char* const Usage =
    "usage: aquarium-meshtool species ID [--out FILE] [--obj]\n"
    "       aquarium-meshtool profile FILE [--out FILE] [--obj]\n"
    "       aquarium-meshtool info FILE\n"
    "       aquarium-meshtool --help | --version\n"
    "\n"
    "species  writes the compiled model of species ID (101 102 103 104 105 108)\n"
    "profile  writes the lathe model built from a profile file\n"
    "info     prints the vertex and triangle counts of a triangle file, the\n"
    "         bounds of its vertices (xmin xmax ymin ymax zmin zmax) and how\n"
    "         many coordinates it read as NaN or infinite\n"
    "\n"
    "Models are written as triangle files, or as Wavefront OBJ with --obj, to\n"
    "standard output unless --out names a file, which is replaced only once the\n"
    "whole model is written. FILE - is standard input. A warning on standard\n"
    "error tells when a line over 255 characters ended the reading early or a\n"
    "profile has more rings than a model holds (the model written is cut).\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 bad arguments.\n";

constexpr int ExitFileError = 1;
constexpr int ExitUsage = 2;

// Meshes are large: static storage, one per program run.
Mesh model;

int usageError(const std::string& message) {
    std::cerr << "aquarium-meshtool: " << message << "\n" << Usage;
    return ExitUsage;
}

int fileError(const std::string& what, const std::string& name, int error) {
    std::cerr << "aquarium-meshtool: cannot " << what << " '" << name << "': "
              << std::strerror(error) << "\n";
    return ExitFileError;
}

struct Arguments {
    std::string command;
    std::string operand;
    std::string out;  // empty: standard output
    bool obj = false;
};

// Empty on success, else what is wrong.
std::string parseArguments(int argc, char** argv, Arguments& args) {
    if (argc < 2) return "no command";
    args.command = argv[1];
    if (args.command != "species" && args.command != "profile" && args.command != "info")
        return "unknown command '" + args.command + "'";
    const bool writes = args.command != "info";
    bool haveOperand = false, haveOut = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (writes && arg == "--out") {
            if (i + 1 >= argc) return "--out needs a file name";
            if (haveOut) return "--out given twice";
            args.out = argv[++i];
            if (args.out.empty()) return "--out needs a file name";
            haveOut = true;
        } else if (writes && arg == "--obj") {
            args.obj = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option '" + arg + "'";
        } else if (!haveOperand) {
            args.operand = arg;
            haveOperand = true;
        } else {
            return "unexpected argument '" + arg + "'";
        }
    }
    if (!haveOperand) return args.command == "species" ? "missing species id" : "missing file";
    return "";
}

// A whole decimal number naming a compiled species, or null.
const SpeciesTable* parseSpecies(const std::string& text) {
    if (text.empty() || text.size() > 9) return nullptr;
    for (char c : text)
        if (c < '0' || c > '9') return nullptr;
    return findSpeciesTable(std::atoi(text.c_str()));
}

// Reads all of `name` (standard input for "-") into `text`, rejecting
// folders (which open but read nothing).
bool readInput(const std::string& name, std::string& text, int& error) {
    std::ostringstream all;
    if (name == "-") {
        all << std::cin.rdbuf();
        text = all.str();
        error = EIO;
        return !std::cin.bad();
    }
    struct stat info;
    if (stat(name.c_str(), &info) != 0) {
        error = errno;
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
        return false;
    }
    errno = 0;
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        error = errno != 0 ? errno : EIO;
        return false;
    }
    all << in.rdbuf();
    text = all.str();
    error = EIO;
    return !in.bad();
}

// What the mesh file readers will make of a text, found by reading it the
// same way beforehand.
struct InputScan {
    int longLine = -1;     // the line over the limit that ends the reading, or -1
    long ringLines = 0;    // non-empty lines from line 3 on: a profile's rings
    long nonFinite = 0;    // NaN or infinite coordinates on vertex lines
};

InputScan scanInput(const std::string& text) {
    InputScan scan;
    std::istringstream in(text);
    std::string raw;
    for (int index = 0; std::getline(in, raw); ++index) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (raw.size() > static_cast<std::size_t>(MeshFileLineLimit)) {
            scan.longLine = index;
            break;
        }
        if (raw.empty()) continue;
        if (index >= 3) ++scan.ringLines;
        MeshFileLine line;
        std::memcpy(line.text, raw.c_str(), raw.size() + 1);
        line.length = static_cast<int>(raw.size());
        float p[3];
        readLineNumbers(line, p, 3);
        for (float value : p) scan.nonFinite += !std::isfinite(value);
    }
    return scan;
}

void warnLongLine(const Arguments& args, const InputScan& scan) {
    if (scan.longLine < 0) return;
    std::cerr << "aquarium-meshtool: warning: line " << scan.longLine + 1 << " of '"
              << args.operand << "' is longer than " << MeshFileLineLimit
              << " characters; reading stopped there\n";
}

// Unit vertex normal, or 0 0 0 for a vertex that no face touches.
void writeObjNormal(std::ostream& out, const Vertex& v) {
    const double length = std::sqrt(static_cast<double>(v.nx) * v.nx +
                                    static_cast<double>(v.ny) * v.ny +
                                    static_cast<double>(v.nz) * v.nz);
    if (length > 0.0 && std::isfinite(length))
        out << "vn " << v.nx / length << ' ' << v.ny / length << ' ' << v.nz / length << '\n';
    else
        out << "vn 0 0 0\n";
}

// Wavefront OBJ: every vertex gives one v, vt and vn line, so each face
// corner names the same 1-based index three times.
bool writeObj(const Mesh& mesh, const std::string& title, std::ostream& out) {
    out << "# " << title << ": " << mesh.vertexCount << " vertices, " << mesh.triangleCount
        << " triangles\n";
    for (int i = 0; i < mesh.vertexCount; ++i) {
        const Vertex& v = mesh.vertices[i];
        out << "v " << v.x << ' ' << v.y << ' ' << v.z << '\n';
    }
    for (int i = 0; i < mesh.vertexCount; ++i) {
        const Vertex& v = mesh.vertices[i];
        out << "vt " << v.u << ' ' << v.v << '\n';
    }
    for (int i = 0; i < mesh.vertexCount; ++i) writeObjNormal(out, mesh.vertices[i]);
    for (int t = 0; t < mesh.triangleCount; ++t) {
        const Triangle& triangle = mesh.triangles[t];
        out << 'f';
        for (int c = 0; c < 3; ++c) {
            const int index = triangle.corners[c] + 1;
            out << ' ' << index << '/' << index << '/' << index;
        }
        out << '\n';
    }
    out.flush();
    return static_cast<bool>(out);
}

int writeModel(const Arguments& args, const std::string& title) {
    if (args.out.empty()) {
        const bool ok = args.obj ? writeObj(model, title, std::cout)
                                 : writeTriangleFile(model, std::cout);
        if (!ok) return fileError("write", "standard output", errno != 0 ? errno : EIO);
        return finishStdout("aquarium-meshtool");
    }
    std::ostringstream text;
    if (args.obj)
        writeObj(model, title, text);
    else
        writeTriangleFile(model, text);
    const std::string bytes = text.str();
    AtomicFile out;
    if (openAtomicFile(out, args.out) &&
        std::fwrite(bytes.data(), 1, bytes.size(), out.file) == bytes.size() &&
        commitAtomicFile(out))
        return 0;
    discardAtomicFile(out);
    return fileError("write", args.out, errno != 0 ? errno : EIO);
}

int runSpecies(const Arguments& args) {
    const SpeciesTable* table = parseSpecies(args.operand);
    if (table == nullptr) return usageError("unknown species '" + args.operand + "'");
    const LatheSkin skin = buildLatheGeometry(model, table->rows, table->rowCount);
    mapLatheSkin(model, skin);
    return writeModel(args, "species " + std::to_string(table->species));
}

int runProfile(const Arguments& args) {
    std::string text;
    int error = 0;
    if (!readInput(args.operand, text, error)) return fileError("read", args.operand, error);
    const InputScan scan = scanInput(text);
    std::istringstream in(text);
    const LatheSkin skin = readProfileGeometry(model, in);
    mapLatheSkin(model, skin);
    warnLongLine(args, scan);
    // A lathe model takes 8 vertices a ring and 16 triangles a ring less 20.
    const long rings = scan.ringLines;
    const long holds = std::min(MaxVertices / LatheSegments, (MaxTriangles + 20) / 16);
    if (rings > holds) {
        std::cerr << "aquarium-meshtool: warning: '" << args.operand << "' has " << rings
                  << " rings, more than the " << holds
                  << " a model holds; the model written is cut there\n";
    }
    return writeModel(args, "profile " + args.operand);
}

int runInfo(const Arguments& args) {
    std::string text;
    int error = 0;
    if (!readInput(args.operand, text, error)) return fileError("read", args.operand, error);
    const InputScan scan = scanInput(text);
    std::istringstream in(text);
    readTriangleFile(model, in);
    // The box of the vertices themselves: the mesh's own box always contains
    // the origin, which a model off to one side does not.
    float box[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; i < model.vertexCount; ++i) {
        const Vertex& v = model.vertices[i];
        const float p[3] = {v.x, v.y, v.z};
        for (int axis = 0; axis < 3; ++axis) {
            if (i == 0 || p[axis] < box[2 * axis]) box[2 * axis] = p[axis];
            if (i == 0 || p[axis] > box[2 * axis + 1]) box[2 * axis + 1] = p[axis];
        }
    }
    std::cout << "vertices " << model.vertexCount << "\n"
              << "triangles " << model.triangleCount << "\n"
              << "bounds";
    for (float b : box) std::cout << ' ' << b;
    std::cout << "\nnon-finite " << scan.nonFinite << "\n";
    warnLongLine(args, scan);
    if (model.vertexCount >= MaxVertices || model.triangleCount >= MaxTriangles)
        std::cerr << "aquarium-meshtool: warning: the mesh store is full (" << MaxVertices
                  << " vertices, " << MaxTriangles
                  << " triangles); anything further in the file was dropped\n";
    return finishStdout("aquarium-meshtool");
}

}  // namespace

int main(int argc, char** argv) {
    if (helpRequested(argc, argv)) return printToStdout("aquarium-meshtool", Usage);
    if (versionRequested(argc, argv))
        return printToStdout("aquarium-meshtool", "aquarium-meshtool " AQUARIUM_VERSION "\n");
    Arguments args;
    const std::string problem = parseArguments(argc, argv, args);
    if (!problem.empty()) return usageError(problem);
    initMesh(model);
    if (args.command == "species") return runSpecies(args);
    if (args.command == "profile") return runProfile(args);
    return runInfo(args);
}

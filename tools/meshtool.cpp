// aquarium-meshtool: writes the compiled species models and lathe models of
// profile files as triangle files or Wavefront OBJ, and summarises triangle
// files. Needs no display: it builds geometry and texture coordinates only.
//
// Exit status: 0 done, 1 a file could not be read or written, 2 bad arguments.

#include "data/species_tables.h"
#include "mesh/lathe.h"
#include "mesh/mesh.h"
#include "mesh/mesh_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

const char* const Usage =
    "usage: aquarium-meshtool species ID [--out FILE] [--obj]\n"
    "       aquarium-meshtool profile FILE [--out FILE] [--obj]\n"
    "       aquarium-meshtool info FILE\n"
    "\n"
    "species  writes the compiled model of species ID (101 102 103 104 105 108)\n"
    "profile  writes the lathe model built from a profile file\n"
    "info     prints the vertex and triangle counts of a triangle file and the\n"
    "         bounds of its vertices (xmin xmax ymin ymax zmin zmax)\n"
    "\n"
    "Models are written as triangle files, or as Wavefront OBJ with --obj, to\n"
    "standard output unless --out names a file. FILE - is standard input.\n";

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

// Opens `name` for reading, rejecting folders (which open but read nothing).
bool openInput(const std::string& name, std::ifstream& in, int& error) {
    struct stat info;
    if (stat(name.c_str(), &info) != 0) {
        error = errno;
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
        return false;
    }
    in.open(name);
    if (!in) {
        error = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
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
        return 0;
    }
    errno = 0;
    std::ofstream out(args.out);
    if (!out) return fileError("write", args.out, errno != 0 ? errno : EIO);
    bool ok = args.obj ? writeObj(model, title, out) : writeTriangleFile(model, out);
    out.close();
    ok = ok && !out.fail();
    if (!ok) return fileError("write", args.out, errno != 0 ? errno : EIO);
    return 0;
}

int runSpecies(const Arguments& args) {
    const SpeciesTable* table = parseSpecies(args.operand);
    if (table == nullptr) return usageError("unknown species '" + args.operand + "'");
    const LatheSkin skin = buildLatheGeometry(model, table->rows, table->rowCount);
    mapLatheSkin(model, skin);
    return writeModel(args, "species " + std::to_string(table->species));
}

int runProfile(const Arguments& args) {
    LatheSkin skin;
    if (args.operand == "-") {
        skin = readProfileGeometry(model, std::cin);
    } else {
        std::ifstream in;
        int error = 0;
        if (!openInput(args.operand, in, error)) return fileError("read", args.operand, error);
        skin = readProfileGeometry(model, in);
    }
    mapLatheSkin(model, skin);
    return writeModel(args, "profile " + args.operand);
}

int runInfo(const Arguments& args) {
    if (args.operand == "-") {
        readTriangleFile(model, std::cin);
    } else {
        std::ifstream in;
        int error = 0;
        if (!openInput(args.operand, in, error)) return fileError("read", args.operand, error);
        readTriangleFile(model, in);
    }
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
    std::cout << "\n";
    std::cout.flush();
    if (model.vertexCount >= MaxVertices || model.triangleCount >= MaxTriangles)
        std::cerr << "aquarium-meshtool: warning: the mesh store is full (" << MaxVertices
                  << " vertices, " << MaxTriangles
                  << " triangles); anything further in the file was dropped\n";
    if (!std::cout) return fileError("write", "standard output", errno != 0 ? errno : EIO);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << Usage;
        return 0;
    }
    Arguments args;
    const std::string problem = parseArguments(argc, argv, args);
    if (!problem.empty()) return usageError(problem);
    initMesh(model);
    if (args.command == "species") return runSpecies(args);
    if (args.command == "profile") return runProfile(args);
    return runInfo(args);
}

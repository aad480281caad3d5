// libFuzzer target for the mesh text file readers: any input must read
// without a memory fault or undefined behaviour, and leave a mesh whose
// counts and triangle corners stay inside the stores.

#include "fish/behaviour_file.h"
#include "mesh/mesh_file.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

Fish fish;  // a Fish starts with a Mesh: large, so static

void checkMesh(const Mesh& mesh) {
    if (mesh.vertexCount < 0 || mesh.vertexCount > MaxVertices) __builtin_trap();
    if (mesh.triangleCount < 0 || mesh.triangleCount > MaxTriangles) __builtin_trap();
    for (int t = 0; t < mesh.triangleCount; ++t)
        for (int c = 0; c < 3; ++c) {
            const int corner = mesh.triangles[t].corners[c];
            if (corner < 0 || corner >= mesh.vertexCount) __builtin_trap();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    initMesh(fish);
    std::istringstream triangles(text);
    readTriangleFile(fish, triangles);
    checkMesh(fish);

    initMesh(fish);
    std::istringstream profile(text);
    mapLatheSkin(fish, readProfileGeometry(fish, profile));
    checkMesh(fish);

    std::istringstream behaviour(text);
    readBehaviourFile(fish, behaviour);
    return 0;
}

#include "fish/behaviour_file.h"

#include "mesh/mesh_file.h"

#include <fstream>
#include <istream>

namespace {

constexpr int BehaviourLine = 2;
constexpr int BehaviourLineNumbers = 18;

}  // namespace

void readBehaviourFile(Fish& fish, std::istream& in) {
    MeshFileLine line;
    for (int lineNumber = 0; lineNumber <= BehaviourLine; ++lineNumber) {
        if (!readMeshFileLine(in, line)) return;
        if (lineNumber != BehaviourLine) continue;
        float p[BehaviourLineNumbers];
        readLineNumbers(line, p, BehaviourLineNumbers);
        fish.wanderChance = p[0];
        fish.maxSpeed = p[1];
        fish.size = p[2];
        fish.yieldDistance = p[3];
        fish.flocking = p[4] == 1.0f;  // exactly 1: 1.5 does not flock here
        fish.flockRadius = p[5];
        fish.priority = p[6];
    }
}

void readBehaviourFile(Fish& fish, const char* name) {
    if (name == nullptr) return;
    std::ifstream in(name);
    readBehaviourFile(fish, in);
}

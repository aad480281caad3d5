#include "fish/behaviour_file.h"

#include "mesh/mesh_file.h"

#include <cmath>
#include <fstream>
#include <istream>

namespace {

constexpr int BehaviourLine = 2;
constexpr int BehaviourLineNumbers = 18;

}  // namespace

void setBehaviourNumbers(Fish& fish, const float numbers[BehaviourNumberCount], FlockingRule rule) {
    fish.wanderChance = numbers[0];
    fish.maxSpeed = numbers[1];
    fish.size = numbers[2];
    fish.yieldDistance = numbers[3];
    fish.flocking = (rule == FlockingRule::Truncated ? std::trunc(numbers[4]) : numbers[4]) == 1.0f;
    fish.flockRadius = numbers[5];
    fish.priority = numbers[6];
}

void readBehaviourFile(Fish& fish, std::istream& in) {
    MeshFileLine line;
    for (int lineNumber = 0; lineNumber <= BehaviourLine; ++lineNumber) {
        if (!readMeshFileLine(in, line)) return;
        if (lineNumber != BehaviourLine) continue;
        float p[BehaviourLineNumbers];
        readLineNumbers(line, p, BehaviourLineNumbers);
        setBehaviourNumbers(fish, p, FlockingRule::Exact);  // 1.5 does not flock here
    }
}

void readBehaviourFile(Fish& fish, const char* name) {
    if (name == nullptr) return;
    std::ifstream in(name);
    readBehaviourFile(fish, in);
}

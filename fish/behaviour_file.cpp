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
        setBehaviourNumbers(fish, p, FlockingRule::Exact);  // 1.5 does not flock here
    }
}

void readBehaviourFile(Fish& fish, const char* name) {
    if (name == nullptr) return;
    std::ifstream in(name);
    readBehaviourFile(fish, in);
}

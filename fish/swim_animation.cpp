#include "fish/swim_animation.h"

#include <cmath>

namespace {

constexpr double BodyPhaseSpan = 0.5;  // x pi: a quarter wave from nose to tail
constexpr double TailPhaseSpan = 4.0;  // x pi: two waves from bottom to top
constexpr double BodyAmplitudeDivisor = 30.0;  // of xMax
constexpr double TailAmplitudeDivisor = 60.0;  // of xMax
constexpr float TailStart = 0.85f;  // the tail is the last 15 % of the length
constexpr float TailShare = 0.15f;

}  // namespace

void applySwimAnimation(Fish& fish) {
    const int n = getVertexCount(fish);
    if (fish.lastStepCount == 0) fish.lastStepCount = 1;
    const float t = static_cast<float>(fish.stepCount) / static_cast<float>(fish.lastStepCount);
    const float phase = static_cast<float>((t + t) * Pi);

    const float xMin = getXMin(fish), xMax = getXMax(fish);
    const float yMin = getYMin(fish), yMax = getYMax(fish);
    const float length = xMax - xMin;
    const float height = yMax - yMin;
    for (int i = 0; i < n; ++i) {
        const Vertex rest = getRestVertex(fish, i);
        // A flat extent (never made by the profile tables) gives angle 0.
        const float a = length != 0.0f
                            ? static_cast<float>((rest.x - xMin) / length * BodyPhaseSpan * Pi)
                            : 0.0f;
        const float b = height != 0.0f
                            ? static_cast<float>((rest.y - yMin) / height * TailPhaseSpan * Pi)
                            : 0.0f;
        float z = static_cast<float>(
            rest.z + std::sin(static_cast<double>(a) + phase) * (xMax / BodyAmplitudeDivisor));
        if (rest.x - xMin > TailStart * length) {
            const float zone = TailShare * length;
            const float c = (zone - (xMax - rest.x)) / zone;  // 0 where the tail starts, 1 at xMax
            z = static_cast<float>(
                z + std::sin(static_cast<double>(b) + phase) * (xMax / TailAmplitudeDivisor) * c);
        }
        setVertexPosition(fish, i, rest.x, rest.y, z);
    }
    recomputeNormals(fish);
}

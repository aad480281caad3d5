#include "fish/fish.h"

#include "fish/behaviour_file.h"
#include "host/host.h"
#include "mesh/random.h"

void constructFish(Fish& fish) {
    initMesh(fish);

    // Reseed the shared generator from the tick count times a draw (32-bit
    // product, wrapping).
    const std::uint32_t tick = hostTickCount();
    const std::uint32_t draw = static_cast<std::uint32_t>(randomNext());
    randomSeed(tick * draw);
    const int r = randomNext();
    fish.rampPeriod = static_cast<std::int32_t>((r / 32767.0 + 0.5) * 1000.0);  // 500..1500 ms

    // The record may be reconstructed in place: every field is set here.
    fish.position = Vertex{};
    fish.orientation = Vertex{};
    fish.velocity = Vertex{};
    fish.rampStartPosition = Vertex{};
    fish.rampStartVelocity = Vertex{};
    fish.targetVelocity = Vertex{};
    fish.flockCentre = Vertex{};
    fish.flockHeading = Vertex{};
    fish.size = 2.5f;
    fish.yieldDistance = 0.0f;
    fish.flockRadius = 0.0f;
    fish.wanderChance = 0.0f;
    fish.maxSpeed = 0.0f;
    fish.rampStartTime = 0;
    fish.stepCount = 50;
    fish.lastStepCount = 50;
    fish.species = 0;
    fish.priority = 0.0f;
    fish.flocking = false;
    fish.flockShared = false;
    fish.school = nullptr;
    fish.schoolCount = 0;
    fish.obstacles = nullptr;
    fish.obstacleCount = 0;
}

void applyBehaviourParameters(Fish& fish, const ProfileRow* rows, int count) {
    if (rows == nullptr || count < 3) return;
    setBehaviourNumbers(fish, rows[2].values, FlockingRule::Truncated);
}

void linkSchool(Fish& fish, Fish* school, int count) {
    fish.school = school;
    fish.schoolCount = count;
}

void linkObstacles(Fish& fish, Decoration* obstacles, int count) {
    fish.obstacles = obstacles;
    fish.obstacleCount = count;
}

Vertex getPosition(const Fish& fish) { return fish.position; }
Vertex getVelocity(const Fish& fish) { return fish.velocity; }
int getSpecies(const Fish& fish) { return fish.species; }
float getPriority(const Fish& fish) { return fish.priority; }

Vertex predictedRampEnd(const Fish& fish) {
    // The current ramp run for lastStepCount frames with the velocity changing
    // linearly from its start value to its target.
    const float frames = static_cast<float>(fish.lastStepCount);
    Vertex end{};
    end.x = fish.rampStartPosition.x +
            (fish.rampStartVelocity.x + fish.targetVelocity.x) * frames / 2.0f;
    end.y = fish.rampStartPosition.y +
            (fish.rampStartVelocity.y + fish.targetVelocity.y) * frames / 2.0f;
    end.z = fish.rampStartPosition.z +
            (fish.rampStartVelocity.z + fish.targetVelocity.z) * frames / 2.0f;
    return end;
}

void setFlockShared(Fish& fish, bool shared) { fish.flockShared = shared; }
void setFlockHeading(Fish& fish, Vertex heading) { fish.flockHeading = heading; }
void setFlockCentre(Fish& fish, Vertex centre) { fish.flockCentre = centre; }

#include "fish/behaviour.h"

#include "fish/steering.h"
#include "host/host.h"
#include "mesh/random.h"
#include "world/tank.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float TinyComponent = 0.001f;
constexpr std::int32_t DefaultStepCount = 50;
constexpr float ReturnThreshold = 0.1f;    // q0 above this sends a stray home
constexpr float KeepCourseChance = 0.05f;  // q1 up to this keeps the old target
constexpr float ReturnSpeedFactor = 0.8f;
constexpr float HeadingSpread = 1.5f;      // share of the heading: 1.5 - q
constexpr float WanderScale = 10.0f;
constexpr float LookAheadFactor = 2.0f;    // wall test: 2 * stepCount frames ahead
constexpr float WallFactor = -0.5f;        // reversed and halved

// Uniform value in the closed range 0..1.
float draw() { return static_cast<float>(randomNext()) / static_cast<float>(RandomMax); }

// Components strictly between -0.001 and 0.001 become +0.001 (also the small
// negative ones), so no component is ever zero.
float notTiny(float value) {
    return (value > -TinyComponent && value < TinyComponent) ? TinyComponent : value;
}

void replaceTiny(Vertex& v) {
    v.x = notTiny(v.x);
    v.y = notTiny(v.y);
    v.z = notTiny(v.z);
}


// Reverses and halves a target component whose projection leaves the box
// through a wall it is heading for. For a fish inside the box that is every
// projection that leaves it; a fish already beyond a wall (a ramp carried it
// there) keeps a target that points back in, however short, instead of having
// it turned outward again, which could hold it outside the glass for minutes.
void turnAtWall(float& target, float position, std::int32_t steps, float halfExtent,
                float size) {
    const float maximum = halfExtent - size / 2.0f;
    const float minimum = size / 2.0f - halfExtent;
    const float end = position + LookAheadFactor * target * static_cast<float>(steps);
    if ((end > maximum && target > 0.0f) || (end < minimum && target < 0.0f)) {
        target = WallFactor * target;
    }
}

void chooseTarget(Fish& fish, std::uint32_t now) {
    fish.rampStartTime = now;
    fish.rampStartVelocity = fish.targetVelocity;
    fish.rampStartPosition = fish.position;

    float d[3] = {0.0f, 0.0f, 0.0f};
    const float speed = fish.maxSpeed;
    if (vectorLength(fish.velocity) == 0.0f && now != 0) {
        // At rest: a random displacement of up to maxSpeed on each axis.
        for (float& component : d) component = speed * (draw() * 2.0f - 1.0f);
    } else if (fish.flocking) {
        computeFlock(fish);
        const float q0 = draw();
        const float share = q0 * speed;
        const float distance = pointDistance(fish.position, fish.flockCentre);
        if (distance > fish.flockRadius && q0 > ReturnThreshold) {
            // Head back to the flock, or now and then keep the old target.
            d[0] = fish.flockCentre.x - fish.position.x;
            d[1] = fish.flockCentre.y - fish.position.y;
            d[2] = fish.flockCentre.z - fish.position.z;
            const float length = vectorLength(d[0], d[1], d[2]);
            if (length != 0.0f) {
                if (draw() > KeepCourseChance) {
                    for (float& component : d) component = component / length * speed * ReturnSpeedFactor;
                } else {
                    d[0] = fish.rampStartVelocity.x;
                    d[1] = fish.rampStartVelocity.y;
                    d[2] = fish.rampStartVelocity.z;
                }
            }
        } else {
            // Follow the flock's heading at a random share of the speed.
            const float m = vectorLength(fish.flockHeading);
            if (m != 0.0f) {
                const float heading[3] = {fish.flockHeading.x, fish.flockHeading.y,
                                          fish.flockHeading.z};
                for (int axis = 0; axis < 3; ++axis) {
                    d[axis] = heading[axis] / m * share * (HeadingSpread - draw());
                }
            }
        }
    } else {
        // Wander: keep the course on an axis unless its draw says otherwise;
        // a new z displacement is never positive.
        const float course[3] = {fish.velocity.x, fish.velocity.y, fish.velocity.z};
        for (int axis = 0; axis < 3; ++axis) {
            const float q = draw();
            d[axis] = static_cast<float>(fish.stepCount) * course[axis];
            if (q * WanderScale < fish.wanderChance) {
                const float q2 = draw();
                d[axis] = axis < 2 ? speed * (q2 * 2.0f - 1.0f) : speed * q2 - speed;
            }
        }
    }
    for (float& component : d) component = notTiny(component);

    fish.velocity = fish.rampStartVelocity;
    if (fish.stepCount == 0) fish.stepCount = DefaultStepCount;
    const float steps = static_cast<float>(fish.stepCount);
    fish.targetVelocity.x = d[0] / steps;
    fish.targetVelocity.y = d[1] / steps;
    fish.targetVelocity.z = d[2] / steps;

    avoidCollisions(fish);

    turnAtWall(fish.targetVelocity.x, fish.position.x, fish.stepCount, TankHalfWidth, fish.size);
    turnAtWall(fish.targetVelocity.y, fish.position.y, fish.stepCount, TankHalfHeight, fish.size);
    turnAtWall(fish.targetVelocity.z, fish.position.z, fish.stepCount, TankHalfDepth, fish.size);

    fish.lastStepCount = fish.stepCount;
    fish.stepCount = 0;
}

}  // namespace

void behaviourStep(Fish& fish) {
    const std::uint32_t now = hostTickCount();
    // Elapsed time in unsigned 32-bit arithmetic stays right across the tick
    // count's wrap (every 49.7 days), where start + period would overflow.
    const std::uint32_t elapsed = now - fish.rampStartTime;
    if (fish.rampPeriod > 0 && elapsed < static_cast<std::uint32_t>(fish.rampPeriod)) {
        ++fish.stepCount;
        const float f = static_cast<float>(elapsed) / static_cast<float>(fish.rampPeriod);
        fish.velocity.x = (fish.targetVelocity.x - fish.rampStartVelocity.x) * f + fish.rampStartVelocity.x;
        fish.velocity.y = (fish.targetVelocity.y - fish.rampStartVelocity.y) * f + fish.rampStartVelocity.y;
        fish.velocity.z = (fish.targetVelocity.z - fish.rampStartVelocity.z) * f + fish.rampStartVelocity.z;
        replaceTiny(fish.velocity);
        return;
    }
    chooseTarget(fish, now);
}

Vertex orientationFromVelocity(Vertex velocity) {
    const Heading heading = headingOf(velocity);
    Vertex angles{};
    angles.y = static_cast<float>(heading.yaw * 180.0 / Pi);
    angles.z = static_cast<float>(heading.pitch * 180.0 / Pi);
    return angles;
}

void updateFish(Fish& fish) {
    behaviourStep(fish);
    const Vertex angles = orientationFromVelocity(fish.velocity);
    fish.orientation.x = 0.0f;
    fish.orientation.y = angles.y;
    fish.orientation.z = angles.z;
    fish.position.x += fish.velocity.x;
    fish.position.y += fish.velocity.y;
    fish.position.z += fish.velocity.z;
}

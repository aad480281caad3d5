#include "fish/steering.h"

#include "world/decoration.h"

#include <algorithm>
#include <cmath>

void probeBox(const Fish& fish, Vertex point, Vertex direction, Vertex corners[ProbeCorners]) {
    const float xMin = getXMin(fish), xMax = getXMax(fish);
    const float yMin = getYMin(fish), yMax = getYMax(fish);
    const float zMin = getZMin(fish), zMax = getZMax(fish);
    const float local[ProbeCorners][3] = {
        {xMin, yMax, zMax}, {xMin, yMax, zMin}, {xMax, yMax, zMin}, {xMax, yMax, zMax},
        {xMin, yMin, zMax}, {xMin, yMin, zMin}, {xMax, yMin, zMin}, {xMax, yMin, zMax},
    };

    // The box turns as the fish is drawn: psi is the drawn yaw negated
    // because the turn below carries the nose to (-cos psi, 0, -sin psi).
    const Heading heading = headingOf(direction);
    const double theta = heading.pitch;
    const double psi = -heading.yaw;

    const double cosT = std::cos(theta), sinT = std::sin(theta);
    const double cosP = std::cos(psi), sinP = std::sin(psi);
    for (int i = 0; i < ProbeCorners; ++i) {
        const double x = local[i][0], y = local[i][1], z = local[i][2];
        const double x1 = x * cosT - y * sinT;
        const double y1 = x * sinT + y * cosT;
        const double x2 = x1 * cosP - z * sinP;
        const double z2 = x1 * sinP + z * cosP;
        corners[i] = Vertex{};
        corners[i].x = static_cast<float>(x2 + point.x);
        corners[i].y = static_cast<float>(y1 + point.y);
        corners[i].z = static_cast<float>(z2 + point.z);
    }
}

namespace {

// True when no sample of any corner path can lie inside the decoration's
// widened cylinder: the box around the sixteen path ends (samples lie between
// them, off by float rounding at most, hence the slack) misses the box around
// the cylinder. NaN never rejects; the full test then answers.
bool pathsMiss(const Decoration& decoration, const Vertex startBox[ProbeCorners],
               const Vertex endBox[ProbeCorners], float margin) {
    float lo[3] = {startBox[0].x, startBox[0].y, startBox[0].z};
    float hi[3] = {lo[0], lo[1], lo[2]};
    for (int i = 0; i < 2 * ProbeCorners; ++i) {
        const Vertex& p = i < ProbeCorners ? startBox[i] : endBox[i - ProbeCorners];
        const float c[3] = {p.x, p.y, p.z};
        for (int a = 0; a < 3; ++a) {
            lo[a] = std::min(lo[a], c[a]);
            hi[a] = std::max(hi[a], c[a]);
        }
    }
    const float reach = decoration.radius + margin;
    const float slack = 1e-3f * (1.0f + reach + std::fabs(margin));
    const Vertex& at = decoration.position;
    return hi[0] < at.x - reach - slack || lo[0] > at.x + reach + slack ||
           hi[2] < at.z - reach - slack || lo[2] > at.z + reach + slack ||
           hi[1] < at.y - margin / 2.0f - slack || lo[1] > at.y + 1.0f + margin / 2.0f + slack;
}

int countPathHits(const Fish& fish, const Decoration& decoration,
                  const Vertex startBox[ProbeCorners], const Vertex endBox[ProbeCorners]) {
    if (pathsMiss(decoration, startBox, endBox, fish.size)) return 0;
    int hits = 0;
    for (int i = 0; i < ProbeCorners; ++i) {
        if (blocksSegment(decoration, startBox[i], endBox[i], fish.size)) ++hits;
    }
    return hits;
}

}  // namespace

int countProbeHits(const Fish& fish, const Decoration& decoration) {
    Vertex startBox[ProbeCorners];
    Vertex endBox[ProbeCorners];
    probeBox(fish, fish.position, fish.velocity, startBox);
    probeBox(fish, predictedRampEnd(fish), fish.targetVelocity, endBox);
    return countPathHits(fish, decoration, startBox, endBox);
}

void avoidCollisions(Fish& fish) {
    const Vertex here = fish.position;
    const Vertex myEnd = predictedRampEnd(fish);  // taken once, not after reversals

    // Give way: one reversal per qualifying fish, so an even number cancels.
    for (int i = 0; i < fish.schoolCount; ++i) {
        const Fish& other = fish.school[i];
        if (&other == &fish) continue;
        const float d = pointDistance(myEnd, predictedRampEnd(other));
        if (d < fish.yieldDistance && getPriority(other) > fish.priority) {
            fish.targetVelocity.x = -fish.targetVelocity.x;
            fish.targetVelocity.y = -fish.targetVelocity.y;
            fish.targetVelocity.z = -fish.targetVelocity.z;
        }
    }

    // Turn away from each rock met, in order: the last one met decides. The
    // body now does not change during the loop; the end box follows the
    // target, so it is rebuilt after every turn.
    Vertex startBox[ProbeCorners];
    Vertex endBox[ProbeCorners];
    probeBox(fish, fish.position, fish.velocity, startBox);
    probeBox(fish, predictedRampEnd(fish), fish.targetVelocity, endBox);
    for (int k = 0; k < fish.obstacleCount; ++k) {
        const Decoration& rock = fish.obstacles[k];
        if (countPathHits(fish, rock, startBox, endBox) < 1) continue;
        const float speed = vectorLength(fish.targetVelocity);
        const float ax = here.x - rock.position.x;
        const float ay = here.y - rock.position.y;
        const float az = here.z - rock.position.z;
        const float length = vectorLength(ax, ay, az);
        if (length == 0.0f) continue;
        fish.targetVelocity.x = ax / length * speed;
        fish.targetVelocity.y = ay / length * speed;
        fish.targetVelocity.z = az / length * speed;
        probeBox(fish, predictedRampEnd(fish), fish.targetVelocity, endBox);
    }
}

void computeFlock(Fish& fish) {
    if (fish.flockShared) return;  // a mate computed it for us; the flag stays
    const int species = fish.species;
    float sx = 0.0f, sy = 0.0f, sz = 0.0f;
    float vx = 0.0f, vy = 0.0f, vz = 0.0f;
    int n = 0, nNear = 0;
    for (int i = 0; i < fish.schoolCount; ++i) {
        const Fish& mate = fish.school[i];
        if (getSpecies(mate) != species) continue;
        const Vertex p = getPosition(mate);
        const Vertex v = getVelocity(mate);
        sx += p.x;
        sy += p.y;
        sz += p.z;
        // Measured against the centre of the previous computation.
        if (pointDistance(p, fish.flockCentre) <= fish.flockRadius) {
            vx += v.x;
            vy += v.y;
            vz += v.z;
            ++nNear;
        }
        ++n;
    }
    // The fish is normally in its own school; unlinked, it is its own flock.
    const bool inSchool = n > 0;
    if (!inSchool) {
        const Vertex p = getPosition(fish);
        sx = p.x;
        sy = p.y;
        sz = p.z;
        n = 1;
    }
    Vertex centre{};
    centre.x = sx / static_cast<float>(n);
    centre.y = sy / static_cast<float>(n);
    centre.z = sz / static_cast<float>(n);
    Vertex heading{};
    if (nNear > 0) {
        heading.x = vx / static_cast<float>(nNear);
        heading.y = vy / static_cast<float>(nNear);
        heading.z = vz / static_cast<float>(nNear);
    }
    for (int i = 0; i < fish.schoolCount; ++i) {
        Fish& mate = fish.school[i];
        if (getSpecies(mate) != species) continue;
        setFlockHeading(mate, heading);
        setFlockCentre(mate, centre);
        setFlockShared(mate, true);
    }
    if (!inSchool) {
        setFlockHeading(fish, heading);
        setFlockCentre(fish, centre);
    }
    setFlockShared(fish, false);
}

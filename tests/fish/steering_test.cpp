#include "fish/steering.h"

#include "data/species_tables.h"
#include "fish/behaviour.h"
#include "fish/species_model.h"
#include "mesh/random.h"
#include "scene/decoration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

Vertex vec(float x, float y, float z) {
    Vertex v{};
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}

// A fish with the body of species 103 (its bounds give the probe box).
std::unique_ptr<Fish> bodiedFish() {
    auto fish = std::make_unique<Fish>();
    constructFish(*fish);
    buildSpeciesGeometry(*fish, profile103, 22);
    return fish;
}

// Fish in a school of `count`, each with a ramp that ends where it stands.
std::unique_ptr<Fish[]> school(int count) {
    auto fish = std::make_unique<Fish[]>(count);
    for (int i = 0; i < count; ++i) {
        constructFish(fish[i]);
        linkSchool(fish[i], fish.get(), count);
        fish[i].lastStepCount = 0;  // predicted end = rampStartPosition
    }
    return fish;
}

std::unique_ptr<Decoration> rockAt(float x, float y, float z, float radius) {
    auto d = std::make_unique<Decoration>();
    constructDecoration(*d);
    setPosition(*d, x, y, z);
    d->radius = radius;
    return d;
}

}  // namespace

TEST(ProbeBox, UnturnedForNoseFirstZeroAndVerticalDirections) {
    auto fish = bodiedFish();
    const Vertex point = vec(1.0f, -2.0f, 3.0f);
    const float xs[8] = {fish->xMin, fish->xMin, fish->xMax, fish->xMax,
                         fish->xMin, fish->xMin, fish->xMax, fish->xMax};
    const float ys[8] = {fish->yMax, fish->yMax, fish->yMax, fish->yMax,
                         fish->yMin, fish->yMin, fish->yMin, fish->yMin};
    const float zs[8] = {fish->zMax, fish->zMin, fish->zMin, fish->zMax,
                         fish->zMax, fish->zMin, fish->zMin, fish->zMax};
    for (const Vertex& direction : {vec(-1, 0, 0), vec(0, 0, 0), vec(0, 5, 0), vec(-2, 0, 0)}) {
        Vertex box[ProbeCorners];
        probeBox(*fish, point, direction, box);
        for (int i = 0; i < ProbeCorners; ++i) {
            EXPECT_FLOAT_EQ(box[i].x, xs[i] + point.x) << i;
            EXPECT_FLOAT_EQ(box[i].y, ys[i] + point.y) << i;
            EXPECT_FLOAT_EQ(box[i].z, zs[i] + point.z) << i;
        }
    }
}

TEST(ProbeBox, DescendingDirectionTurnsTheNoseDown) {
    auto fish = bodiedFish();
    Vertex box[ProbeCorners];
    probeBox(*fish, vec(0, 0, 0), vec(-1, -1, 0), box);
    const double c = std::cos(3.141592653589793 / 4), s = std::sin(3.141592653589793 / 4);
    // Corner 0 (xMin, yMax, zMax) turned by +pi/4 about z.
    EXPECT_NEAR(box[0].x, fish->xMin * c - fish->yMax * s, 1e-5);
    EXPECT_NEAR(box[0].y, fish->xMin * s + fish->yMax * c, 1e-5);
    EXPECT_FLOAT_EQ(box[0].z, fish->zMax);
    EXPECT_LT(box[4].y, fish->yMin);  // the nose end sinks below the body
}

TEST(ProbeBox, NoseEndLiesAheadAlongTheDirection) {
    auto fish = bodiedFish();
    const Vertex directions[] = {vec(1, 0, 0),    vec(0, 0, 1),     vec(0, 0, -1),
                                 vec(1, 0, 1),    vec(-1, 0, -1),   vec(1, 0, -1),
                                 vec(-1, 0, 1),   vec(0.3f, 0.4f, -0.8f), vec(-0.2f, -0.5f, 0.6f),
                                 vec(0.001f, 0.001f, 0.001f)};
    for (const Vertex& d : directions) {
        Vertex box[ProbeCorners];
        probeBox(*fish, vec(0, 0, 0), d, box);
        // Nose face (corners 0, 1, 4, 5) minus tail face (2, 3, 6, 7) is the
        // body axis from tail to nose.
        double axis[3] = {0, 0, 0};
        const int nose[4] = {0, 1, 4, 5}, tail[4] = {3, 2, 7, 6};
        for (int k = 0; k < 4; ++k) {
            axis[0] += box[nose[k]].x - box[tail[k]].x;
            axis[1] += box[nose[k]].y - box[tail[k]].y;
            axis[2] += box[nose[k]].z - box[tail[k]].z;
        }
        const double a = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
        const double l = std::sqrt(double(d.x) * d.x + double(d.y) * d.y + double(d.z) * d.z);
        EXPECT_NEAR(axis[0] / a, d.x / l, 1e-5) << d.x << " " << d.y << " " << d.z;
        EXPECT_NEAR(axis[1] / a, d.y / l, 1e-5) << d.x << " " << d.y << " " << d.z;
        EXPECT_NEAR(axis[2] / a, d.z / l, 1e-5) << d.x << " " << d.y << " " << d.z;
    }
}

TEST(ProbeBox, MatchesTheDrawnBodyCornerForCorner) {
    // drawFish turns the model by glRotatef(yaw, 0, 1, 0) then
    // glRotatef(pitch, 0, 0, 1): the probe box must be that same body.
    auto fish = bodiedFish();
    const double pi = 3.141592653589793;
    const Vertex velocities[] = {vec(0.2f, 0.1f, 0.3f), vec(-0.3f, -0.2f, -0.1f),
                                 vec(0.1f, 0.05f, -0.4f), vec(-0.1f, 0.3f, 0.2f)};
    for (const Vertex& v : velocities) {
        const Vertex angles = orientationFromVelocity(v);
        Vertex box[ProbeCorners];
        probeBox(*fish, vec(0, 0, 0), v, box);
        const double b = angles.z * pi / 180.0, a = angles.y * pi / 180.0;
        const float local[8][3] = {
            {fish->xMin, fish->yMax, fish->zMax}, {fish->xMin, fish->yMax, fish->zMin},
            {fish->xMax, fish->yMax, fish->zMin}, {fish->xMax, fish->yMax, fish->zMax},
            {fish->xMin, fish->yMin, fish->zMax}, {fish->xMin, fish->yMin, fish->zMin},
            {fish->xMax, fish->yMin, fish->zMin}, {fish->xMax, fish->yMin, fish->zMax}};
        for (int i = 0; i < ProbeCorners; ++i) {
            const double x1 = local[i][0] * std::cos(b) - local[i][1] * std::sin(b);
            const double y1 = local[i][0] * std::sin(b) + local[i][1] * std::cos(b);
            const double x2 = x1 * std::cos(a) + local[i][2] * std::sin(a);
            const double z2 = -x1 * std::sin(a) + local[i][2] * std::cos(a);
            EXPECT_NEAR(box[i].x, x2, 1e-4) << i;
            EXPECT_NEAR(box[i].y, y1, 1e-4) << i;
            EXPECT_NEAR(box[i].z, z2, 1e-4) << i;
        }
    }
}

TEST(Yielding, ReversesOncePerFishOfHigherPriorityNearby) {
    auto fish = school(3);
    fish[0].priority = 3.0f;
    fish[0].yieldDistance = 2.0f;
    fish[0].targetVelocity = vec(0.1f, -0.2f, 0.3f);
    fish[1].rampStartPosition = vec(1.0f, 0.0f, 0.0f);  // within 2 of fish 0's end
    fish[2].rampStartPosition = vec(0.0f, 1.5f, 0.0f);

    // One higher-priority fish near: reversed.
    fish[1].priority = 8.0f;
    fish[2].priority = 1.0f;
    avoidCollisions(fish[0]);
    EXPECT_FLOAT_EQ(fish[0].targetVelocity.x, -0.1f);
    EXPECT_FLOAT_EQ(fish[0].targetVelocity.y, 0.2f);
    EXPECT_FLOAT_EQ(fish[0].targetVelocity.z, -0.3f);

    // Two: reversed twice, so unchanged.
    fish[0].targetVelocity = vec(0.1f, -0.2f, 0.3f);
    fish[2].priority = 4.0f;
    avoidCollisions(fish[0]);
    EXPECT_FLOAT_EQ(fish[0].targetVelocity.x, 0.1f);

    // Equal priority never yields; neither does a fish beyond yieldDistance.
    fish[1].priority = 3.0f;
    fish[2].rampStartPosition = vec(0.0f, 2.0f, 0.0f);  // exactly 2: not under it
    avoidCollisions(fish[0]);
    EXPECT_FLOAT_EQ(fish[0].targetVelocity.x, 0.1f);
}

TEST(Yielding, ASchoolOfOneSkipsItself) {
    auto fish = school(1);
    fish[0].yieldDistance = 5.0f;
    fish[0].priority = -1.0f;
    fish[0].targetVelocity = vec(0.1f, 0.1f, 0.1f);
    avoidCollisions(fish[0]);
    EXPECT_FLOAT_EQ(fish[0].targetVelocity.x, 0.1f);
}

TEST(ObstacleAvoidance, TurnsFromTheRockBaseAtTheSameSpeed) {
    auto fish = school(1);
    auto rock = rockAt(0.0f, -12.0f, 0.0f, 3.0f);
    auto farRock = rockAt(20.0f, 5.0f, 8.0f, 1.0f);
    // Copy the records into one array as the scene holds them.
    auto array = std::make_unique<Decoration[]>(2);
    array[0] = *rock;
    array[1] = *farRock;
    linkObstacles(fish[0], array.get(), 2);
    fish[0].size = 4.0f;  // the bodiless fish is a point: widen enough to reach
    fish[0].position = vec(0.0f, -9.0f, 0.0f);
    fish[0].rampStartPosition = fish[0].position;
    fish[0].velocity = vec(0.1f, 0.0f, 0.0f);
    fish[0].rampStartVelocity = fish[0].velocity;
    fish[0].targetVelocity = vec(0.1f, 0.0f, 0.0f);
    fish[0].lastStepCount = 10;
    EXPECT_GT(countProbeHits(fish[0], array[0]), 0);
    EXPECT_EQ(countProbeHits(fish[0], array[1]), 0);
    avoidCollisions(fish[0]);
    EXPECT_NEAR(fish[0].targetVelocity.x, 0.0f, 1e-7f);
    EXPECT_FLOAT_EQ(fish[0].targetVelocity.y, 0.1f);
    EXPECT_NEAR(fish[0].targetVelocity.z, 0.0f, 1e-7f);
}

TEST(ObstacleAvoidance, TheLastRockMetDecides) {
    auto fish = school(1);
    auto array = std::make_unique<Decoration[]>(2);
    constructDecoration(array[0]);
    constructDecoration(array[1]);
    setPosition(array[0], 0.0f, -12.0f, 0.0f);
    setPosition(array[1], 1.0f, -9.0f, 0.0f);  // directly +x of the fish
    array[0].radius = 3.0f;
    array[1].radius = 3.0f;
    linkObstacles(fish[0], array.get(), 2);
    fish[0].size = 4.0f;
    fish[0].position = vec(0.0f, -9.0f, 0.0f);
    fish[0].rampStartPosition = fish[0].position;
    fish[0].velocity = vec(0.1f, 0.0f, 0.0f);
    fish[0].rampStartVelocity = fish[0].velocity;
    fish[0].targetVelocity = vec(0.1f, 0.0f, 0.0f);
    fish[0].lastStepCount = 10;
    avoidCollisions(fish[0]);
    EXPECT_FLOAT_EQ(fish[0].targetVelocity.x, -0.1f);
    EXPECT_NEAR(fish[0].targetVelocity.y, 0.0f, 1e-7f);

    // Standing on a rock's base point: no direction to turn, target kept.
    linkObstacles(fish[0], array.get(), 1);
    fish[0].position = vec(0.0f, -12.0f, 0.0f);
    fish[0].rampStartPosition = fish[0].position;
    fish[0].targetVelocity = vec(0.1f, 0.0f, 0.0f);
    avoidCollisions(fish[0]);
    EXPECT_FLOAT_EQ(fish[0].targetVelocity.x, 0.1f);
}

TEST(Flocking, CentreOfAllMatesAndHeadingOfThoseNearTheOldCentre) {
    auto fish = school(4);
    for (int i = 0; i < 3; ++i) {
        fish[i].species = 103;
        fish[i].flockRadius = 6.0f;
        fish[i].position = vec(3.0f * i, 0.0f, 0.0f);
    }
    fish[0].velocity = vec(1, 0, 0);
    fish[1].velocity = vec(0, 1, 0);
    fish[2].velocity = vec(0, 0, 1);
    fish[3].species = 102;  // another species: neither counted nor written
    fish[3].position = vec(100, 0, 0);
    fish[3].velocity = vec(5, 5, 5);

    computeFlock(fish[0]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(fish[i].flockCentre.x, 3.0f);
        EXPECT_FLOAT_EQ(fish[i].flockHeading.x, 1.0f / 3.0f);
        EXPECT_FLOAT_EQ(fish[i].flockHeading.y, 1.0f / 3.0f);
        EXPECT_FLOAT_EQ(fish[i].flockHeading.z, 1.0f / 3.0f);
    }
    EXPECT_FALSE(fish[0].flockShared);
    EXPECT_TRUE(fish[1].flockShared);
    EXPECT_TRUE(fish[2].flockShared);
    EXPECT_FALSE(fish[3].flockShared);
    EXPECT_EQ(fish[3].flockCentre.x, 0.0f);

    // A mate whose flag is set skips the computation and keeps the flag.
    fish[1].position = vec(50, 0, 0);
    computeFlock(fish[1]);
    EXPECT_FLOAT_EQ(fish[1].flockCentre.x, 3.0f);
    EXPECT_TRUE(fish[1].flockShared);
}

TEST(Flocking, RadiusLimitsTheHeadingToMatesNearTheOldCentre) {
    auto fish = school(3);
    for (int i = 0; i < 3; ++i) {
        fish[i].species = 103;
        fish[i].flockRadius = 5.0f;
        fish[i].position = vec(3.0f * i, 0.0f, 0.0f);
    }
    fish[0].velocity = vec(1, 0, 0);
    fish[1].velocity = vec(0, 1, 0);
    fish[2].velocity = vec(0, 0, 1);
    computeFlock(fish[0]);
    EXPECT_FLOAT_EQ(fish[2].flockCentre.x, 3.0f);
    EXPECT_FLOAT_EQ(fish[2].flockHeading.x, 0.5f);
    EXPECT_FLOAT_EQ(fish[2].flockHeading.y, 0.5f);
    EXPECT_FLOAT_EQ(fish[2].flockHeading.z, 0.0f);
}

TEST(Flocking, AnUnlinkedFishIsItsOwnFlock) {
    auto fish = std::make_unique<Fish>();
    constructFish(*fish);
    fish->position = vec(2, 3, 4);
    fish->velocity = vec(1, 1, 1);
    computeFlock(*fish);
    EXPECT_EQ(fish->flockCentre.x, 2.0f);
    EXPECT_EQ(fish->flockCentre.z, 4.0f);
    EXPECT_EQ(fish->flockHeading.x, 0.0f);
    EXPECT_FALSE(fish->flockShared);
}

TEST(ObstacleAvoidance, ProbeCountEqualsTheSegmentTestOfEveryCorner) {
    // countProbeHits skips rocks that the corner paths cannot reach; over many
    // poses around a rock it must agree with testing all eight paths.
    auto fish = bodiedFish();
    auto rock = rockAt(-3.0f, -10.0f, -1.0f, 4.0f);
    randomSeed(4242u);
    auto uniform = [](float lo, float hi) {
        return lo + (hi - lo) * static_cast<float>(randomNext()) / 32767.0f;
    };
    int hitPoses = 0;
    for (int i = 0; i < 5000; ++i) {
        fish->position = vec(uniform(-14, 8), uniform(-16, -3), uniform(-11, 9));
        fish->rampStartPosition = fish->position;
        fish->velocity = vec(uniform(-0.2f, 0.2f), uniform(-0.2f, 0.2f), uniform(-0.2f, 0.2f));
        fish->rampStartVelocity = fish->velocity;
        fish->targetVelocity = vec(uniform(-0.2f, 0.2f), uniform(-0.2f, 0.2f), uniform(-0.2f, 0.2f));
        fish->lastStepCount = static_cast<int>(uniform(1, 100));
        fish->size = uniform(0.5f, 3.0f);
        Vertex startBox[ProbeCorners], endBox[ProbeCorners];
        probeBox(*fish, fish->position, fish->velocity, startBox);
        probeBox(*fish, predictedRampEnd(*fish), fish->targetVelocity, endBox);
        int expected = 0;
        for (int c = 0; c < ProbeCorners; ++c) {
            if (blocksSegment(*rock, startBox[c], endBox[c], fish->size)) ++expected;
        }
        ASSERT_EQ(countProbeHits(*fish, *rock), expected) << "pose " << i;
        if (expected > 0) ++hitPoses;
    }
    EXPECT_GT(hitPoses, 100);
    EXPECT_LT(hitPoses, 4900);
}

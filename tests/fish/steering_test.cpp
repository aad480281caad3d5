#include "fish/steering.h"

#include "tests/support/fish_fixtures.h"

// Fish 0's ramp of 4 steps from rest ends at E = (1, -0.5, 1.5), once, even
// when the first reversal has turned it round; each other fish ends 2 units
// along -z from where its ramp starts, and what counts is where it ends.
TEST(Yielding, ReversesOncePerFishOfHigherPriorityNearTheRampEnd) {
    auto fish = makeSchool(3);
    fish[0].priority = 3.0f;
    fish[0].yieldDistance = 2.0f;
    for (int i = 0; i < 3; ++i) fish[i].lastStepCount = i == 0 ? 4 : 2;
    for (int i = 1; i < 3; ++i) fish[i].rampStartVelocity = fish[i].targetVelocity = vec(0, 0, -1);
    fish[1].rampStartPosition = vec(2, -0.5f, 3.5f);  // ends 1 from E
    fish[2].rampStartPosition = vec(1, 1, 3.5f);      // ends 1.5 from E
    auto targetAfterYielding = [&fish] {
        fish[0].targetVelocity = vec(0.5f, -0.25f, 0.75f);
        avoidCollisions(fish[0]);
        return fish[0].targetVelocity;
    };
    fish[1].priority = 8.0f, fish[2].priority = 1.0f;
    EXPECT_TRUE(vecNear(targetAfterYielding(), vec(-0.5f, 0.25f, -0.75f))) << "one higher";
    fish[2].priority = 4.0f;
    EXPECT_TRUE(vecNear(targetAfterYielding(), vec(0.5f, -0.25f, 0.75f))) << "two: twice";
    fish[1].priority = 3.0f;                         // equal priority never yields
    fish[2].rampStartPosition = vec(1, 1.5f, 3.5f);  // ends exactly yieldDistance from E
    EXPECT_TRUE(vecNear(targetAfterYielding(), vec(0.5f, -0.25f, 0.75f)));
}

TEST(ObstacleAvoidance, TurnsAwayFromTheRockBaseAtTheSameSpeed) {
    // Rocks as x, y, z and radius; the speed along +x, now and at the ramp's end.
    const struct { const char* what; float rocks[2][4]; Vertex at; float speed; Vertex expected; }
        cases[] = {
        {"turns up from the base below; the far rock plays no part",
         {{0, -12, 0, 3}, {20, 5, 8, 1}}, vec(0, -9, 0), 0.1f, vec(0, 0.1f, 0)},
        {"the turned path is probed anew and now misses the rock ahead",
         {{0, -12, 0, 3}, {6, -9, 0, 0.1f}}, vec(0, -9, 0), 0.3f, vec(0, 0.3f, 0)},
        {"on the base point of the first: no direction from it, the next decides",
         {{0, -12, 0, 3}, {1, -12, 0, 3}}, vec(0, -12, 0), 0.1f, vec(-0.1f, 0, 0)},
    };
    for (const auto& c : cases) {
        auto fish = makeSchool(1);
        auto rocks = std::make_unique<Decoration[]>(2);
        for (int k = 0; k < 2; ++k)
            placeRock(rocks[k], c.rocks[k][0], c.rocks[k][1], c.rocks[k][2], c.rocks[k][3]);
        linkObstacles(fish[0], rocks.get(), 2);
        fish[0].size = 4.0f;  // the bodiless fish is a point: widen enough to reach
        fish[0].position = fish[0].rampStartPosition = c.at;  // 10 frames at the same speed
        fish[0].velocity = fish[0].rampStartVelocity = fish[0].targetVelocity = vec(c.speed, 0, 0);
        fish[0].lastStepCount = 10;
        avoidCollisions(fish[0]);
        EXPECT_TRUE(vecNear(fish[0].targetVelocity, c.expected)) << c.what;
    }
}

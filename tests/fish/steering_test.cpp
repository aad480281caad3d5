#include "fish/steering.h"

#include "tests/support/fish_fixtures.h"

TEST(ObstacleAvoidance, TurnsAwayFromTheRockBaseAtTheSameSpeed) {
    // Rocks as x, y, z and radius; the speed along +x, now and at the ramp's end.
    const struct { const char* what; float rocks[2][4]; Vertex at; float speed; Vertex expected; }
        cases[] = {
        {"turns up from the base below; the far rock plays no part",
         {{0, -12, 0, 3}, {20, 5, 8, 1}}, vec(0, -9, 0), 0.1f, vec(0, 0.1f, 0)},
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

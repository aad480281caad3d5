#include "scene/decoration.h"

#include "mesh/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

Vertex point(float x, float y, float z) {
    Vertex v{};
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}

// A decoration at (0, -12, 0) with radius 3, tested with margin 2.
std::unique_ptr<Decoration> slabOnTheFloor() {
    auto d = std::make_unique<Decoration>();
    constructDecoration(*d);
    setPosition(*d, 0.0f, -12.0f, 0.0f);
    d->radius = 3.0f;
    return d;
}

}  // namespace

TEST(Decoration, ConstructionDrawsTheYawThenTheRock) {
    auto d = std::make_unique<Decoration>();
    randomSeed(777u);
    const int yawDraw = randomNext();
    for (int i = 0; i < 36; ++i) randomNext();
    const std::uint32_t after = randomState();

    randomSeed(777u);
    constructDecoration(*d);
    EXPECT_EQ(randomState(), after);  // 1 + 36 draws
    EXPECT_FLOAT_EQ(d->yaw, static_cast<float>(yawDraw) / 32767.0f * 360.0f);
    EXPECT_EQ(d->position.x, 0.0f);
    EXPECT_EQ(d->position.y, 0.0f);
    EXPECT_EQ(d->position.z, 0.0f);
    EXPECT_EQ(getVertexCount(*d), 12);
    EXPECT_EQ(getTriangleCount(*d), 20);
    EXPECT_GT(d->radius, 2.0f);
    EXPECT_EQ(getTexture(*d), 0u);
}

TEST(Decoration, SetPositionKeepsOnlyTheLastPlaceAndNothingElse) {
    auto d = std::make_unique<Decoration>();
    constructDecoration(*d);
    const float yaw = d->yaw, radius = d->radius;
    const Vertex v3 = getVertex(*d, 3);
    setTexture(*d, 9u);
    setPosition(*d, 1.0f, 2.0f, 3.0f);
    setPosition(*d, -15.0f, -12.0f, 1.0f);
    EXPECT_EQ(d->position.x, -15.0f);
    EXPECT_EQ(d->position.y, -12.0f);
    EXPECT_EQ(d->position.z, 1.0f);
    EXPECT_EQ(d->yaw, yaw);
    EXPECT_EQ(d->radius, radius);
    EXPECT_EQ(getTexture(*d), 9u);
    EXPECT_EQ(getVertex(*d, 3).x, v3.x);
    EXPECT_EQ(getVertexCount(*d), 12);
}

TEST(Decoration, CylinderIncludesItsFacesButNotItsCurvedWall) {
    auto d = slabOnTheFloor();
    EXPECT_TRUE(containsPoint(*d, 0.0f, -13.0f, 0.0f, 2.0f));    // dy = -m/2
    EXPECT_TRUE(containsPoint(*d, 0.0f, -10.0f, 0.0f, 2.0f));    // dy = m/2 + 1
    EXPECT_FALSE(containsPoint(*d, 0.0f, -13.01f, 0.0f, 2.0f));
    EXPECT_FALSE(containsPoint(*d, 0.0f, -9.99f, 0.0f, 2.0f));
    EXPECT_FALSE(containsPoint(*d, 5.0f, -12.0f, 0.0f, 2.0f));   // exactly radius + m
    EXPECT_TRUE(containsPoint(*d, 4.99f, -12.0f, 0.0f, 2.0f));
    EXPECT_FALSE(containsPoint(*d, 3.0f, -12.0f, 4.0f, 2.0f));   // 5 away diagonally
    EXPECT_TRUE(containsPoint(*d, 0.0f, -11.5f, -4.9f, 2.0f));
}

TEST(Decoration, UnorderedCoordinatesAreOutside) {
    auto d = slabOnTheFloor();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(containsPoint(*d, 0.0f, nan, 0.0f, 2.0f));
    EXPECT_FALSE(containsPoint(*d, nan, -12.0f, 0.0f, 2.0f));
    EXPECT_FALSE(containsPoint(*d, 0.0f, -12.0f, 0.0f, nan));
    EXPECT_FALSE(blocksSegment(*d, point(0, nan, 0), point(0, -12, 0), 2.0f));
}

TEST(Decoration, SegmentSamplesStartButStopBeforeEnd) {
    auto d = slabOnTheFloor();
    // Samples -20, -18.4, ..., -5.6: the end at -4 lies inside but is not tested.
    EXPECT_FALSE(blocksSegment(*d, point(-20, -12, 0), point(-4, -12, 0), 2.0f));
    // The sample at -4 is inside.
    EXPECT_TRUE(blocksSegment(*d, point(-10, -12, 0), point(0, -12, 0), 2.0f));
    // A start inside blocks, even for a zero-length segment.
    EXPECT_TRUE(blocksSegment(*d, point(0, -12, 0), point(0, -12, 0), 2.0f));
    // Passing over the top (dy > m/2 + 1) does not.
    EXPECT_FALSE(blocksSegment(*d, point(-10, -9.5f, 0), point(10, -9.5f, 0), 2.0f));
}

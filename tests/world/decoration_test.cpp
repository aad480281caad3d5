#include "world/decoration.h"

#include "tests/support/fish_fixtures.h"

TEST(Decoration, CylinderHoldsItsFacesButNotItsCurvedWall) {
    // Radius 3 at (0, -12, 0), margin 2: y from -13 to -10, reach 5.
    const float NaN = std::numeric_limits<float>::quiet_NaN();
    auto d = std::make_unique<Decoration>();
    placeRock(*d, 0.0f, -12.0f, 0.0f, 3.0f);
    const struct { float x, y, z, margin; bool inside; } points[] = {
        {0, -13, 0, 2, true},     {0, -13.01f, 0, 2, false}, {0, -10, 0, 2, true},
        {0, -9.99f, 0, 2, false}, {5, -12, 0, 2, false},     {4.99f, -12, 0, 2, true},
        {3, -12, 4, 2, false},    {0, -11.5f, -4.9f, 2, true},
        {0, NaN, 0, 2, false},    {NaN, -12, 0, 2, false},   {0, -12, 0, NaN, false},
    };
    for (const auto& p : points)
        EXPECT_EQ(containsPoint(*d, p.x, p.y, p.z, p.margin), p.inside)
            << "(" << p.x << ", " << p.y << ", " << p.z << ") margin " << p.margin;
    // Ten samples from the start, the end left out.
    const struct { Vertex start, end; bool blocked; } segments[] = {
        {vec(-20, -12, 0), vec(-4, -12, 0), false},  // -20 ... -5.6; the end inside is not tested
        {vec(-10, -12, 0), vec(0, -12, 0), true},    // the sample at -4 is inside
        {vec(0, -12, 0), vec(0, -12, 0), true},      // a start inside, zero length
        {vec(-10, -9.5f, 0), vec(10, -9.5f, 0), false},  // over the top
        {vec(0, NaN, 0), vec(0, -12, 0), false},
    };
    for (const auto& s : segments)
        EXPECT_EQ(blocksSegment(*d, s.start, s.end, 2.0f), s.blocked)
            << "from x " << s.start.x << " to " << s.end.x;
}

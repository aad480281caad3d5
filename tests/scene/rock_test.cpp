#include "scene/rock.h"

#include "mesh/random.h"
#include "scene/decoration.h"
#include "tests/support/fish_fixtures.h"

// Draws all 0 (all RandomMax) move every corner by minus (plus) 1, 0.1, 1.
// Vertex 0 (at (3, 0, -1)) counts for neither the radius nor the texture
// coordinates (u, v) = (x, y): moving it far out changes nothing.
TEST(RockGenerator, UniformDrawsGiveTheExtremeRocks) {
    const struct { int draw; Vertex vertex0; float radius; } cases[] = {
        {0, vec(2.0f, -0.1f, -2.0f), std::sqrt(20.0f)},         // (-3, -1) moved to (-4, -2)
        {RandomMax, vec(4.0f, 0.1f, 0.0f), std::sqrt(18.0f)}};  // (2, 2) moved to (3, 3)
    for (const auto& c : cases) {
        auto rock = std::make_unique<Decoration>();
        initMesh(*rock);
        buildRockPrism(*rock);
        const float shift = static_cast<float>(c.draw) / RandomMax * 2.0f - 1.0f;
        for (int i = 0; i < 12; ++i) {
            const Vertex v = getVertex(*rock, i);
            setVertexPosition(*rock, i, v.x + shift, v.y + shift * 0.1f, v.z + shift);
        }
        EXPECT_TRUE(vecNear(getVertex(*rock, 0), c.vertex0)) << c.draw;
        setVertexPosition(*rock, 0, 40.0f, 5.0f, 0.0f);
        measureRock(*rock);
        EXPECT_FLOAT_EQ(rock->radius, c.radius) << c.draw;
        EXPECT_TRUE(getVertex(*rock, 0).u == 0.0f && getVertex(*rock, 5).u == getVertex(*rock, 5).x &&
                    getVertex(*rock, 5).v == getVertex(*rock, 5).y);
    }
}

#include "world/decoration.h"
#include "tests/support/gl_fixtures.h"

#include <memory>

using DecorationDraw = GlTest;

TEST_F(DecorationDraw, YawTurnsAboutTheLocalAxisThenThePositionMoves) {
    useOrtho(10, 10);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    // One small triangle whose first corner is local (1, 0, 0).
    const auto rock = std::make_unique<Decoration>();
    initMesh(*rock);
    addTriangle(*rock, addVertex(*rock, 1, 0, 0), addVertex(*rock, 1.5f, 0, 0), addVertex(*rock, 1, 0.5f, 0));
    rock->yaw = 90.0f;
    setPosition(*rock, 2.0f, 3.0f, 4.0f);
    // Yaw 90 takes local (1, 0, 0) to position + (0, 0, -1).
    const auto corner = project(2, 3, 3);
    const auto items = captureFeedback([&] { draw(*rock); });
    ASSERT_EQ(items.size(), 1u);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR((&items[0].vertices[0].x)[k], corner[k], k < 2 ? 1e-3 : 1e-6) << "axis " << k;
}

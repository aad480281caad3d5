#include "fish/fish_draw.h"

#include "tests/support/fish_fixtures.h"
#include "tests/support/gl_fixtures.h"

#include <cmath>

using FishDraw = GlTest;

TEST_F(FishDraw, PitchAboutZComesBeforeYawAboutYAndTheBodyStaysRigid) {
    static_assert(!swimAnimationEnabled && !debugOverlayEnabled, "as configured");
    useOrtho(4, 4);  // window x = (x + 4) * 32, y likewise
    auto fish = std::make_unique<Fish>();
    initMesh(*fish);  // a nose at local (-1, 0, 0): the triangle faces +z at rest
    addTriangle(*fish, addVertex(*fish, -1, 0, 0), addVertex(*fish, 0, -0.5f, 0),
                addVertex(*fish, 0, 0.5f, 0));
    fish->position = vec(1, 2, 0);
    fish->orientation = vec(0, 90, 30);
    fish->flocking = true;  // no flock lines in this build
    fish->flockCentre = vec(3, 3, 3);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    const auto items = captureFeedback([&] { drawFish(*fish); });
    ASSERT_EQ(items.size(), 3u);  // the triangle's three edges
    // Pitch 30 lifts the nose to (-cos 30, -sin 30, 0); yaw 90 then turns -x
    // onto +z, leaving the nose at (0, -0.5, 0.866) from the position.
    const double depth = (1.0 - 0.8660254 / 4.0) / 2.0;
    int noses = 0;
    for (const FeedbackItem& item : items)
        for (const FeedbackVertex& v : item.vertices)
            noses += std::fabs(v.x - 160) < 1e-3 && std::fabs(v.y - 176) < 1e-3 && std::fabs(v.z - depth) < 1e-5;
    EXPECT_EQ(noses, 2);  // the two edges that meet at the nose
    EXPECT_EQ(getVertex(*fish, 0).z, 0.0f) << "the mesh is not animated";
}

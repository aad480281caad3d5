#include "fish/fish_draw.h"

#include "mesh/gl_api.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class FishDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
        glViewport(0, 0, TestViewportWidth, TestViewportHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-4, 4, -4, 4, -4, 4);  // window = (world + 4) * 32
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        // A nose at local (-1, 0, 0) and two more corners, so the triangle
        // faces +z at rest.
        fish = std::make_unique<Fish>();
        initMesh(*fish);
        addTriangle(*fish, addVertex(*fish, -1, 0, 0), addVertex(*fish, 0, -0.5f, 0),
                    addVertex(*fish, 0, 0.5f, 0));
        fish->flocking = true;
        fish->flockRadius = 1.0f;
        fish->flockCentre = Vertex{3, 3, 3, 0, 0, 0, 0, 0, 0};
        fish->flockHeading = Vertex{0.01f, 0, 0, 0, 0, 0, 0, 0, 0};
    }
    void TearDown() override { guard.reset(); }

    std::unique_ptr<GlStateGuard> guard;
    std::unique_ptr<Fish> fish;
};

double toWindow(double world) { return (world + 4.0) * 32.0; }

}  // namespace

TEST_F(FishDraw, PitchAboutZComesBeforeYawAboutY) {
    fish->position = Vertex{1, 2, 0, 0, 0, 0, 0, 0, 0};
    fish->orientation = Vertex{0, 90, 30, 0, 0, 0, 0, 0, 0};
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    const auto items = captureFeedback([&] { drawFish(*fish); });
    ASSERT_FALSE(items.empty());
    // Pitch 30 lifts the nose to (-cos 30, -sin 30, 0); yaw 90 then turns
    // -x onto +z, leaving the nose at (0, -0.5, 0.866) from the position.
    const double depth = (1.0 - 0.8660254 / 4.0) / 2.0;  // ortho depth of z = 0.866
    int noses = 0;
    for (const FeedbackItem& item : items)
        for (const FeedbackVertex& v : item.vertices)
            noses += std::fabs(v.x - toWindow(1.0)) < 1e-3 &&
                     std::fabs(v.y - toWindow(2.0 - 0.5)) < 1e-3 && std::fabs(v.z - depth) < 1e-5;
    EXPECT_GT(noses, 0);
}

TEST_F(FishDraw, WithTheSwitchesOffOnlyTheRigidBodyIsDrawn) {
    static_assert(!swimAnimationEnabled && !debugOverlayEnabled, "as configured");
    fish->position = Vertex{-1, 1, 0, 0, 0, 0, 0, 0, 0};
    const Vertex restCorner = getVertex(*fish, 0);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    const auto items = captureFeedback([&] { drawFish(*fish); });
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    // One filled triangle and no debug lines, even for a flocking fish.
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].kind, FeedbackKind::Polygon);
    EXPECT_NEAR(items[0].vertices[0].x, toWindow(-2.0), 1e-3);
    EXPECT_NEAR(items[0].vertices[0].y, toWindow(1.0), 1e-3);
    // The mesh is not animated and no state is switched on.
    const Vertex corner = getVertex(*fish, 0);
    EXPECT_EQ(corner.z, restCorner.z);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

#include "mesh/gl_api.h"
#include "scene/decoration.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class DecorationDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
        glViewport(0, 0, TestViewportWidth, TestViewportHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 1.0, 0.1, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -20.0f);
        // One small triangle whose first corner is local (1, 0, 0).
        rock = std::make_unique<Decoration>();
        initMesh(*rock);
        addTriangle(*rock, addVertex(*rock, 1, 0, 0), addVertex(*rock, 1.5f, 0, 0),
                    addVertex(*rock, 1, 0.5f, 0));
        rock->yaw = 90.0f;
        setPosition(*rock, 2.0f, 3.0f, 4.0f);
    }
    void TearDown() override { guard.reset(); }

    static void project(double x, double y, double z, double (&w)[3]) {
        GLdouble model[16], proj[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, proj);
        glGetIntegerv(GL_VIEWPORT, viewport);
        gluProject(x, y, z, model, proj, viewport, &w[0], &w[1], &w[2]);
    }

    std::unique_ptr<GlStateGuard> guard;
    std::unique_ptr<Decoration> rock;
};

}  // namespace

TEST_F(DecorationDraw, YawTurnsAboutTheLocalAxisThenThePositionMoves) {
    // Yaw 90: local (1, 0, 0) lands at position + (0, 0, -1), and local
    // (1, 0.5, 0) at position + (0, 0.5, -1).
    double corner[3], top[3];
    project(2, 3, 3, corner);
    project(2, 3.5, 3, top);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const auto items = captureFeedback([&] { draw(*rock); });
    ASSERT_EQ(items.size(), 1u);
    ASSERT_EQ(items[0].vertices.size(), 3u);
    EXPECT_NEAR(items[0].vertices[0].x, corner[0], 1e-3);
    EXPECT_NEAR(items[0].vertices[0].y, corner[1], 1e-3);
    EXPECT_NEAR(items[0].vertices[0].z, corner[2], 1e-6);
    EXPECT_NEAR(items[0].vertices[2].x, top[0], 1e-3);
    EXPECT_NEAR(items[0].vertices[2].y, top[1], 1e-3);
}

TEST_F(DecorationDraw, LeavesTheMatrixAndThePolygonModesAsItFoundThem) {
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_LINE);
    GLint depthBefore = 0, depthAfter = 0;
    GLfloat before[16], after[16];
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    draw(*rock);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(depthAfter, depthBefore);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]) << i;
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_LINE);
}

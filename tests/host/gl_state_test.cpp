#include "host/gl_state.h"

#include "host/virtual_clock.h"
#include "mesh/gl_api.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class GlState : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
    }
    void TearDown() override { guard.reset(); }
    std::unique_ptr<GlStateGuard> guard;
};

// gluPerspective's matrix, column-major, in double precision.
void perspective(double fovy, double aspect, double zNear, double zFar, double (&m)[16]) {
    const double f = 1.0 / std::tan(fovy * 3.14159265358979323846 / 360.0);
    for (double& v : m) v = 0.0;
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1.0;
    m[14] = 2.0 * zFar * zNear / (zNear - zFar);
}

void expectProjection(double aspect) {
    double expected[16];
    perspective(45.0, aspect, static_cast<double>(0.1f), 100.0, expected);
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-5 * (1 + std::fabs(expected[i]))) << i;
}

}  // namespace

TEST_F(GlState, ViewportAndPerspectiveFollowTheSize) {
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1, 2, 3);  // resize must start from identity
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(4, 5, 6);
    resizeViewport(200, 100);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 200);
    EXPECT_EQ(viewport[3], 100);
    expectProjection(2.0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat mv[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(mv[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
}

TEST_F(GlState, ZeroHeightCountsAsOnePixel) {
    resizeViewport(300, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 300);
    EXPECT_EQ(viewport[3], 1);
    expectProjection(300.0);
}

TEST_F(GlState, InitBuildsTheSceneThenSetsTheFixedState) {
    setVirtualTick(60000);
    randomSeed(1);
    constructAquarium(scene);
    ASSERT_EQ(scene.fishCount, 0);
    EXPECT_TRUE(initGlState());
    EXPECT_EQ(scene.fishCount, 9);
    EXPECT_EQ(scene.activeFishCount, 9);
    EXPECT_EQ(scene.decorationCount, 17);
    EXPECT_NE(scene.floorTexture, 0u);

    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    for (float c : clear) EXPECT_EQ(c, 0.0f);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    GLfloat ambient[4];
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    EXPECT_EQ(ambient[0], 10.0f);
    EXPECT_EQ(ambient[1], 10.0f);
    EXPECT_EQ(ambient[2], 10.0f);
    EXPECT_EQ(ambient[3], 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

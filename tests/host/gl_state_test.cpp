#include "host/gl_state.h"

#include "scene/aquarium.h"
#include "tests/support/gl_fixtures.h"

#include <cmath>

using GlState = GlTest;

// A 45-degree perspective (cot 22.5 degrees = 2.4142136), aspect width / height,
// near 0.1f, far 100; a zero height counts as one pixel.
TEST_F(GlState, ViewportAndPerspectiveFollowTheSizeFromIdentity) {
    for (const auto& [height, aspect] : {std::pair{100, 2.0}, {0, 200.0}}) {
        glMatrixMode(GL_PROJECTION), glTranslatef(1, 2, 3);  // resizing starts from identity
        glMatrixMode(GL_MODELVIEW), glTranslatef(4, 5, 6);
        resizeViewport(200, height);
        GLint viewport[4], mode = 0;
        glGetIntegerv(GL_VIEWPORT, viewport);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_TRUE(viewport[2] == 200 && viewport[3] == 200 / aspect && mode == GL_MODELVIEW);
        const double expected[16] = {2.4142136 / aspect, 0, 0, 0, 0, 2.4142136, 0, 0,
                                     0, 0, -1.002002, -1, 0, 0, -0.2002002, 0};
        GLfloat p[16], mv[16];
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        glGetFloatv(GL_MODELVIEW_MATRIX, mv);
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(p[i], expected[i], 1e-5 * (1 + std::fabs(expected[i]))) << height << " " << i;
            EXPECT_EQ(mv[i], i % 5 == 0 ? 1.0f : 0.0f) << "model-view " << i;
        }
    }
}

TEST_F(GlState, InitialStateReadsBack) {
    // Set apart from the defaults initGlState restates.
    glClearColor(1, 1, 1, 1), glClearDepth(0.5), glShadeModel(GL_FLAT);
    EXPECT_TRUE(initGlState());
    const std::pair<GLenum, std::array<GLfloat, 4>> expected[] = {
        {GL_SHADE_MODEL, {GL_SMOOTH}}, {GL_DEPTH_FUNC, {GL_LEQUAL}}, {GL_DEPTH_CLEAR_VALUE, {1}},
        {GL_PERSPECTIVE_CORRECTION_HINT, {GL_NICEST}}, {GL_COLOR_CLEAR_VALUE, {0, 0, 0, 0}},
        {GL_LIGHT_MODEL_AMBIENT, {10, 10, 10, 1}}, {GL_DEPTH_TEST, {1}}, {GL_LIGHTING, {1}},
        {GL_LIGHT0, {0}}};
    for (const auto& [name, values] : expected) {
        std::array<GLfloat, 4> got{};
        glGetFloatv(name, got.data());
        EXPECT_EQ(got, values) << std::hex << name;
    }
    EXPECT_TRUE(scene.fishCount == 9 && glIsTexture(scene.floorTexture)) << "the scene is built first";
}

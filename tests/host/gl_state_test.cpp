#include "host/gl_state.h"

#include "scene/aquarium.h"
#include "tests/support/gl_fixtures.h"

#include <algorithm>
#include <cmath>

using GlState = GlTest;

TEST_F(GlState, ViewportAndPerspectiveFollowTheSizeFromIdentity) {
    for (const int height : {100, 0}) {  // a zero height counts as one pixel
        glMatrixMode(GL_PROJECTION);
        glTranslatef(1, 2, 3);  // resizing must start from identity
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(4, 5, 6);
        resizeViewport(200, height);
        GLint viewport[4], mode = 0;
        glGetIntegerv(GL_VIEWPORT, viewport);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_TRUE(viewport[2] == 200 && viewport[3] == std::max(height, 1) && mode == GL_MODELVIEW);
        // A 45-degree perspective, aspect width / height, near 0.1f, far 100.
        const double aspect = 200.0 / std::max(height, 1), n = static_cast<double>(0.1f), f = 100.0;
        const double cot = 1.0 / std::tan(3.14159265358979323846 / 8);
        const double expected[16] = {cot / aspect, 0, 0, 0, 0, cot, 0, 0, 0, 0, (f + n) / (n - f), -1,
                                     0, 0, 2 * f * n / (n - f), 0};
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
    glClearColor(1, 1, 1, 1);  // set apart from the defaults initGlState restates
    glClearDepth(0.5);
    glShadeModel(GL_FLAT);
    EXPECT_TRUE(initGlState());
    GLint shade = 0, depthFunc = 0, hint = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
    EXPECT_TRUE(shade == GL_SMOOTH && depthFunc == GL_LEQUAL && hint == GL_NICEST);
    GLfloat clear[4], depth = 0, ambient[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(clear[i], 0.0f) << i;
        EXPECT_EQ(ambient[i], i < 3 ? 10.0f : 1.0f) << i;
    }
    EXPECT_EQ(depth, 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_LIGHTING) && !glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(scene.fishCount == 9 && glIsTexture(scene.floorTexture)) << "the scene is built first";
}

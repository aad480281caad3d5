#include "host/gl_state.h"

#include "tests/support/gl_fixtures.h"

#include <cmath>

using GlState = GlTest;

TEST_F(GlState, ViewportAndPerspectiveFollowTheSizeFromIdentity) {
    const struct { int width, height, viewportHeight; } cases[] = {
        {200, 100, 100},
        {300, 0, 1},  // a zero height counts as one pixel
    };
    for (const auto& c : cases) {
        glMatrixMode(GL_PROJECTION);
        glTranslatef(1, 2, 3);  // resizing must start from identity
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(4, 5, 6);
        resizeViewport(c.width, c.height);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.viewportHeight);
        // A 45-degree perspective, aspect width / height, near 0.1f, far 100.
        const double aspect = static_cast<double>(c.width) / c.viewportHeight;
        const double n = static_cast<double>(0.1f), f = 100.0;
        const double cot = 1.0 / std::tan(3.14159265358979323846 / 8);
        const double expected[16] = {cot / aspect, 0, 0, 0, 0, cot, 0, 0, 0, 0, (f + n) / (n - f), -1,
                                     0, 0, 2 * f * n / (n - f), 0};
        GLfloat p[16], mv[16];
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        glGetFloatv(GL_MODELVIEW_MATRIX, mv);
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(p[i], expected[i], 1e-5 * (1 + std::fabs(expected[i]))) << c.width << " " << i;
            EXPECT_EQ(mv[i], i % 5 == 0 ? 1.0f : 0.0f) << "model-view " << i;
        }
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

// Fixtures for tests that draw through the shared offscreen context.
#pragma once

#include "mesh/gl_api.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

// The context current, the full test viewport, and every bit of GL state put
// back after the test. Derived SetUps call this first and return on failure.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard_ = std::make_unique<GlStateGuard>();
        glViewport(0, 0, TestViewportWidth, TestViewportHeight);
    }
    void TearDown() override { guard_.reset(); }

private:
    std::unique_ptr<GlStateGuard> guard_;
};

// Orthographic view of x, y in [-half, half] and z in [-depth, depth];
// model-view reset.
inline void useOrtho(double half, double depth) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, -depth, depth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Window coordinates of a world point under the current matrices.
inline std::array<double, 3> project(double x, double y, double z) {
    GLdouble model[16], proj[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::array<double, 3> w{};
    gluProject(x, y, z, model, proj, viewport, &w[0], &w[1], &w[2]);
    return w;
}

inline int modelViewDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}

// Front and back polygon modes.
inline std::array<GLint, 2> polygonModes() {
    std::array<GLint, 2> modes{};
    glGetIntegerv(GL_POLYGON_MODE, modes.data());
    return modes;
}

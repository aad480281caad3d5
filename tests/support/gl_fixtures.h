// The one GL test fixture: a real (Mesa) offscreen context shared by the test
// program, all GL state saved before each test and put back after it, and
// feedback mode as an oracle of what GL would have drawn.
#pragma once

#include "mesh/gl_api.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

constexpr int TestViewportWidth = 256;
constexpr int TestViewportHeight = 256;

// Derived fixtures put their own set-up in prepare(), which runs once the
// context is current and the state saved.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    virtual void prepare() {}

private:
    bool saved_ = false;
};

// Orthographic view of x, y in [-half, half] and z in [-depth, depth];
// model-view reset.
void useOrtho(double half, double depth);

// Window coordinates of a world point under the current matrices.
std::array<double, 3> project(double x, double y, double z);

int modelViewDepth();
std::array<GLint, 2> polygonModes();  // front, back

struct FeedbackVertex {
    float x, y, z;     // window coordinates
    float r, g, b, a;  // lit colour
    float s, t, p, q;  // texture coordinate as given
};

enum class FeedbackKind { Polygon, Line, Point };

struct FeedbackItem {
    FeedbackKind kind;  // a reset line reads as a line
    std::vector<FeedbackVertex> vertices;
};

// What `draw` produced in GL_FEEDBACK mode (GL_3D_COLOR_TEXTURE), in order.
std::vector<FeedbackItem> captureFeedback(const std::function<void()>& draw);

#include "host/gl_state.h"
#include "mesh/gl_api.h"
#include "scene/aquarium.h"
#include "scene/scene_draw.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using Point = std::array<double, 3>;

class TankDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
        resizeViewport(TestViewportWidth, TestViewportHeight);
        // Far enough back that the whole tank lies inside a square viewport.
        glTranslatef(0.0f, 0.0f, -80.0f);
        aquarium = std::make_unique<Aquarium>();  // zeroed: nothing placed
        aquarium->fillMode = GL_FILL;
        glGenTextures(1, &aquarium->floorTexture);
        glEnable(GL_LIGHTING);
        const GLfloat ambient[4] = {10.0f, 10.0f, 10.0f, 1.0f};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    }
    void TearDown() override {
        glDeleteTextures(1, &aquarium->floorTexture);
        guard.reset();
    }

    // Window coordinates of a world point under the current matrices.
    static Point project(double x, double y, double z) {
        GLdouble model[16], proj[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, proj);
        glGetIntegerv(GL_VIEWPORT, viewport);
        Point p{};
        gluProject(x, y, z, model, proj, viewport, &p[0], &p[1], &p[2]);
        return p;
    }

    std::unique_ptr<GlStateGuard> guard;
    std::unique_ptr<Aquarium> aquarium;
};

bool near(const FeedbackVertex& v, const Point& p) {
    return std::fabs(v.x - p[0]) < 0.05 && std::fabs(v.y - p[1]) < 0.05 &&
           std::fabs(v.z - p[2]) < 1e-4;
}

// Every edge of a quad drawn as lines: the items, as an unordered set of
// segments, match the four edges of the corners.
void expectOutline(const std::vector<FeedbackItem>& lines, const Point (&corners)[4]) {
    ASSERT_EQ(lines.size(), 4u);
    for (int e = 0; e < 4; ++e) {
        const Point& a = corners[e];
        const Point& b = corners[(e + 1) % 4];
        bool found = false;
        for (const FeedbackItem& item : lines) {
            EXPECT_TRUE(item.kind == FeedbackKind::Line || item.kind == FeedbackKind::LineReset);
            found = found || (near(item.vertices[0], a) && near(item.vertices[1], b)) ||
                    (near(item.vertices[0], b) && near(item.vertices[1], a));
        }
        EXPECT_TRUE(found) << "edge " << e;
    }
}

void expectGrey(const std::vector<FeedbackItem>& items) {
    for (const FeedbackItem& item : items)
        for (const FeedbackVertex& v : item.vertices) {
            EXPECT_FLOAT_EQ(v.r, 0.4f);
            EXPECT_FLOAT_EQ(v.g, 0.4f);
            EXPECT_FLOAT_EQ(v.b, 0.4f);
        }
}

}  // namespace

TEST_F(TankDraw, WireFrameAroundATexturedFloorInDrawOrder) {
    const float X = 24, Y = 12, Z = 12;
    const Point top[4] = {project(-X, Y, Z), project(-X, Y, -Z), project(X, Y, -Z),
                          project(X, Y, Z)};
    const Point floor[4] = {project(X, -Y, Z), project(X, -Y, -Z), project(-X, -Y, -Z),
                            project(-X, -Y, Z)};
    const Point walls[4][4] = {
        {project(-X, Y, Z), project(-X, -Y, Z), project(-X, -Y, -Z), project(-X, Y, -Z)},
        {project(X, Y, -Z), project(X, -Y, -Z), project(X, -Y, Z), project(X, Y, Z)},
        {project(X, Y, -Z), project(-X, Y, -Z), project(-X, -Y, -Z), project(X, -Y, -Z)},
        {project(-X, Y, Z), project(X, Y, Z), project(X, -Y, Z), project(-X, -Y, Z)}};

    const auto items = captureFeedback([&] { drawTank(*aquarium); });
    // Top rim (4 lines), floor (2 filled triangles), four walls (16 lines).
    ASSERT_EQ(items.size(), 22u);
    const std::vector<FeedbackItem> rim(items.begin(), items.begin() + 4);
    expectOutline(rim, top);
    expectGrey(rim);

    // The floor, seen from above, is filled and lit to full brightness; its
    // quad comes back as triangles (v0, v1, v3) and (v1, v2, v3).
    const float s[4] = {0, 0, 6, 6}, t[4] = {0, 3, 3, 0};
    const int split[2][3] = {{0, 1, 3}, {1, 2, 3}};
    for (int k = 0; k < 2; ++k) {
        const FeedbackItem& triangle = items[4 + static_cast<size_t>(k)];
        ASSERT_EQ(triangle.kind, FeedbackKind::Polygon);
        ASSERT_EQ(triangle.vertices.size(), 3u);
        for (int c = 0; c < 3; ++c) {
            const int corner = split[k][c];
            const FeedbackVertex& v = triangle.vertices[static_cast<size_t>(c)];
            EXPECT_TRUE(near(v, floor[corner])) << "floor corner " << corner;
            EXPECT_FLOAT_EQ(v.s, s[corner]);
            EXPECT_FLOAT_EQ(v.t, t[corner]);
            EXPECT_FLOAT_EQ(v.r, 1.0f);
            EXPECT_FLOAT_EQ(v.g, 1.0f);
            EXPECT_FLOAT_EQ(v.b, 1.0f);
        }
    }

    for (int w = 0; w < 4; ++w) {
        const std::vector<FeedbackItem> wall(items.begin() + 6 + 4 * w, items.begin() + 10 + 4 * w);
        expectOutline(wall, walls[w]);
        expectGrey(wall);
    }
}

TEST_F(TankDraw, LeavesLinesLightingOnAndTexturingOffWithTheMatrixBalanced) {
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    drawTank(*aquarium);
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    EXPECT_EQ(modes[1], GL_LINE);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), aquarium->floorTexture);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]);
}

TEST_F(TankDraw, FloorSeenFromBelowIsLinesAndTheFillModeIsHonoured) {
    // With the eye 2 units below the floor, the floor shows its back face,
    // which stays lines.
    glTranslatef(0.0f, 14.0f, 0.0f);
    auto items = captureFeedback([&] { drawTank(*aquarium); });
    ASSERT_EQ(items.size(), 24u);
    for (const FeedbackItem& item : items) EXPECT_NE(item.kind, FeedbackKind::Polygon);

    // From above, a fill mode of GL_POINT turns the floor into its corners.
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -80.0f);
    aquarium->fillMode = GL_POINT;
    items = captureFeedback([&] { drawTank(*aquarium); });
    int points = 0;
    for (const FeedbackItem& item : items) points += item.kind == FeedbackKind::Point;
    EXPECT_EQ(points, 4);  // the quad's four corners
}

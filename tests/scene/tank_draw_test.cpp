#include "host/gl_state.h"
#include "scene/aquarium.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixtures.h"

#include <cmath>
#include <vector>

namespace {

using Point = std::array<double, 3>;

class TankDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        resizeViewport(TestViewportWidth, TestViewportHeight);
        glTranslatef(0.0f, 0.0f, -80.0f);  // the whole tank in view
        aquarium = std::make_unique<Aquarium>();  // zeroed: nothing placed
        aquarium->fillMode = GL_FILL;
        glGenTextures(1, &aquarium->floorTexture);
        glEnable(GL_LIGHTING);
        const GLfloat ambient[4] = {10.0f, 10.0f, 10.0f, 1.0f};  // saturates lit colours
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    }
    void TearDown() override {
        glDeleteTextures(1, &aquarium->floorTexture);
        GlTest::TearDown();
    }
    std::unique_ptr<Aquarium> aquarium;
};

bool near(const FeedbackVertex& v, const Point& p) {
    return std::fabs(v.x - p[0]) < 0.05 && std::fabs(v.y - p[1]) < 0.05 && std::fabs(v.z - p[2]) < 1e-4;
}

// Window corners of a face of the 48 x 24 x 24 tank, from signs of x, y, z.
std::array<Point, 4> face(const int (&signs)[4][3]) {
    std::array<Point, 4> corners;
    for (int c = 0; c < 4; ++c)
        corners[c] = project(24.0 * signs[c][0], 12.0 * signs[c][1], 12.0 * signs[c][2]);
    return corners;
}

// Four grey unlit lines covering the face's four edges, in any order.
void expectGreyOutline(const std::vector<FeedbackItem>& lines, const int (&signs)[4][3]) {
    ASSERT_EQ(lines.size(), 4u);
    const auto corners = face(signs);
    for (int e = 0; e < 4; ++e) {
        const Point& a = corners[e];
        const Point& b = corners[(e + 1) % 4];
        bool found = false;
        for (const FeedbackItem& item : lines) {
            ASSERT_TRUE(item.kind == FeedbackKind::Line || item.kind == FeedbackKind::LineReset);
            found = found || (near(item.vertices[0], a) && near(item.vertices[1], b)) ||
                    (near(item.vertices[0], b) && near(item.vertices[1], a));
            for (const FeedbackVertex& v : item.vertices)
                EXPECT_TRUE(v.r == 0.4f && v.g == 0.4f && v.b == 0.4f) << "lines are grey, lighting off";
        }
        EXPECT_TRUE(found) << "edge " << e;
    }
}

}  // namespace

TEST_F(TankDraw, GreyRimTexturedFloorAndGreyWallsInDrawOrder) {
    const int rim[4][3] = {{-1, 1, 1}, {-1, 1, -1}, {1, 1, -1}, {1, 1, 1}};
    const int walls[4][4][3] = {{{-1, 1, 1}, {-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}},
                                {{1, 1, -1}, {1, -1, -1}, {1, -1, 1}, {1, 1, 1}},
                                {{1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, -1}},
                                {{-1, 1, 1}, {1, 1, 1}, {1, -1, 1}, {-1, -1, 1}}};
    const int floorSigns[4][3] = {{1, -1, 1}, {1, -1, -1}, {-1, -1, -1}, {-1, -1, 1}};
    const auto floor = face(floorSigns);
    const auto items = captureFeedback([&] { drawTank(*aquarium); });
    // Top rim (4 lines), floor (2 filled triangles), four walls (16 lines).
    ASSERT_EQ(items.size(), 22u);
    expectGreyOutline({items.begin(), items.begin() + 4}, rim);
    // The floor seen from above: filled, lit to full brightness, texture
    // repeated 6 x 3; the quad comes back as (v0, v1, v3) and (v1, v2, v3).
    const float s[4] = {0, 0, 6, 6}, t[4] = {0, 3, 3, 0};
    const int split[2][3] = {{0, 1, 3}, {1, 2, 3}};
    for (int k = 0; k < 2; ++k) {
        const FeedbackItem& triangle = items[4 + static_cast<size_t>(k)];
        ASSERT_EQ(triangle.kind, FeedbackKind::Polygon);
        for (int c = 0; c < 3; ++c) {
            const int corner = split[k][c];
            const FeedbackVertex& v = triangle.vertices[static_cast<size_t>(c)];
            EXPECT_TRUE(near(v, floor[corner])) << "floor corner " << corner;
            EXPECT_TRUE(v.s == s[corner] && v.t == t[corner]) << "floor corner " << corner;
            EXPECT_TRUE(v.r == 1.0f && v.g == 1.0f && v.b == 1.0f) << "floor corner " << corner;
        }
    }
    for (int w = 0; w < 4; ++w)
        expectGreyOutline({items.begin() + 6 + 4 * w, items.begin() + 10 + 4 * w}, walls[w]);
}

TEST_F(TankDraw, LeavesLinesLightingOnTexturingOffAndTheStackBalanced) {
    const int depth = modelViewDepth();
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    drawTank(*aquarium);
    EXPECT_EQ(polygonModes(), (std::array<GLint, 2>{GL_LINE, GL_LINE}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(modelViewDepth(), depth);
}

TEST_F(TankDraw, FloorBackFaceIsLinesAndItsFrontFollowsTheFillMode) {
    glTranslatef(0.0f, 14.0f, 0.0f);  // the eye 2 units below the floor
    for (const FeedbackItem& item : captureFeedback([&] { drawTank(*aquarium); }))
        EXPECT_NE(item.kind, FeedbackKind::Polygon);
    glTranslatef(0.0f, -14.0f, 0.0f);
    aquarium->fillMode = GL_POINT;
    int points = 0;
    for (const FeedbackItem& item : captureFeedback([&] { drawTank(*aquarium); }))
        points += item.kind == FeedbackKind::Point;
    EXPECT_EQ(points, 4);  // the floor's corners
}

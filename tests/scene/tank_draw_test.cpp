#include "host/gl_state.h"
#include "scene/aquarium.h"
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
        aquarium->fillMode = GL_FILL;       // zeroed otherwise: nothing placed, no floor texture
        glEnable(GL_LIGHTING);
        const GLfloat ambient[4] = {10.0f, 10.0f, 10.0f, 1.0f};  // saturates lit colours
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    }
    std::unique_ptr<Aquarium> aquarium = std::make_unique<Aquarium>();
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

}  // namespace

TEST_F(TankDraw, GreyRimTexturedFloorAndGreyWallsInDrawOrder) {
    // Top rim (items 0-3), floor (4 and 5), then the walls x = -24, x = 24,
    // z = -12 and z = 12 (four lines each), every outline grey and unlit.
    const int outlines[5][4][3] = {{{-1, 1, 1}, {-1, 1, -1}, {1, 1, -1}, {1, 1, 1}},
                                   {{-1, 1, 1}, {-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}},
                                   {{1, 1, -1}, {1, -1, -1}, {1, -1, 1}, {1, 1, 1}},
                                   {{1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, -1}},
                                   {{-1, 1, 1}, {1, 1, 1}, {1, -1, 1}, {-1, -1, 1}}};
    const auto items = captureFeedback([&] { drawTank(*aquarium); });
    ASSERT_EQ(items.size(), 22u);
    for (int f = 0; f < 5; ++f) {
        const auto corners = face(outlines[f]);
        const size_t first = f == 0 ? 0 : 2 + 4 * static_cast<size_t>(f);
        for (int e = 0; e < 4; ++e) {  // each edge, in either direction, in any order
            bool found = false;
            for (size_t i = first; i < first + 4; ++i) {
                const auto& v = items[i].vertices;
                ASSERT_EQ(items[i].kind, FeedbackKind::Line) << i;
                found |= (near(v[0], corners[e]) && near(v[1], corners[(e + 1) % 4])) ||
                         (near(v[1], corners[e]) && near(v[0], corners[(e + 1) % 4]));
                EXPECT_TRUE(v[0].r == 0.4f && v[1].g == 0.4f && v[0].b == 0.4f) << i;
            }
            EXPECT_TRUE(found) << "face " << f << " edge " << e;
        }
    }
    // The floor seen from above: filled, lit to full brightness, texture
    // repeated 6 x 3; the quad comes back as (v0, v1, v3) and (v1, v2, v3).
    const int floorSigns[4][3] = {{1, -1, 1}, {1, -1, -1}, {-1, -1, -1}, {-1, -1, 1}};
    const auto floor = face(floorSigns);
    const float s[4] = {0, 0, 6, 6}, t[4] = {0, 3, 3, 0};
    const int split[2][3] = {{0, 1, 3}, {1, 2, 3}};
    for (int k = 0; k < 2; ++k) {
        ASSERT_EQ(items[4 + k].kind, FeedbackKind::Polygon);
        for (int c = 0; c < 3; ++c) {
            const int corner = split[k][c];
            const FeedbackVertex& v = items[4 + k].vertices[c];
            EXPECT_TRUE(near(v, floor[corner]) && v.s == s[corner] && v.t == t[corner] && v.r == 1.0f &&
                        v.g == 1.0f && v.b == 1.0f)
                << "floor corner " << corner;
        }
    }
}

TEST_F(TankDraw, FloorFrontFollowsTheFillModeItsBackIsLinesAndTheStateIsLeftAsSaid) {
    const int depth = modelViewDepth();
    aquarium->fillMode = GL_POINT;
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    int points = 0;
    for (const FeedbackItem& item : captureFeedback([&] { drawTank(*aquarium); }))
        points += item.kind == FeedbackKind::Point;
    EXPECT_EQ(points, 4);  // the floor's corners
    EXPECT_EQ(polygonModes(), (std::array<GLint, 2>{GL_LINE, GL_LINE}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && !glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(modelViewDepth(), depth);
    aquarium->fillMode = GL_FILL;
    glTranslatef(0.0f, 14.0f, 0.0f);  // the eye 2 units below the floor
    for (const FeedbackItem& item : captureFeedback([&] { drawTank(*aquarium); }))
        EXPECT_NE(item.kind, FeedbackKind::Polygon);
}

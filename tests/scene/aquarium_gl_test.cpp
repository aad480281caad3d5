// The scene's GL half: its textures, the tank, and the frame's draw order.
#include "host/gl_state.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "scene/layout.h"
#include "tests/support/fish_fixtures.h"
#include "tests/support/gl_fixtures.h"

namespace {

using Point = std::array<double, 3>;

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

// The orthographic test camera sees x and y from -60 to 60; the tank's 22
// items come first. Rocks stand on a 5 x 5 grid above the tank (y >= 20), so
// every item drawn up there names the decoration it came from. Lit colours
// saturate.
constexpr double ViewHalf = 60.0;
constexpr float GridLeft = -50, GridStep = 25, GridBottom = 20, GridRowStep = 8;

double worldX(const FeedbackVertex& v) { return v.x / TestViewportWidth * 2 * ViewHalf - ViewHalf; }
double worldY(const FeedbackVertex& v) { return v.y / TestViewportHeight * 2 * ViewHalf - ViewHalf; }

// The decoration an item belongs to, or -1 for the fish.
int rockCell(const FeedbackItem& item) {
    const double x = worldX(item.vertices[0]), y = worldY(item.vertices[0]);
    if (y < GridBottom - 2) return -1;
    return static_cast<int>(std::lround((y - GridBottom - 0.5) / GridRowStep)) * 5 +
           static_cast<int>(std::lround((x - GridLeft) / GridStep));
}

class SceneDraw : public GlTest {
protected:
    void prepare() override {
        useOrtho(ViewHalf, 100);
        glEnable(GL_LIGHTING);
        const GLfloat ambient[4] = {10.0f, 10.0f, 10.0f, 1.0f};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        setVirtualTick(60000);
        randomSeed(1);
        a = std::make_unique<Aquarium>();
        constructAquarium(*a);
        buildScene(*a);
        for (int i = 0; i < DecorationCapacity; ++i)
            setPosition(a->decorations[i], GridLeft + GridStep * static_cast<float>(i % 5),
                        GridBottom + GridRowStep * static_cast<float>(i / 5), 0.0f);
    }
    std::unique_ptr<Aquarium> a;
};

}  // namespace

// ctest runs each test in a process of its own, so here `scene` is exactly
// what the static construction before main left.
TEST(SceneConstruction, TheGlobalSceneIsConstructedBeforeMain) {
    EXPECT_EQ(scene.fillMode, GL_FILL);
    EXPECT_EQ(scene.fishCount + scene.activeFishCount + scene.decorationCount, 0);
    for (const Fish& fish : scene.fish) {
        EXPECT_TRUE(fish.rampPeriod >= 500 && fish.rampPeriod <= 1500) << fish.rampPeriod;
        EXPECT_EQ(fish.stepCount, 50);
    }
    for (const Decoration& d : scene.decorations) EXPECT_EQ(getTriangleCount(d), 20);
}

// The textures are made in one order, so their names never change: each
// species' skin (its mates share it), the gravel of the placed rocks, the floor.
// (How the fish are linked to each other and to the rocks, every trajectory
// the known answers pin shows.)
TEST_F(SceneDraw, MadeTheTexturesInOrder) {
    const GLuint first = getTexture(a->fish[0]) - 1;
    const GLuint skins[FishCapacity] = {1, 1, 1, 1, 1, 1, 2, 3, 4};  // 103 x 6, 102, 104, 108
    for (int i = 0; i < FishCapacity; ++i) EXPECT_EQ(getTexture(a->fish[i]), first + skins[i]) << i;
    for (int k = 0; k < DecorationCapacity; ++k)
        EXPECT_EQ(getTexture(a->decorations[k]), k < PlacedRockCount ? first + 5 : 0u) << k;
    EXPECT_EQ(a->floorTexture, first + 6);
}

TEST_F(SceneDraw, TankGreyOutlinesAndFloorInDrawOrderWithTheStateLeftAsSaid) {
    // Seen from above, after lighting was turned off and texturing on. Top rim
    // (items 0-3), floor (4 and 5), then the walls x = -24, x = 24, z = -12
    // and z = 12 (four lines each), every outline grey and unlit.
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    const int depth = modelViewDepth();
    const int outlines[5][4][3] = {{{-1, 1, 1}, {-1, 1, -1}, {1, 1, -1}, {1, 1, 1}},
                                   {{-1, 1, 1}, {-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}},
                                   {{1, 1, -1}, {1, -1, -1}, {1, -1, 1}, {1, 1, 1}},
                                   {{1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, -1}},
                                   {{-1, 1, 1}, {1, 1, 1}, {1, -1, 1}, {-1, -1, 1}}};
    const auto items = captureFeedback([&] { drawTank(*a); });
    ASSERT_EQ(items.size(), 22u);
    EXPECT_EQ(polygonModes(), (std::array<GLint, 2>{GL_LINE, GL_LINE}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && !glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(modelViewDepth(), depth);
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
    // The floor's front: filled, lit to full brightness, texture repeated
    // 6 x 3; the quad comes back as (v0, v1, v3) and (v1, v2, v3).
    const int floorSigns[4][3] = {{1, -1, 1}, {1, -1, -1}, {-1, -1, -1}, {-1, -1, 1}};
    const auto floor = face(floorSigns);
    const float s[4] = {0, 0, 6, 6}, t[4] = {0, 3, 3, 0};
    const int split[6] = {0, 1, 3, 1, 2, 3};
    for (int k = 0; k < 6; ++k) {
        ASSERT_EQ(items[4 + k / 3].kind, FeedbackKind::Polygon);
        const int corner = split[k];
        const FeedbackVertex& v = items[4 + k / 3].vertices[k % 3];
        EXPECT_TRUE(near(v, floor[corner]) && v.s == s[corner] && v.t == t[corner] && v.r == 1.0f &&
                    v.g == 1.0f && v.b == 1.0f)
            << "floor corner " << corner;
    }
    // The front follows the fill mode (points: the floor's corners); seen
    // from below, the back shows as lines.
    a->fillMode = GL_POINT;
    int points = 0;
    for (const FeedbackItem& item : captureFeedback([&] { drawTank(*a); }))
        points += item.kind == FeedbackKind::Point;
    EXPECT_EQ(points, 4);
    a->fillMode = GL_FILL;
    glRotatef(-60.0f, 1.0f, 0.0f, 0.0f);
    for (const FeedbackItem& item : captureFeedback([&] { drawTank(*a); }))
        EXPECT_NE(item.kind, FeedbackKind::Polygon);
}

TEST_F(SceneDraw, ThePlacedRocksInOrderInTheFillModeThenEachFishWhereItWasThenMovedOnce) {
    // Fish i at x = -30 (left of the tank), y = 7 i - 50, in the middle of a
    // ramp at 10 units a frame along +x.
    for (int i = 0; i < FishCapacity; ++i) {
        Fish& fish = a->fish[i];
        fish.position = vec(-30.0f, 7.0f * static_cast<float>(i) - 50.0f, 0);
        fish.rampStartVelocity = fish.targetVelocity = vec(10.0f, 0, 0);
        fish.rampStartTime = 60000;
    }
    const int depth = modelViewDepth();
    auto items = captureFeedback([&] { drawScene(*a); });
    EXPECT_EQ(modelViewDepth(), depth);
    // 20 triangles for each placed rock and nothing for the rest (a filled
    // front counts 3 thirds, each line of a back 1), then the fish, each drawn
    // before it moves.
    std::vector<int> thirds(DecorationCapacity);
    int previousCell = 0, previousFish = 0, drawn = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const int cell = rockCell(items[i]);
        if (cell >= 0) {
            EXPECT_TRUE(cell >= previousCell && drawn == 0) << "item " << i;
            previousCell = cell;
            thirds.at(static_cast<size_t>(cell)) += items[i].kind == FeedbackKind::Polygon ? 3 : 1;
        }
        if (cell >= 0 || worldX(items[i].vertices[0]) > -25.0) continue;  // a rock, the tank
        const int fish = static_cast<int>(std::lround((worldY(items[i].vertices[0]) + 50.0) / 7.0));
        EXPECT_GE(fish, previousFish) << "item " << i;
        drawn |= 1 << fish;
        previousFish = fish;
        for (const FeedbackVertex& v : items[i].vertices)
            EXPECT_NEAR(worldX(v), -30.0, 3.0) << "fish " << fish << " drawn where it was";
    }
    for (int i = 0; i < DecorationCapacity; ++i)
        EXPECT_EQ(thirds[static_cast<size_t>(i)], i < PlacedRockCount ? 60 : 0) << "rock " << i;
    EXPECT_EQ(drawn, (1 << FishCapacity) - 1);
    for (const Fish& fish : a->fish) EXPECT_EQ(fish.position.x, -20.0f) << "moved once";

    // Rocks in lines, the fish always filled.
    a->fillMode = GL_LINE;
    items = captureFeedback([&] { drawScene(*a); });
    int rockPolygons = 0, fishPolygons = 0;
    for (size_t i = 22; i < items.size(); ++i)
        if (items[i].kind == FeedbackKind::Polygon)
            (rockCell(items[i]) >= 0 ? rockPolygons : fishPolygons)++;
    EXPECT_TRUE(rockPolygons == 0 && fishPolygons > 0);
    EXPECT_EQ(polygonModes(), (std::array<GLint, 2>{GL_FILL, GL_LINE}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

#include "host/offscreen_host.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "scene/layout.h"
#include "tests/support/fish_fixtures.h"
#include "tests/support/gl_fixtures.h"

#include <cmath>
#include <vector>

namespace {

// The orthographic test camera sees x and y from -60 to 60; the tank's 22
// items come first. Rocks stand on a 5 x 5 grid above the tank (y >= 20), so
// every item drawn up there names the decoration it came from.
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
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        useOrtho(ViewHalf, 100);
        glEnable(GL_LIGHTING);
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

TEST_F(SceneDraw, DrawsThePlacedRocksInOrderInTheFillModeAndTheFishAlwaysFilled) {
    // 20 triangles for each placed rock, nothing for the rest: a filled
    // front counts 3 thirds, each line of a back 1.
    auto items = captureFeedback([&] { drawScene(*a); });
    std::vector<int> thirds(DecorationCapacity);
    int previous = 0;
    for (size_t i = 22; i < items.size(); ++i) {
        const int cell = rockCell(items[i]);
        if (cell < 0) continue;
        EXPECT_GE(cell, previous) << "item " << i;
        previous = cell;
        thirds.at(static_cast<size_t>(cell)) += items[i].kind == FeedbackKind::Polygon ? 3 : 1;
    }
    for (int i = 0; i < DecorationCapacity; ++i)
        EXPECT_EQ(thirds[static_cast<size_t>(i)], i < PlacedRockCount ? 60 : 0) << "decoration " << i;

    a->fillMode = GL_LINE;
    items = captureFeedback([&] { drawScene(*a); });
    int rockPolygons = 0, fishPolygons = 0;
    for (size_t i = 22; i < items.size(); ++i)
        if (items[i].kind == FeedbackKind::Polygon) (rockCell(items[i]) >= 0 ? rockPolygons : fishPolygons)++;
    EXPECT_TRUE(rockPolygons == 0 && fishPolygons > 0);
    EXPECT_EQ(polygonModes(), (std::array<GLint, 2>{GL_FILL, GL_LINE}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(SceneDraw, EachFishIsDrawnInOrderWhereTheLastFrameLeftItThenAdvancedOnce) {
    // Fish i at x = -30 (left of the tank), y = 7 i - 50, in the middle of a
    // ramp at 10 units a frame along +x.
    for (int i = 0; i < FishCapacity; ++i) {
        Fish& fish = a->fish[i];
        fish.position = vec(-30.0f, 7.0f * static_cast<float>(i) - 50.0f, 0);
        fish.rampStartVelocity = fish.targetVelocity = vec(10.0f, 0, 0);
        fish.rampStartTime = 60000;
    }
    const int depth = modelViewDepth();
    const auto items = captureFeedback([&] { drawScene(*a); });
    EXPECT_EQ(modelViewDepth(), depth);
    int previous = 0, drawn = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (rockCell(items[i]) >= 0 || worldX(items[i].vertices[0]) > -25.0) continue;  // tank, rocks
        const int fish = static_cast<int>(std::lround((worldY(items[i].vertices[0]) + 50.0) / 7.0));
        EXPECT_GE(fish, previous) << "item " << i;
        drawn |= 1 << fish;
        previous = fish;
        for (const FeedbackVertex& v : items[i].vertices)
            EXPECT_NEAR(worldX(v), -30.0, 3.0) << "fish " << fish << " drawn where it was";
    }
    EXPECT_EQ(drawn, (1 << FishCapacity) - 1);
    for (const Fish& fish : a->fish) EXPECT_EQ(fish.position.x, -20.0f) << "moved once";
}

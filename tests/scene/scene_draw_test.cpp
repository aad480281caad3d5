#include "fish/behaviour.h"
#include "host/offscreen_host.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "scene/layout.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixtures.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The orthographic test camera sees x and y from -60 to 60.
constexpr double ViewHalf = 60.0;

// Rocks on a 5 x 5 grid above the tank (y >= 20), so every vertex drawn up
// there names the decoration it came from.
constexpr float GridLeft = -50, GridStep = 25, GridBottom = 20, GridRowStep = 8;

// The decoration a vertex belongs to, or -1 for the tank and the fish.
int rockCell(const FeedbackItem& item) {
    const double x = item.vertices[0].x / TestViewportWidth * 2 * ViewHalf - ViewHalf;
    const double y = item.vertices[0].y / TestViewportHeight * 2 * ViewHalf - ViewHalf;
    if (y < GridBottom - 2) return -1;
    return static_cast<int>(std::lround((y - GridBottom - 0.5) / GridRowStep)) * 5 +
           static_cast<int>(std::lround((x - GridLeft) / GridStep));
}

// Window corners of triangle t of a fish at its pose: pitch about z, then
// yaw about y, then its position.
struct WindowTriangle {
    double x[3], y[3];
};

WindowTriangle place(const Fish& fish, int t) {
    const double Degree = 3.14159265358979323846 / 180.0;
    const double yaw = fish.orientation.y * Degree, pitch = fish.orientation.z * Degree;
    WindowTriangle w{};
    for (int c = 0; c < 3; ++c) {
        const Vertex v = getVertex(fish, fish.triangles[t].corners[c]);
        const double x1 = v.x * std::cos(pitch) - v.y * std::sin(pitch);
        const double y1 = v.x * std::sin(pitch) + v.y * std::cos(pitch);
        const double x2 = x1 * std::cos(yaw) + v.z * std::sin(yaw);
        w.x[c] = (x2 + fish.position.x + ViewHalf) / (2 * ViewHalf) * TestViewportWidth;
        w.y[c] = (y1 + fish.position.y + ViewHalf) / (2 * ViewHalf) * TestViewportHeight;
    }
    return w;
}

double area(const WindowTriangle& w) {
    return std::fabs((w.x[1] - w.x[0]) * (w.y[2] - w.y[0]) - (w.x[2] - w.x[0]) * (w.y[1] - w.y[0])) / 2;
}

// Index of the first item from `from` on that draws the triangle (filled, or
// its first edge as a line), or items.size().
size_t findTriangle(const std::vector<FeedbackItem>& items, size_t from, const WindowTriangle& w) {
    auto at = [&](const FeedbackVertex& v, int c) {
        return std::fabs(v.x - w.x[c]) < 0.01 && std::fabs(v.y - w.y[c]) < 0.01;
    };
    for (size_t i = from; i < items.size(); ++i) {
        const auto& v = items[i].vertices;
        if (v.size() >= 2 && at(v[0], 0) && at(v[1], 1) && (v.size() == 2 || at(v[2], 2))) return i;
    }
    return items.size();
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

    // A copy of the aquarium with its fish linked to the copy.
    static std::unique_ptr<Aquarium> copy(const Aquarium& from) {
        auto to = std::make_unique<Aquarium>();
        std::memcpy(static_cast<void*>(to.get()), &from, sizeof(Aquarium));
        for (Fish& fish : to->fish) {
            linkSchool(fish, to->fish, to->fishCount);
            linkObstacles(fish, to->decorations, to->decorationCount);
        }
        return to;
    }

    std::unique_ptr<Aquarium> a;
};

}  // namespace

TEST_F(SceneDraw, DrawsExactlyThePlacedRocksInTheFillModeAndTheFishAlwaysFilled) {
    // Past the tank's 22 items: 20 triangles for each placed rock, nothing
    // for the rest. A filled front counts 3 thirds, each line of a back 1.
    auto items = captureFeedback([&] { drawScene(*a); });
    std::vector<int> thirds(DecorationCapacity);
    for (size_t i = 22; i < items.size(); ++i) {
        const int cell = rockCell(items[i]);
        if (cell >= 0) thirds.at(static_cast<size_t>(cell)) += items[i].kind == FeedbackKind::Polygon ? 3 : 1;
    }
    for (int i = 0; i < DecorationCapacity; ++i)
        EXPECT_EQ(thirds[static_cast<size_t>(i)], i < PlacedRockCount ? 60 : 0) << "decoration " << i;

    a->fillMode = GL_LINE;
    items = captureFeedback([&] { drawScene(*a); });
    int rockPolygons = 0, fishPolygons = 0;
    for (size_t i = 22; i < items.size(); ++i)
        if (items[i].kind == FeedbackKind::Polygon) (rockCell(items[i]) >= 0 ? rockPolygons : fishPolygons)++;
    EXPECT_EQ(rockPolygons, 0);
    EXPECT_GT(fishPolygons, 0);
    EXPECT_EQ(polygonModes(), (std::array<GLint, 2>{GL_FILL, GL_LINE}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(SceneDraw, EachFishIsDrawnWhereTheLastFrameLeftItThenAdvancedOnceInOrder) {
    for (int f = 0; f < 60; ++f) {  // set the fish moving
        drawScene(*a);
        advanceVirtualClock(10);
    }
    const auto before = copy(*a);
    const std::uint32_t state = randomState();
    const int depth = modelViewDepth();
    const auto items = captureFeedback([&] { drawScene(*a); });
    EXPECT_EQ(modelViewDepth(), depth);

    // Afterwards each fish is where one updateFish per fish, in array order, puts it.
    const auto expected = copy(*before);
    randomSeed(state);
    for (Fish& fish : expected->fish) updateFish(fish);
    for (int i = 0; i < FishCapacity; ++i) {
        EXPECT_EQ(std::memcmp(&a->fish[i].position, &expected->fish[i].position, sizeof(Vertex)), 0) << i;
        EXPECT_EQ(std::memcmp(&a->fish[i].velocity, &expected->fish[i].velocity, sizeof(Vertex)), 0) << i;
    }

    // The drawing shows each fish at its pose before the frame, fish in order.
    std::vector<FeedbackItem> fishItems;
    for (size_t i = 22; i < items.size(); ++i)
        if (rockCell(items[i]) < 0) fishItems.push_back(items[i]);
    size_t searchFrom = 0;
    int movedFish = 0;
    for (int i = 0; i < FishCapacity; ++i) {
        // A triangle of the body big enough to be drawn (a small fish spans a few pixels).
        int t = 0;
        while (t < getTriangleCount(before->fish[i]) && area(place(before->fish[i], t)) <= 1e-3) ++t;
        ASSERT_LT(t, getTriangleCount(before->fish[i])) << "fish " << i;
        const WindowTriangle old = place(before->fish[i], t), now = place(a->fish[i], t);
        const size_t found = findTriangle(fishItems, searchFrom, old);
        ASSERT_LT(found, fishItems.size()) << "fish " << i << " not drawn at its old pose, or out of order";
        searchFrom = found + 1;
        double moved = 0;
        for (int c = 0; c < 3; ++c)
            moved = std::fmax(moved, std::hypot(old.x[c] - now.x[c], old.y[c] - now.y[c]));
        if (moved > 0.05) {
            ++movedFish;
            EXPECT_EQ(findTriangle(fishItems, 0, now), fishItems.size()) << "fish " << i << " drawn moved";
        }
    }
    EXPECT_GT(movedFish, 4);
}

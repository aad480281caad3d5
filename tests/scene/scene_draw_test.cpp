#include "data/species_tables.h"
#include "fish/behaviour.h"
#include "fish/species_model.h"
#include "host/virtual_clock.h"
#include "mesh/gl_api.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "scene/layout.h"
#include "scene/scene_draw.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// World units seen by the orthographic test camera: x and y from -60 to 60.
constexpr double ViewHalf = 60.0;

double worldX(float windowX) { return windowX / TestViewportWidth * 2 * ViewHalf - ViewHalf; }
double worldY(float windowY) { return windowY / TestViewportHeight * 2 * ViewHalf - ViewHalf; }

// Rocks on a 5 x 5 grid above the tank (y >= 20), so every vertex drawn up
// there names the decoration it came from.
constexpr float GridLeft = -50, GridStep = 25, GridBottom = 20, GridRowStep = 8;

int rockCell(const FeedbackVertex& v) {
    const double x = worldX(v.x), y = worldY(v.y);
    if (y < GridBottom - 2) return -1;
    const int column = static_cast<int>(std::lround((x - GridLeft) / GridStep));
    const int row = static_cast<int>(std::lround((y - GridBottom - 0.5) / GridRowStep));
    return row * 5 + column;
}

// Triangles an item stream stands for: a filled front face is one polygon, a
// back face drawn as lines is three line items.
int triangles(const std::vector<FeedbackItem>& items) {
    int polygons = 0, lines = 0;
    for (const FeedbackItem& item : items) {
        if (item.kind == FeedbackKind::Polygon) ++polygons;
        if (item.kind == FeedbackKind::Line || item.kind == FeedbackKind::LineReset) ++lines;
    }
    EXPECT_EQ(lines % 3, 0);
    return polygons + lines / 3;
}

// Window corners of triangle t of a fish placed at its pose: translated to
// its position, turned by its yaw about y after its pitch about z.
struct WindowTriangle {
    double x[3], y[3];
    double area;
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
    w.area = std::fabs((w.x[1] - w.x[0]) * (w.y[2] - w.y[0]) - (w.x[2] - w.x[0]) * (w.y[1] - w.y[0])) / 2;
    return w;
}

double distance(const WindowTriangle& p, const WindowTriangle& q) {
    double d = 0;
    for (int c = 0; c < 3; ++c) d = std::fmax(d, std::hypot(p.x[c] - q.x[c], p.y[c] - q.y[c]));
    return d;
}

// Index of the first item from `from` on that draws the triangle (filled, or
// its first edge as a line), or items.size().
size_t findTriangle(const std::vector<FeedbackItem>& items, size_t from, const WindowTriangle& w) {
    auto at = [](const FeedbackVertex& v, double x, double y) {
        return std::fabs(v.x - x) < 0.01 && std::fabs(v.y - y) < 0.01;
    };
    for (size_t i = from; i < items.size(); ++i) {
        const auto& v = items[i].vertices;
        if (v.size() < 2 || !at(v[0], w.x[0], w.y[0]) || !at(v[1], w.x[1], w.y[1])) continue;
        if (v.size() == 2 || at(v[2], w.x[2], w.y[2])) return i;
    }
    return items.size();
}

class SceneDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
        glViewport(0, 0, TestViewportWidth, TestViewportHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-ViewHalf, ViewHalf, -ViewHalf, ViewHalf, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_LIGHTING);

        setVirtualTick(60000);
        randomSeed(1);
        a = std::make_unique<Aquarium>();
        constructAquarium(*a);
        for (int i = 0; i < DecorationCapacity; ++i)
            setPosition(a->decorations[i], GridLeft + GridStep * static_cast<float>(i % 5),
                        GridBottom + GridRowStep * static_cast<float>(i / 5), 0.0f);
        // The scene's species, without textures.
        int next = 0;
        for (const SpeciesBuild& build : SpeciesBuildOrder) {
            const SpeciesTable* table = findSpeciesTable(build.species);
            ASSERT_NE(table, nullptr);
            for (int k = 0; k < build.fishCount; ++k, ++next)
                buildSpeciesGeometry(a->fish[next], table->rows, table->rowCount);
        }
        a->fishCount = a->activeFishCount = FishCapacity;
        a->decorationCount = PlacedRockCount;
        link(*a);
    }
    void TearDown() override { guard.reset(); }

    static void link(Aquarium& aquarium) {
        for (Fish& fish : aquarium.fish) {
            linkSchool(fish, aquarium.fish, aquarium.fishCount);
            linkObstacles(fish, aquarium.decorations, aquarium.decorationCount);
        }
    }

    // The part of a frame's stream that the rocks drew, by decoration.
    static std::vector<std::vector<FeedbackItem>> byRock(const std::vector<FeedbackItem>& items) {
        std::vector<std::vector<FeedbackItem>> rocks(DecorationCapacity);
        for (const FeedbackItem& item : items) {
            if (item.vertices.empty()) continue;
            const int cell = rockCell(item.vertices[0]);
            if (cell >= 0 && cell < DecorationCapacity) rocks[static_cast<size_t>(cell)].push_back(item);
        }
        return rocks;
    }

    std::unique_ptr<GlStateGuard> guard;
    std::unique_ptr<Aquarium> a;
};

}  // namespace

TEST_F(SceneDraw, DrawsExactlyThePlacedDecorations) {
    a->activeFishCount = 0;
    const auto items = captureFeedback([&] { drawScene(*a); });
    const auto rocks = byRock(items);
    for (int i = 0; i < DecorationCapacity; ++i) {
        if (i < PlacedRockCount)
            EXPECT_EQ(triangles(rocks[static_cast<size_t>(i)]), 20) << "decoration " << i;
        else
            EXPECT_TRUE(rocks[static_cast<size_t>(i)].empty()) << "decoration " << i;
    }
}

TEST_F(SceneDraw, RocksAndFishFillFrontFacesAndOutlineBackFaces) {
    const auto items = captureFeedback([&] { drawScene(*a); });
    // Past the tank's 22 items: rocks, then fish, each with both kinds.
    ASSERT_GT(items.size(), 22u);
    const std::vector<FeedbackItem> rest(items.begin() + 22, items.end());
    int rockPolygons = 0, rockLines = 0, fishPolygons = 0, fishLines = 0;
    for (const FeedbackItem& item : rest) {
        const bool rock = rockCell(item.vertices[0]) >= 0;
        const bool polygon = item.kind == FeedbackKind::Polygon;
        (rock ? (polygon ? rockPolygons : rockLines) : (polygon ? fishPolygons : fishLines))++;
    }
    EXPECT_GT(rockPolygons, 0);
    EXPECT_GT(rockLines, 0);
    EXPECT_GT(fishPolygons, 0);
    EXPECT_GT(fishLines, 0);

    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_LINE);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(SceneDraw, FillModeAppliesToRocksButFishStayFilled) {
    a->fillMode = GL_LINE;
    const auto items = captureFeedback([&] { drawScene(*a); });
    int rockPolygons = 0, fishPolygons = 0;
    for (size_t i = 22; i < items.size(); ++i) {
        if (items[i].kind != FeedbackKind::Polygon) continue;
        (rockCell(items[i].vertices[0]) >= 0 ? rockPolygons : fishPolygons)++;
    }
    EXPECT_EQ(rockPolygons, 0);
    EXPECT_GT(fishPolygons, 0);
}

TEST_F(SceneDraw, EachFishIsDrawnWhereTheLastFrameLeftItThenAdvancedOnceInOrder) {
    // Some frames to set the fish moving.
    for (int f = 0; f < 60; ++f) {
        drawScene(*a);
        advanceVirtualClock(10);
    }
    auto b = std::make_unique<Aquarium>();
    std::memcpy(static_cast<void*>(b.get()), a.get(), sizeof(Aquarium));
    link(*b);
    const std::uint32_t state = randomState();

    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    const auto items = captureFeedback([&] { drawScene(*a); });
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);

    // Each fish is then where one updateFish per fish, in array order, puts
    // it; b still holds every pose from before the frame.
    const auto afterFrame = std::make_unique<Aquarium>();
    std::memcpy(static_cast<void*>(afterFrame.get()), b.get(), sizeof(Aquarium));
    link(*afterFrame);
    randomSeed(state);
    for (Fish& fish : afterFrame->fish) updateFish(fish);
    for (int i = 0; i < FishCapacity; ++i) {
        EXPECT_EQ(std::memcmp(&a->fish[i].position, &afterFrame->fish[i].position, sizeof(Vertex)), 0);
        EXPECT_EQ(std::memcmp(&a->fish[i].velocity, &afterFrame->fish[i].velocity, sizeof(Vertex)), 0);
    }

    // Each fish's drawing shows its pose before the frame, fish in order.
    std::vector<FeedbackItem> fishItems;
    for (size_t i = 22; i < items.size(); ++i)
        if (rockCell(items[i].vertices[0]) < 0) fishItems.push_back(items[i]);
    size_t searchFrom = 0;
    int movedFish = 0;
    for (int i = 0; i < FishCapacity; ++i) {
        const Fish& old = b->fish[i];
        const Fish& now = a->fish[i];
        // A triangle of the body big enough to be drawn, at both poses.
        int t = 0;
        WindowTriangle atOld{}, atNow{};
        for (; t < getTriangleCount(old); ++t) {
            atOld = place(old, t);
            atNow = place(now, t);
            if (atOld.area > 1e-3) break;  // a small fish spans a few pixels
        }
        ASSERT_LT(t, getTriangleCount(old)) << "fish " << i;
        const size_t found = findTriangle(fishItems, searchFrom, atOld);
        ASSERT_LT(found, fishItems.size()) << "fish " << i << " not drawn at its old pose";
        searchFrom = found + 1;
        if (distance(atOld, atNow) > 0.05) {
            ++movedFish;
            EXPECT_EQ(findTriangle(fishItems, 0, atNow), fishItems.size())
                << "fish " << i << " drawn at its new pose";
        }
    }
    EXPECT_GT(movedFish, 4);
}

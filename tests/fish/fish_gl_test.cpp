#include "fish/fish.h"

#include "data/species_tables.h"
#include "tests/support/fish_fixtures.h"
#include "tests/support/gl_fixtures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double toWindow(double world) { return (world + 4.0) * 32.0; }  // ortho -4 .. 4 on 256 pixels

class FishDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        useOrtho(4, 4);
        // A nose at local (-1, 0, 0) and two more corners, so the triangle faces +z at rest.
        fish = std::make_unique<Fish>();
        initMesh(*fish);
        addTriangle(*fish, addVertex(*fish, -1, 0, 0), addVertex(*fish, 0, -0.5f, 0),
                    addVertex(*fish, 0, 0.5f, 0));
        for (int i = 0; i < 3; ++i)
            fish->restVertices[i] = fish->vertices[i];  // for the swim animation
    }
    std::unique_ptr<Fish> fish;
};

}  // namespace

TEST_F(FishDraw, PitchAboutZComesBeforeYawAboutY) {
    fish->position = Vertex{1, 2, 0, 0, 0, 0, 0, 0, 0};
    fish->orientation = Vertex{0, 90, 30, 0, 0, 0, 0, 0, 0};
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    // Pitch 30 lifts the nose to (-cos 30, -sin 30, 0); yaw 90 then turns -x
    // onto +z, leaving the nose at (0, -0.5, 0.866) from the position.
    const double depth = (1.0 - 0.8660254 / 4.0) / 2.0;
    int noses = 0;
    for (const FeedbackItem& item : captureFeedback([&] { drawFish(*fish); }))
        for (const FeedbackVertex& v : item.vertices)
            noses += std::fabs(v.x - toWindow(1.0)) < 1e-3 &&
                     std::fabs(v.y - toWindow(1.5)) < 1e-3 && std::fabs(v.z - depth) < 1e-5;
    EXPECT_GT(noses, 0);
}

#if !AQUARIUM_SWIM_ANIMATION && !AQUARIUM_DEBUG_OVERLAY
TEST_F(FishDraw, WithTheSwitchesOffAFlockingFishIsOneRigidBodyWithoutDebugLines) {
    fish->flocking = true;
    fish->flockRadius = 1.0f;
    fish->flockCentre = Vertex{3, 3, 3, 0, 0, 0, 0, 0, 0};
    fish->flockHeading = Vertex{0.01f, 0, 0, 0, 0, 0, 0, 0, 0};
    const float restZ = getVertex(*fish, 0).z;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const auto items = captureFeedback([&] { drawFish(*fish); });
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].kind, FeedbackKind::Polygon);
    EXPECT_EQ(getVertex(*fish, 0).z, restZ) << "the mesh is not animated";
}
#endif

#if AQUARIUM_DEBUG_OVERLAY
// Built in, the overlay draws from the fish to its flock centre, yellow on or
// inside the flock radius and red beyond, then the heading (x 50) in green;
// a fish that does not flock gets no lines.
TEST_F(FishDraw, TheDebugOverlayDrawsTheFlockLinesOfAFlockingFish) {
    const struct {
        bool flocking;
        float centreX;
        float r, g;
    } cases[] = {
        {true, 1.5f, 1, 1},
        {true, 2.0f, 1, 1},
        {true, 2.5f, 1, 0},
        {false, 2.5f, -1, -1},
    };
    for (const auto& c : cases) {
        fish->position = Vertex{1, 2, 0, 0, 0, 0, 0, 0, 0};
        fish->flocking = c.flocking;
        fish->flockRadius = 1.0f;  // the centre is 0.5, 1 or 1.5 away
        fish->flockCentre = Vertex{c.centreX, 2, 0, 0, 0, 0, 0, 0, 0};
        fish->flockHeading = Vertex{0, -0.02f, 0, 0, 0, 0, 0, 0, 0};
        std::vector<FeedbackItem> lines;
        for (const FeedbackItem& item : captureFeedback([&] { drawFish(*fish); }))
            if (item.kind == FeedbackKind::Line)
                lines.push_back(item);
        if (!c.flocking) {
            EXPECT_TRUE(lines.empty());
            continue;
        }
        ASSERT_EQ(lines.size(), 2u) << c.centreX;
        const FeedbackVertex* flock = lines[0].vertices.data();
        const FeedbackVertex* heading = lines[1].vertices.data();
        for (int end = 0; end < 2; ++end) {
            EXPECT_TRUE(flock[end].r == c.r && flock[end].g == c.g && flock[end].b == 0)
                << c.centreX;
            EXPECT_TRUE(heading[end].r == 0 && heading[end].g == 1 && heading[end].b == 0);
        }
        EXPECT_NEAR(flock[0].x, toWindow(1.0), 1e-3);
        EXPECT_NEAR(flock[1].x, toWindow(c.centreX), 1e-3);
        EXPECT_NEAR(heading[0].y, toWindow(2.0), 1e-3);
        EXPECT_NEAR(heading[1].y, toWindow(1.0), 1e-3);  // 2 - 0.02 x 50
    }
}
#endif

#if AQUARIUM_SWIM_ANIMATION
// Built in, every draw bends the body for the fish's place in its ramp: at
// the start of a beat the nose stays where the rest shape has it while the
// tail is swung aside, and a quarter beat later the tail has moved on.
TEST_F(FishDraw, TheSwimAnimationSwingsTheTailAndHoldsTheNose) {
    auto swimmer = makeFish(profile108, 43);
    const float xMin = getXMin(*swimmer), xMax = getXMax(*swimmer);
    auto depthsAt = [&](float x) {  // drawn depths of the vertices at model x
        std::vector<double> depths;
        for (const FeedbackItem& item : captureFeedback([&] { drawFish(*swimmer); }))
            for (const FeedbackVertex& v : item.vertices)
                if (std::fabs(v.x - toWindow(x)) < 1e-3) depths.push_back(v.z);
        std::sort(depths.begin(), depths.end());
        return depths;
    };
    auto restDepthsAt = [&](float x) {
        std::vector<double> depths;
        for (int i = 0; i < getVertexCount(*swimmer); ++i)
            if (getRestVertex(*swimmer, i).x == x)
                depths.push_back((1.0 - getRestVertex(*swimmer, i).z / 4.0) / 2.0);
        return depths;
    };
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_CULL_FACE);
    swimmer->lastStepCount = 20;
    swimmer->stepCount = 0;
    const std::vector<double> nose = depthsAt(xMin), tail = depthsAt(xMax);
    const std::vector<double> restNose = restDepthsAt(xMin), restTail = restDepthsAt(xMax);
    ASSERT_FALSE(nose.empty() || tail.empty() || restNose.empty() || restTail.empty());
    for (double d : nose)
        EXPECT_TRUE(std::any_of(restNose.begin(), restNose.end(), [&](double r) {
            return std::fabs(d - r) < 1e-5;
        })) << "the nose moved";
    for (double d : tail)
        EXPECT_TRUE(std::none_of(restTail.begin(), restTail.end(), [&](double r) {
            return std::fabs(d - r) < 1e-3;
        })) << "the tail did not swing";
    swimmer->stepCount = 5;  // a quarter beat on
    const std::vector<double> later = depthsAt(xMax);
    ASSERT_EQ(later.size(), tail.size());
    EXPECT_GT(std::fabs(later.back() - tail.back()), 1e-3);
}
#endif

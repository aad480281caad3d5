#include "fish/fish.h"

#include "data/species_tables.h"
#include "tests/support/fish_fixtures.h"
#include "tests/support/gl_fixtures.h"

namespace {

double toWindow(double world) { return (world + 4.0) * 32.0; }  // ortho -4 .. 4 on 256 pixels

class FishDraw : public GlTest {
protected:
    void prepare() override {
        useOrtho(4, 4);
        // A nose at local (-1, 0, 0) and two more corners, so the triangle faces +z at rest.
        fish = std::make_unique<Fish>();
        initMesh(*fish);
        addTriangle(*fish, addVertex(*fish, -1, 0, 0), addVertex(*fish, 0, -0.5f, 0),
                    addVertex(*fish, 0, 0.5f, 0));
        for (int i = 0; i < 3; ++i) fish->restVertices[i] = fish->vertices[i];
        fish->position = vec(1, 2, 0);
        fish->flockRadius = 1.0f;
        fish->flockHeading = vec(0, -0.02f, 0);
    }
    std::unique_ptr<Fish> fish;
};

}  // namespace

TEST_F(FishDraw, PitchAboutZComesBeforeYawAboutY) {
    fish->orientation = vec(0, 90, 30);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    // Pitch 30 lifts the nose to (-cos 30, -sin 30, 0); yaw 90 then turns -x
    // onto +z, leaving the nose at (0, -0.5, 0.866) from the position.
    const double depth = (1.0 - 0.8660254 / 4.0) / 2.0;
    int noses = 0;
    for (const FeedbackItem& item : captureFeedback([&] { drawFish(*fish); }))
        for (const FeedbackVertex& v : item.vertices)
            noses += std::fabs(v.x - toWindow(1.0)) < 1e-3 && std::fabs(v.y - toWindow(1.5)) < 1e-3 &&
                     std::fabs(v.z - depth) < 1e-5;
    EXPECT_EQ(noses, 2);  // the two edges that meet at the nose
}

// The flock lines run from the fish to its flock centre, yellow on or inside
// the flock radius and red beyond, then along the heading (x 50) in green,
// only where the overlay is built in and only for a fish that flocks.
TEST_F(FishDraw, FlockLinesOnlyWithTheOverlayBuiltIn) {
    for (const float centreX : {2.0f, 2.5f, -1.0f}) {  // 1 and 1.5 from the fish; -1: no flocking
        fish->flocking = centreX > 0;
        fish->flockCentre = vec(centreX, 2, 0);
        std::vector<FeedbackVertex> ends;
        for (const FeedbackItem& item : captureFeedback([&] { drawFish(*fish); }))
            if (item.kind == FeedbackKind::Line) ends.insert(ends.end(), item.vertices.begin(), item.vertices.end());
        ASSERT_EQ(ends.size(), debugOverlayEnabled && fish->flocking ? 4u : 0u) << centreX;
        if (ends.empty()) continue;
        EXPECT_TRUE(ends[0].r == 1 && ends[1].g == (centreX == 2.0f ? 1 : 0) && ends[2].g == 1 && ends[3].r == 0);
        EXPECT_TRUE(std::fabs(ends[1].x - toWindow(centreX)) < 1e-3 && std::fabs(ends[3].y - toWindow(1.0)) < 1e-3);
    }
}

TEST_F(FishDraw, TheBodyBendsOnlyWithTheSwimAnimationBuiltIn) {
    auto swimmer = makeFish(profile108, 43);
    swimmer->lastStepCount = 20;
    swimmer->stepCount = 5;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    captureFeedback([&] { drawFish(*swimmer); });
    const int tail = getVertexCount(*swimmer) - 8;  // the top of the last ring
    EXPECT_EQ(getVertex(*swimmer, tail).z != getRestVertex(*swimmer, tail).z, swimAnimationEnabled);
}

#include "fish/fish.h"

#include "tests/support/feedback.h"
#include "tests/support/gl_fixtures.h"

#include <cmath>

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
            noses += std::fabs(v.x - toWindow(1.0)) < 1e-3 && std::fabs(v.y - toWindow(1.5)) < 1e-3 &&
                     std::fabs(v.z - depth) < 1e-5;
    EXPECT_GT(noses, 0);
}

TEST_F(FishDraw, WithTheSwitchesOffAFlockingFishIsOneRigidBodyWithoutDebugLines) {
    static_assert(!swimAnimationEnabled && !debugOverlayEnabled, "as configured");
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

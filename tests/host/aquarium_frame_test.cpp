// Whole frames of the real start-up, read back from the framebuffer and
// checked at the window positions of known world points.
#include "host/frame_loop.h"
#include "host/gl_state.h"
#include "host/offscreen_gl_context.h"
#include "host/offscreen_host.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "scene/layout.h"
#include "tests/support/gl_fixtures.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr int Height = 144;  // a 16:9 picture in the bottom of the test surface

using Rgb = std::array<int, 3>;
using RgbTest = std::function<bool(const Rgb&)>;
const RgbTest isFrameGrey = [](const Rgb& c) { return c == Rgb{102, 102, 102}; };
const RgbTest isBlack = [](const Rgb& c) { return c == Rgb{0, 0, 0}; };

// Whether a colour lies within the per-channel range of a texture's texels.
RgbTest inTexture(TextureId texture) {
    std::vector<unsigned char> texels(64 * 64 * 3);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    Rgb lo{255, 255, 255}, hi{0, 0, 0};
    for (size_t i = 0; i < texels.size(); ++i) {
        lo[i % 3] = std::min<int>(lo[i % 3], texels[i]);
        hi[i % 3] = std::max<int>(hi[i % 3], texels[i]);
    }
    return [lo, hi](const Rgb& c) {
        for (int k = 0; k < 3; ++k)
            if (c[k] < lo[k] || c[k] > hi[k]) return false;
        return true;
    };
}

class AquariumFrame : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        setVirtualTick(60000);
        randomSeed(1);
        constructAquarium(scene);
        resizeViewport(TestViewportWidth, Height);
        initGlState();
        resetFrameLoop();
    }
    void TearDown() override {
        resetFrameLoop();
        GlTest::TearDown();
    }

    // Draws a frame and reads it back; the frame leaves the camera on the
    // model-view, so project() gives window positions of world points.
    void renderAndRead() {
        renderFrame();
        pixels.resize(static_cast<size_t>(TestViewportWidth) * TestViewportHeight * 3);
        readOffscreenPixels(TestViewportWidth, TestViewportHeight, pixels.data());
    }

    // True when some pixel within `radius` of the world point passes `test`.
    bool anyNear(double x, double y, double z, int radius, const RgbTest& test) const {
        const auto w = project(x, y, z);
        const int cx = static_cast<int>(std::floor(w[0])), cy = static_cast<int>(std::floor(w[1]));
        for (int py = std::max(cy - radius, 0); py <= std::min(cy + radius, Height - 1); ++py)
            for (int px = std::max(cx - radius, 0); px <= std::min(cx + radius, TestViewportWidth - 1); ++px) {
                const unsigned char* p = &pixels[(static_cast<size_t>(py) * TestViewportWidth + px) * 3];
                if (test(Rgb{p[0], p[1], p[2]})) return true;
            }
        return false;
    }

    std::vector<unsigned char> pixels;
};

}  // namespace

TEST_F(AquariumFrame, FirstFrameShowsTankFloorArchAndFishAtTheCentre) {
    renderAndRead();
    EXPECT_EQ(lastGlError(), 0u);
    // The back corners of the grey frame (the front ones lie outside a 16:9
    // picture at this distance).
    for (double x : {-24.0, 24.0})
        for (double y : {-12.0, 12.0}) EXPECT_TRUE(anyNear(x, y, -12, 1, isFrameGrey)) << x << " " << y;
    // The floor at full texture brightness in the right half, where no rock stands.
    const RgbTest floor = inTexture(scene.floorTexture);
    for (double x : {6.0, 12.0, 18.0})
        for (double z : {-8.0, 0.0, 8.0}) EXPECT_TRUE(anyNear(x, -12, z, 0, floor)) << x << " " << z;
    // The arch: every rock in the left half, gravel on its slabs.
    const RgbTest gravel = inTexture(getTexture(scene.decorations[0]));
    int gravelHits = 0;
    for (int k = 0; k < PlacedRockCount; ++k) {
        const float* r = RockPositions[k];
        EXPECT_LT(project(r[0], r[1] + 0.5, r[2])[0], TestViewportWidth / 2) << k;
        if (k == 0 || k == 6 || k == 7 || k == 13 || k == 16)
            gravelHits += anyNear(r[0], r[1] + 0.5, r[2], 1, [&](const Rgb& c) { return gravel(c) && !isBlack(c); });
    }
    EXPECT_GE(gravelHits, 4);
    // Every fish starts at the centre: a skin there, open water to either side.
    std::vector<RgbTest> skins;
    for (const Fish& fish : scene.fish) skins.push_back(inTexture(getTexture(fish)));
    EXPECT_TRUE(anyNear(0, 0, 0, 1, [&](const Rgb& c) {
        return !isBlack(c) && std::any_of(skins.begin(), skins.end(), [&](const RgbTest& s) { return s(c); });
    }));
    EXPECT_TRUE(anyNear(15, 0, 0, 0, isBlack) && anyNear(-15, 5, 0, 0, isBlack));
}

TEST_F(AquariumFrame, AfterThirtySecondsTheViewTurns45Degrees) {
    // 10 ms frames with the fish held still and one pixel cleared, until the
    // first step has run; then one full frame.
    const std::int32_t fish = scene.activeFishCount;
    scene.activeFishCount = 0;
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    int frames = 0;
    bool turning = false;
    for (; frames < 4000 && !(turning && camera().yawRate == 0.0f); ++frames) {
        renderFrame();
        advanceVirtualClock(10);
        turning = turning || camera().yawRate != 0.0f;
    }
    glDisable(GL_SCISSOR_TEST);
    scene.activeFishCount = fish;
    ASSERT_TRUE(turning);
    EXPECT_EQ(camera().yaw, 45.0f);
    EXPECT_GE(frames, 3002);  // thirty seconds of 10 ms frames
    renderAndRead();
    // The camera: 41 units back, the world turned 45 degrees about y.
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    const double c = std::sqrt(0.5);
    const double expected[16] = {c, 0, -c, 0, 0, 1, 0, 0, c, 0, c, 0, 0, 0, -41, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-6) << i;
    EXPECT_TRUE(anyNear(24, -12, -12, 1, isFrameGrey) && anyNear(24, 12, -12, 1, isFrameGrey));
}

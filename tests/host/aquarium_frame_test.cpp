// Whole frames of the real start-up, read back from the framebuffer and
// checked at the window positions of known world points.
#include "host/frame_loop.h"
#include "host/gl_state.h"
#include "host/offscreen_gl_context.h"
#include "host/virtual_clock.h"
#include "mesh/gl_api.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "scene/layout.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// A 16:9 picture in the bottom of the test surface, like a wide screen.
constexpr int Width = TestViewportWidth;
constexpr int Height = 144;

using Rgb = std::array<int, 3>;

class AquariumFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
        setVirtualTick(60000);
        randomSeed(1);
        constructAquarium(scene);
        resizeViewport(Width, Height);
        initGlState();
        resetFrameLoop();
    }
    void TearDown() override {
        resetFrameLoop();
        guard.reset();
    }

    void readFrame() {
        pixels.resize(static_cast<size_t>(TestViewportWidth) * TestViewportHeight * 3);
        readOffscreenPixels(TestViewportWidth, TestViewportHeight, pixels.data());
        // The camera's matrix is what the frame left on the model-view.
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, proj);
        glGetIntegerv(GL_VIEWPORT, viewport);
    }

    Rgb pixel(int x, int y) const {
        const size_t at = (static_cast<size_t>(y) * TestViewportWidth + static_cast<size_t>(x)) * 3;
        return {pixels[at], pixels[at + 1], pixels[at + 2]};
    }

    // The window pixel of a world point under the frame's camera.
    std::array<int, 2> at(double x, double y, double z) const {
        double wx = 0, wy = 0, wz = 0;
        gluProject(x, y, z, model, proj, viewport, &wx, &wy, &wz);
        return {static_cast<int>(std::floor(wx)), static_cast<int>(std::floor(wy))};
    }

    // True when some pixel within `radius` of the point satisfies `test`.
    template <typename Test>
    bool anyNear(double x, double y, double z, int radius, Test test) const {
        const auto p = at(x, y, z);
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const int px = p[0] + dx, py = p[1] + dy;
                if (px < 0 || py < 0 || px >= Width || py >= Height) continue;
                if (test(pixel(px, py))) return true;
            }
        return false;
    }

    // Per-channel range of a texture's texels.
    static std::array<Rgb, 2> texelRange(TextureId texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        std::vector<unsigned char> texels(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        std::array<Rgb, 2> range{Rgb{255, 255, 255}, Rgb{0, 0, 0}};
        for (size_t i = 0; i < texels.size(); ++i) {
            range[0][i % 3] = std::min<int>(range[0][i % 3], texels[i]);
            range[1][i % 3] = std::max<int>(range[1][i % 3], texels[i]);
        }
        return range;
    }

    static bool within(const Rgb& c, const std::array<Rgb, 2>& range) {
        for (int k = 0; k < 3; ++k)
            if (c[k] < range[0][k] || c[k] > range[1][k]) return false;
        return true;
    }

    std::unique_ptr<GlStateGuard> guard;
    std::vector<unsigned char> pixels;
    GLdouble model[16] = {}, proj[16] = {};
    GLint viewport[4] = {};
};

const auto isFrameGrey = [](const Rgb& c) { return c == Rgb{102, 102, 102}; };
const auto isBlack = [](const Rgb& c) { return c == Rgb{0, 0, 0}; };

}  // namespace

TEST_F(AquariumFrame, FirstFrameShowsTankFloorArchAndFishAtTheCentre) {
    renderFrame();
    readFrame();
    EXPECT_EQ(lastGlError(), 0u);

    // The back corners and edges of the grey frame (the front ones lie
    // outside a 16:9 picture at this distance).
    for (double x : {-24.0, 24.0})
        for (double y : {-12.0, 12.0})
            EXPECT_TRUE(anyNear(x, y, -12, 1, isFrameGrey)) << x << " " << y;
    EXPECT_TRUE(anyNear(0, 12, -12, 1, isFrameGrey));
    EXPECT_TRUE(anyNear(24, 0, -12, 1, isFrameGrey));

    // The floor shows its texture at full brightness in the right half,
    // where no rock stands.
    const auto floorRange = texelRange(scene.floorTexture);
    for (double x : {6.0, 12.0, 18.0})
        for (double z : {-8.0, 0.0, 8.0}) {
            const auto p = at(x, -12, z);
            EXPECT_TRUE(within(pixel(p[0], p[1]), floorRange)) << x << " " << z;
        }

    // Gravel on the slabs of the arch, all in the left half of the picture.
    const auto gravelRange = texelRange(getTexture(scene.decorations[0]));
    for (int k = 0; k < PlacedRockCount; ++k) {
        const float* r = RockPositions[k];
        EXPECT_LT(at(r[0], r[1] + 0.5, r[2])[0], Width / 2) << k;
    }
    int gravelHits = 0;
    for (int k : {0, 6, 7, 13, 16}) {
        const float* r = RockPositions[k];
        gravelHits += anyNear(r[0], r[1] + 0.5, r[2], 1, [&](const Rgb& c) {
            return within(c, gravelRange) && !isBlack(c);
        });
    }
    EXPECT_GE(gravelHits, 4);

    // Every fish starts at the centre of the tank: a body there, open water
    // to either side.
    EXPECT_TRUE(anyNear(0, 0, 0, 1, [](const Rgb& c) { return !isBlack(c); }));
    EXPECT_TRUE(isBlack(pixel(at(15, 0, 0)[0], at(15, 0, 0)[1])));
    EXPECT_TRUE(isBlack(pixel(at(-15, 5, 0)[0], at(-15, 5, 0)[1])));
}

TEST_F(AquariumFrame, AfterThirtySecondsTheViewTurns45Degrees) {
    // Half a minute of 10 ms frames with the fish held still and nothing
    // cleared but one pixel, then one full frame after the step.
    const std::int32_t fish = scene.activeFishCount;
    scene.activeFishCount = 0;
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    int frames = 0;
    bool turning = false;
    while (frames < 4000 && !(turning && camera().yawRate == 0.0f)) {
        renderFrame();
        advanceVirtualClock(10);
        ++frames;
        turning = turning || camera().yawRate != 0.0f;
    }
    glDisable(GL_SCISSOR_TEST);
    scene.activeFishCount = fish;
    ASSERT_TRUE(turning);
    EXPECT_EQ(camera().yaw, 45.0f);
    EXPECT_GE(frames, 3002);
    renderFrame();
    readFrame();
    // The camera: 41 units back, the world turned 45 degrees about y.
    const double c = std::sqrt(0.5);
    EXPECT_NEAR(model[0], c, 1e-6);
    EXPECT_NEAR(model[2], -c, 1e-6);
    EXPECT_NEAR(model[8], c, 1e-6);
    EXPECT_NEAR(model[10], c, 1e-6);
    EXPECT_NEAR(model[14], -41, 1e-6);
    // The frame's edges lie where that view projects them.
    EXPECT_TRUE(anyNear(24, -12, -12, 1, isFrameGrey));
    EXPECT_TRUE(anyNear(24, 12, -12, 1, isFrameGrey));
}

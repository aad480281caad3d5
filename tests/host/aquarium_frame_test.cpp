// Whole frames of the real start-up, read back from the framebuffer and
// checked at the window positions of known world points.
#include "host/frame_loop.h"
#include "host/gl_state.h"
#include "host/offscreen_gl_context.h"
#include "host/offscreen_host.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "tests/support/gl_fixtures.h"

#include <cmath>
#include <tuple>

namespace {

constexpr int Height = 144;  // a 16:9 picture in the bottom of the test surface

class AquariumFrame : public GlTest {
protected:
    void prepare() override {
        setVirtualTick(60000);
        randomSeed(1);
        constructAquarium(scene);
        resizeViewport(TestViewportWidth, Height);
        initGlState();
        resetFrameLoop();
    }
    // Draws a frame and reads it back; the frame leaves the camera on the
    // model-view, so project() gives window positions of world points.
    void renderAndRead() {
        renderFrame();
        readOffscreenPixels(TestViewportWidth, TestViewportHeight, pixels.data());
    }

    // The colour at the window position of a world point (moved by dx, dy
    // pixels), as 0xRRGGBB; -1 outside the picture.
    int colourAt(double x, double y, double z, int dx = 0, int dy = 0) const {
        const auto w = project(x, y, z);
        const int px = static_cast<int>(std::floor(w[0])) + dx, py = static_cast<int>(std::floor(w[1])) + dy;
        if (px < 0 || py < 0 || px >= TestViewportWidth || py >= Height) return -1;
        const unsigned char* p = &pixels[(static_cast<size_t>(py) * TestViewportWidth + px) * 3];
        return p[0] << 16 | p[1] << 8 | p[2];
    }

    // The grey frame's corner at the back of the tank, seen within a pixel.
    bool greyCornerAt(double x, double y) const {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (colourAt(x, y, -12, dx, dy) == 0x666666) return true;
        return false;
    }

    std::vector<unsigned char> pixels = std::vector<unsigned char>(TestViewportWidth * TestViewportHeight * 3);
};

}  // namespace

// The first frames, in a 16:9 view and then in a portrait view. (A view per
// monitor: the X11 saver's test on two monitors, and the renderer's trace.)
TEST_F(AquariumFrame, FirstFramesShowTankFloorArchAndFishAndPortraitTheWholeTank) {
    renderAndRead();
    EXPECT_EQ(lastGlError(), 0u);
    // The back corners of the grey frame (the front ones lie outside a 16:9
    // picture at this distance), the floor's gravel where no rock stands, a
    // rock of the arch, every fish at the centre and open water beside them.
    for (double x : {-24.0, 24.0})
        for (double y : {-12.0, 12.0}) EXPECT_TRUE(greyCornerAt(x, y)) << x << " " << y;
    for (double x : {6.0, 18.0})
        for (double z : {-8.0, 8.0}) {
            const int c = colourAt(x, -12, z);
            EXPECT_TRUE(c > 0 && c != 0x666666) << x << " " << z;
        }
    EXPECT_GT(colourAt(-15, -11.5, 1), 0) << "the foot of the arch";
    EXPECT_GT(colourAt(0, 0, 0), 0) << "the fish";
    EXPECT_TRUE(colourAt(15, 0, 0) == 0 && colourAt(-15, 5, 0) == 0);

    // A portrait view 72 wide still reaches from one side wall to the other.
    resizeViewport(72, Height);
    renderAndRead();
    for (double x : {-24.0, 24.0})
        for (double y : {-12.0, 12.0}) EXPECT_TRUE(greyCornerAt(x, y)) << x << " " << y;
}

TEST_F(AquariumFrame, AfterThirtySecondsTheViewTurns45Degrees) {
    // 10 ms frames with the fish held still and one pixel cleared, until the
    // first step has run; then one full frame.
    const std::int32_t fish = scene.activeFishCount;
    scene.activeFishCount = 0;
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    int frames = 0, began = 0;
    for (; frames < 4000 && !(began > 0 && camera().yawRate == 0.0f); ++frames) {
        if (frames == 100) glEnable(0xFFFF);  // GL_INVALID_ENUM, recorded at the end of the frame
        renderFrame();
        EXPECT_EQ(lastGlError(), frames == 100 ? static_cast<std::uint32_t>(GL_INVALID_ENUM) : 0u);
        advanceVirtualClock(10);
        if (began == 0 && camera().yawRate != 0.0f) began = frames + 1;
    }
    glDisable(GL_SCISSOR_TEST);
    scene.activeFishCount = fish;
    // The step begins after thirty seconds of 10 ms frames and takes 50 frames
    // at the estimated 99 a second; the meter as the frame loop left it.
    const FrameRateMeter& r = frameRateMeter();
    EXPECT_EQ(std::make_tuple(began, frames, camera().yaw, r.framesPerSecond, r.frameCount,
                              r.tickReference, r.lastRecordedRate, r.lastRateChangeTime),
              std::make_tuple(3002, 3052, 45.0f, 99, 1826, 72237u, 99, VirtualCalendarEpoch + 13));
    EXPECT_STREQ(lastGlErrorText(), reinterpret_cast<const char*>(gluErrorString(GL_INVALID_ENUM)));
    renderAndRead();
    // The camera: 41 units back, the world turned 45 degrees about y.
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    const double c = std::sqrt(0.5);
    const double expected[16] = {c, 0, -c, 0, 0, 1, 0, 0, c, 0, c, 0, 0, 0, -41, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-6) << i;
    EXPECT_TRUE(greyCornerAt(24, -12) && greyCornerAt(24, 12));
}

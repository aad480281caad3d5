#include "host/frame_loop.h"

#include "host/gl_state.h"
#include "host/virtual_clock.h"
#include "mesh/gl_api.h"
#include "scene/aquarium.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Frames over the global scene with nothing placed in it (tank only), so
// thousands of frames stay cheap; the counts are restored afterwards.
class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
        savedFish = scene.activeFishCount;
        savedDecorations = scene.decorationCount;
        scene.activeFishCount = 0;
        scene.decorationCount = 0;
        resizeViewport(TestViewportWidth, TestViewportHeight);
        // Only the meter and the camera matter here: clear and draw one pixel.
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 1, 1);
        resetFrameLoop();
    }
    void TearDown() override {
        scene.activeFishCount = savedFish;
        scene.decorationCount = savedDecorations;
        resetFrameLoop();
        guard.reset();
    }

    // Draws one frame at the current virtual time, then lets `period` ms pass.
    void frame(std::uint32_t period) {
        renderFrame();
        advanceVirtualClock(period);
    }

    // Runs frames until a step begins (yawRate becomes non-zero); the number
    // of frames drawn, or -1 after `limit`.
    int framesUntilStepBegins(std::uint32_t period, int limit) {
        for (int n = 1; n <= limit; ++n) {
            frame(period);
            if (camera().yawRate != 0.0f) return n;
        }
        return -1;
    }
    // Runs frames until the running step ends; the number of frames drawn.
    int framesUntilStepEnds(std::uint32_t period, int limit) {
        for (int n = 1; n <= limit; ++n) {
            frame(period);
            if (camera().yawRate == 0.0f) return n;
        }
        return -1;
    }

    std::unique_ptr<GlStateGuard> guard;
    std::int32_t savedFish = 0;
    std::int32_t savedDecorations = 0;
};

}  // namespace

TEST_F(FrameLoop, Frames1To20Use50AndFrame21MakesTheFirstEstimate) {
    setVirtualTick(1000);
    frame(20);
    // Frame 1 records the initial rate but halves nothing.
    EXPECT_EQ(frameRateMeter().framesPerSecond, 50);
    EXPECT_EQ(frameRateMeter().lastRecordedRate, 50);
    EXPECT_EQ(frameRateMeter().lastRateChangeTime, VirtualCalendarEpoch);
    EXPECT_EQ(frameRateMeter().frameCount, 1);
    for (int n = 2; n <= 20; ++n) frame(20);
    EXPECT_EQ(frameRateMeter().framesPerSecond, 50);
    EXPECT_EQ(frameRateMeter().frameCount, 20);
    EXPECT_EQ(frameRateMeter().tickReference, 0u);

    // Frame 21 at tick 1400: 21 x 1000 / 1400 = 15. Still the calendar second
    // of frame 1, so the change is neither recorded nor halves the window.
    renderFrame();
    EXPECT_EQ(frameRateMeter().framesPerSecond, 15);
    EXPECT_EQ(frameRateMeter().lastRecordedRate, 50);
    EXPECT_EQ(frameRateMeter().frameCount, 21);
    EXPECT_EQ(frameRateMeter().tickReference, 0u);
}

TEST_F(FrameLoop, HalvingWaitsForTheNextCalendarSecondAndTakesTheMidpoint) {
    setVirtualTick(1000);
    for (int n = 1; n <= 50; ++n) frame(20);  // frames at ticks 1000 .. 1980
    // Frame 51 is the first in calendar second 1: the estimate 51000 / 2000
    // = 25 is recorded and the window halved to 25 frames from tick 1000.
    renderFrame();
    EXPECT_EQ(frameRateMeter().framesPerSecond, 25);
    EXPECT_EQ(frameRateMeter().lastRecordedRate, 25);
    EXPECT_EQ(frameRateMeter().lastRateChangeTime, VirtualCalendarEpoch + 1);
    EXPECT_EQ(frameRateMeter().frameCount, 25);
    EXPECT_EQ(frameRateMeter().tickReference, 1000u);
}

TEST_F(FrameLoop, EstimatesOfTwoOrLessFallBackTo50) {
    // Ten minutes of up-time: 21 frames / 600 s rounds to 0.
    setVirtualTick(600000);
    for (int n = 1; n <= 40; ++n) frame(20);
    EXPECT_EQ(frameRateMeter().framesPerSecond, 50);
    EXPECT_EQ(frameRateMeter().frameCount, 40);
}

TEST_F(FrameLoop, ElapsedTimeIsTheTickDifferenceModulo2To32ReadAsSigned) {
    // Starting 256 ms before the wrap, reference 0 lies ahead of the tick:
    // frames 21 to 26 read a negative elapsed time and leave the rate alone.
    setVirtualTick(0xFFFFFF00u);
    for (int n = 1; n <= 26; ++n) frame(10);
    EXPECT_EQ(frameRateMeter().framesPerSecond, 50);
    // Frame 27 runs at tick 4 after the wrap: 27 x 1000 / 4.
    renderFrame();
    EXPECT_EQ(frameRateMeter().framesPerSecond, 6750);
}

TEST_F(FrameLoop, CameraTransformIsOnTheModelViewAfterTheFrame) {
    setVirtualTick(20);
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    frame(20);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const GLfloat expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -41, 1};
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(m[i], expected[i]) << i;
}

TEST_F(FrameLoop, StepBeginsThirtySecondsAfterFrameOneTurns1Point8DegreesAFrameAndOvershootIsReset) {
    // Frame n at tick 20 n: every estimate is exactly 50 frames a second.
    setVirtualTick(20);
    // Frame 1501 is the first whose calendar second is 30 after frame 1's;
    // the step begins in the frame after it, without moving yet.
    EXPECT_EQ(framesUntilStepBegins(20, 2000), 1502);
    EXPECT_EQ(frameRateMeter().framesPerSecond, 50);
    EXPECT_EQ(camera().yaw, 0.0f);
    EXPECT_EQ(camera().stepStartTime, VirtualCalendarEpoch + 30);
    for (int k = 1; k <= 25; ++k) {
        frame(20);
        ASSERT_NEAR(camera().yaw, 1.8 * k, 1e-4) << "frame " << k << " of the step";
        ASSERT_EQ(camera().yawRate, OrbitRate);
    }
    // The 26th frame passes 45 (46.8) and is set back exactly onto it.
    frame(20);
    EXPECT_EQ(camera().yaw, 45.0f);
    EXPECT_EQ(camera().yawRate, 0.0f);
    EXPECT_EQ(camera().stepBaseYaw, 45.0f);
    EXPECT_EQ(camera().pitch, 0.0f);
}

TEST_F(FrameLoop, RestAnglesRunTo360ThenWrapTo45) {
    setVirtualTick(20);  // 50 frames a second throughout
    const float rests[] = {45, 90, 135, 180, 225, 270, 315, 360, 45, 90};
    int previousBegin = 0;
    int elapsedFrames = 0;
    for (float rest : rests) {
        const int begin = framesUntilStepBegins(20, 2000);
        ASSERT_GT(begin, 0);
        elapsedFrames += begin;
        // Steps begin every 30 calendar seconds: 1500 frames apart.
        if (previousBegin != 0) {
            EXPECT_EQ(elapsedFrames - previousBegin, 1500);
        }
        previousBegin = elapsedFrames;
        // 1.8 degrees a frame summed in single precision lands just below or
        // just above each target after 25 frames.
        const int length = framesUntilStepEnds(20, 100);
        EXPECT_TRUE(length == 25 || length == 26) << length;
        elapsedFrames += length;
        EXPECT_EQ(camera().yaw, rest);
        EXPECT_EQ(camera().stepBaseYaw, rest);
    }
}

TEST_F(FrameLoop, AtTenMillisecondsAFrameAStepTakesHalfASecond) {
    // The renderer's pace from a start tick of one minute: the meter leaves
    // its fallback, converges on 100 frames a second, and the step turns 45
    // degrees at 90 degrees per second of virtual time.
    setVirtualTick(60000);
    ASSERT_EQ(framesUntilStepBegins(10, 4000), 3002);
    const int length = framesUntilStepEnds(10, 200);
    EXPECT_NEAR(frameRateMeter().framesPerSecond, 100, 3);
    EXPECT_GE(length, 49);
    EXPECT_LE(length, 53);
    EXPECT_EQ(camera().yaw, 45.0f);
}

TEST_F(FrameLoop, RecordsTheLastGlErrorOfAFrame) {
    setVirtualTick(20);
    frame(20);
    EXPECT_EQ(lastGlError(), 0u);
    EXPECT_STREQ(lastGlErrorText(), "");
    glEnable(0xFFFF);  // GL_INVALID_ENUM, picked up at the end of the frame
    frame(20);
    EXPECT_EQ(lastGlError(), static_cast<std::uint32_t>(GL_INVALID_ENUM));
    const char* text = reinterpret_cast<const char*>(gluErrorString(GL_INVALID_ENUM));
    EXPECT_STREQ(lastGlErrorText(), text);
    // A clean frame clears the code but keeps the last text.
    frame(20);
    EXPECT_EQ(lastGlError(), 0u);
    EXPECT_STREQ(lastGlErrorText(), text);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

#include "host/frame_loop.h"

#include "host/offscreen_host.h"

#include <gtest/gtest.h>

#include <tuple>


namespace {

// The meter and the orbit stepped as renderFrame steps them, with no GL
// context: the clock is the virtual one.
class FrameLoop : public ::testing::Test {
protected:
    // Steps one frame at the current virtual time, then lets `period` ms pass.
    void frame(std::uint32_t period) {
        countFrame(meter);
        estimateRate(meter, hostTickCount());
        advanceOrbit(view, meter.framesPerSecond, hostCalendarSeconds());
        recordRateChange(meter, view.lastClockTime, hostTickCount());
        advanceVirtualClock(period);
    }
    // Frames stepped until the camera starts (turning) or stops; -1 after `limit`.
    int framesUntil(bool turning, int limit) {
        for (int n = 1; n <= limit; ++n) {
            frame(20);
            if ((view.yawRate != 0.0f) == turning) return n;
        }
        return -1;
    }
    // Frames stepped until the next step begins, through the running one.
    int framesToNextStep() {
        int n = 0;
        for (; view.yawRate != 0.0f && n < 100; ++n) frame(20);
        const int rest = framesUntil(true, 4000);
        return rest < 0 ? -1 : n + rest;
    }

    FrameRateMeter meter = InitialFrameRateMeter;
    Camera view = InitialCamera;
};

}  // namespace

TEST_F(FrameLoop, Frames1To20Use50AndEstimatesAreRecordedOnlyInALaterCalendarSecond) {
    setVirtualTick(1000);  // frame n at tick 1000 + 20 (n - 1)
    for (int n = 1; n <= 20; ++n) frame(20);
    EXPECT_EQ(std::make_tuple(meter.framesPerSecond, meter.frameCount), std::make_tuple(50, 20));
    // Frame 21: 21 x 1000 / 1400 = 15, but still frame 1's calendar second,
    // so it is neither recorded nor halves the window.
    frame(20);
    EXPECT_EQ(std::make_tuple(meter.framesPerSecond, meter.lastRecordedRate, meter.tickReference),
              std::make_tuple(15, 50, 0u));
    // Frame 51, the first in calendar second 1: 51000 / 2000 = 25 is recorded
    // and the window halved to 25 frames from tick 1000.
    for (int n = 22; n <= 51; ++n) frame(20);
    EXPECT_EQ(std::make_tuple(meter.framesPerSecond, meter.lastRecordedRate, meter.frameCount,
                              meter.tickReference, meter.lastRateChangeTime),
              std::make_tuple(25, 25, 25, 1000u, VirtualCalendarEpoch + 1));
}

TEST_F(FrameLoop, LowEstimatesFallBackTo50AndElapsedTimeSurvivesTheTickWrap) {
    const struct { std::uint32_t start, period; int frames, rate; } cases[] = {
        {600000, 20, 40, 50},      // 21 frames / 600 s rounds to 0
        {500, 500, 21, 50},        // 21 frames / 10.5 s: exactly 2 falls back too
        {0xFFFFFF00u, 10, 26, 50}, // reference 0 still ahead: negative elapsed time
        {0xFFFFFF00u, 10, 27, 6750},  // frame 27 at tick 4 after the wrap: 27000 / 4
    };
    for (const auto& c : cases) {
        meter = InitialFrameRateMeter;
        setVirtualTick(c.start);
        for (int n = 1; n <= c.frames; ++n) frame(c.period);
        EXPECT_EQ(meter.framesPerSecond, c.rate) << c.start << " " << c.frames;
    }
}

TEST_F(FrameLoop, StepsBeginEvery30SecondsTurn1Point8DegreesAFrameAndRestOnMultiplesOf45) {
    setVirtualTick(20);  // frame n at tick 20 n: every estimate is 50
    // Frame 1501 is the first 30 calendar seconds after frame 1; the step
    // begins in the frame after it, without moving yet.
    ASSERT_EQ(framesUntil(true, 2000), 1502);
    EXPECT_EQ(view.yaw, 0.0f);
    for (int k = 1; k <= 25; ++k) {
        frame(20);
        ASSERT_NEAR(view.yaw, 1.8 * k, 1e-4) << "frame " << k << " of the step";
    }
    // The 26th frame passes 45 (46.8) and is set back exactly onto it.
    frame(20);
    EXPECT_TRUE(view.yawRate == 0.0f && view.yaw == 45.0f);
    int previousBegin = 1502, elapsed = 1502 + 26;
    for (float rest : {90, 135, 180, 225, 270, 315, 360, 45, 90}) {
        const int begin = framesUntil(true, 2000);
        ASSERT_GT(begin, 0);
        elapsed += begin;
        EXPECT_EQ(elapsed - previousBegin, 1500) << "steps begin 30 seconds apart";
        previousBegin = elapsed;
        // Single-precision sums land just below or above the target after 25.
        const int length = framesUntil(false, 100);
        EXPECT_TRUE(length == 25 || length == 26) << length;
        elapsed += length;
        EXPECT_TRUE(view.yaw == rest && view.stepBaseYaw == rest) << rest;
    }
}

TEST_F(FrameLoop, StepsGoOnEvery30SecondsAcross2038AndAfterTheClockIsSetBackAnHour) {
    setVirtualTick(20);
    setVirtualCalendar(std::int64_t{0x7FFFFFFF} - 40);  // 32-bit seconds run out 41 s on
    EXPECT_EQ(framesToNextStep(), 1502);
    for (int step = 2; step <= 4; ++step) EXPECT_EQ(framesToNextStep(), 1500) << "step " << step;
    EXPECT_EQ(view.stepStartTime, std::int64_t{0x7FFFFFFF} + 80);

    setVirtualCalendar(hostCalendarSeconds() - 3600);
    const int afterSetBack = framesToNextStep();
    EXPECT_TRUE(afterSetBack > 1400 && afterSetBack <= 1502) << afterSetBack;
    EXPECT_EQ(framesToNextStep(), 1500);

    // Nor does it stall the meter: a changed estimate is recorded at once.
    meter.framesPerSecond = 60;
    setVirtualCalendar(meter.lastRateChangeTime - 3600);
    recordRateChange(meter, hostCalendarSeconds(), hostTickCount());
    EXPECT_EQ(meter.lastRecordedRate, 60);
}

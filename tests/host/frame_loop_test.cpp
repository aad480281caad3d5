#include "host/frame_loop.h"

#include "host/offscreen_host.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace {

// The meter and the orbit stepped as renderFrame steps them, with no GL
// context: the clock is the virtual one.
class FrameLoop : public ::testing::Test {
protected:
    // Steps one frame at the current virtual time, then lets `ms` pass.
    void frame(std::uint32_t ms) {
        countFrame(meter);
        estimateRate(meter, hostTickCount());
        advanceOrbit(view, meter.framesPerSecond, hostCalendarSeconds());
        recordRateChange(meter, view.lastClockTime, hostTickCount());
        advanceVirtualClock(ms);
    }
    // Frames stepped until the camera starts (turning) or stops; -1 after `limit`.
    int framesUntil(bool turning, int limit) {
        for (int n = 1; n <= limit; ++n) {
            frame(period);
            if ((view.yawRate != 0.0f) == turning) return n;
        }
        return -1;
    }
    // Frames stepped until the next step begins, through the running one.
    int framesToNextStep() {
        int n = 0;
        for (; view.yawRate != 0.0f && n < 100; ++n) frame(period);
        const int rest = framesUntil(true, 4000);
        return rest < 0 ? -1 : n + rest;
    }

    FrameRateMeter meter = InitialFrameRateMeter;
    Camera view = InitialCamera;
    std::uint32_t period = 20;  // ms from one frame to the next
};

}  // namespace

// Estimates from direct readings, the one before them 37.
TEST(FrameRateEstimate, FallsBackTo50AtTwoOrLessAndIsKeptWhenNoTimePassed) {
    constexpr std::int32_t Most = std::numeric_limits<std::int32_t>::max();
    const struct { std::int32_t frames; std::uint32_t from, tick; std::int32_t rate; } cases[] = {
        {21, 0, 600000, 50},        // 21 frames in 600 s round to 0
        {21, 500, 11000, 50},       // 21 in 10.5 s: exactly 2 falls back too
        {20, 0, 100, 37},           // too few frames to estimate
        {26, 0, 0xFFFFFFF0u, 37},   // the reference 16 ms ahead: a negative time
        {26, 5000, 5000, 37},       // no time passed
        {27, 0xFFFFFF00u, 4, 103},  // 260 ms across the wrap: 27000 / 260
        {Most, 7, 8, Most},         // saturates
    };
    for (const auto& c : cases) {
        FrameRateMeter meter{c.frames, 37, c.from, 37, 0};
        estimateRate(meter, c.tick);
        EXPECT_EQ(meter.framesPerSecond, c.rate) << &c - cases;
    }
}

// An estimate of 60 after one of 50 recorded in second 7: recorded in any
// other second, once, halving a window of more than 20 frames (the reference
// moving halfway to the tick, modulo 2^32).
TEST(FrameRateRecord, OnceASecondHalvingTheWindowAbove2To31AndAcrossTheWrap) {
    using After = std::tuple<std::int32_t, std::uint32_t, std::int32_t, std::int64_t>;
    const struct { int frames; std::int64_t second; std::uint32_t from, tick; After after; }
        cases[] = {{41, 8, 0x90000000u, 0x900007D0u, {20, 0x900003E8u, 60, 8}},
                   {41, 7 - 3600, 0xFFFFF830u, 1000, {20, 0xFFFFFE0Cu, 60, 7 - 3600}},  // set back
                   {41, 7, 0, 1000, {41, 0, 50, 7}}, {20, 8, 0, 1000, {20, 0, 60, 8}}};
    for (const auto& c : cases) {
        FrameRateMeter meter{c.frames, 60, c.from, 50, 7};
        recordRateChange(meter, c.second, c.tick);
        EXPECT_EQ(std::make_tuple(meter.frameCount, meter.tickReference, meter.lastRecordedRate,
                                  meter.lastRateChangeTime), c.after) << &c - cases;
    }
}

TEST_F(FrameLoop, StepsBeginEvery30SecondsTurn1Point8DegreesAFrameAndRestOnMultiplesOf45) {
    setVirtualTick(20);  // frame n at tick 20 n: every estimate is 50
    // Frame 1501 is the first 30 calendar seconds after frame 1; the step
    // begins in the frame after it, without moving yet.
    ASSERT_EQ(framesUntil(true, 2000), 1502);
    for (int k = 0; k <= 25; ++k, frame(20))
        ASSERT_NEAR(view.yaw, 1.8 * k, 1e-4) << "frame " << k << " of the step";
    // The 26th frame passes 45 (46.8) and is set back exactly onto it.
    EXPECT_TRUE(view.yawRate == 0.0f && view.yaw == 45.0f);
    EXPECT_EQ(framesToNextStep(), 1500 - 26);
    // Steps 30 s apart; single-precision sums land just below or above each target.
    for (const float rest : {90, 135, 180, 225, 270, 315, 360, 45, 90}) {
        EXPECT_EQ(framesToNextStep(), 1500);
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

TEST_F(FrameLoop, StepsBeginEvery30SecondsAlsoWhenFramesComeASecondApart) {
    setVirtualTick(0);
    period = 1000;  // estimates fall back to 50: 1.8 degrees a frame
    ASSERT_EQ(framesUntil(true, 100), 32);  // the frame after the one at 30 s
    for (const float rest : {45.0f, 90.0f})
        EXPECT_TRUE(framesToNextStep() == 30 && view.stepBaseYaw == rest) << "steps 30 s apart";
}

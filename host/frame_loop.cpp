#include "host/frame_loop.h"

#include <limits>

void countFrame(FrameRateMeter& meter) {
    if (meter.frameCount < std::numeric_limits<std::int32_t>::max()) ++meter.frameCount;
}

void estimateRate(FrameRateMeter& meter, std::uint32_t tick) {
    const auto elapsed = static_cast<std::int32_t>(tick - meter.tickReference);
    if (meter.frameCount > EstimateMinFrames && elapsed > 0) {
        const std::int64_t rate = static_cast<std::int64_t>(meter.frameCount) * 1000 / elapsed;
        // Only a reference some 49 days old can make this exceed 32 bits.
        meter.framesPerSecond = rate > std::numeric_limits<std::int32_t>::max()
                                    ? std::numeric_limits<std::int32_t>::max()
                                    : static_cast<std::int32_t>(rate);
    }
    if (meter.framesPerSecond <= 2) meter.framesPerSecond = FallbackRate;
}

void advanceOrbit(Camera& view, std::int32_t framesPerSecond, std::int64_t calendarSeconds) {
    const auto rate = static_cast<float>(framesPerSecond);
    view.pitch += view.pitchRate / rate;
    view.yaw += view.yawRate / rate;

    if (!view.clockStarted) {
        // The first frame: no earlier reading to measure a rest from.
        view.clockStarted = true;
        view.lastClockTime = calendarSeconds;
        view.stepStartTime = calendarSeconds;
        return;
    }
    // The clock was set back: the rest starts over from the new time.
    if (view.lastClockTime < view.stepStartTime) view.stepStartTime = view.lastClockTime;
    if (view.lastClockTime - view.stepStartTime > OrbitRestSeconds) {
        view.yawRate = OrbitRate;
        view.stepStartTime = view.lastClockTime;
    } else if (view.yaw > view.stepBaseYaw + OrbitStep) {
        view.yawRate = 0.0f;
        view.yaw = view.stepBaseYaw + OrbitStep;
        if (view.yaw > 360.0f) view.yaw -= 360.0f;
        view.stepBaseYaw = view.yaw;
    }

    view.lastClockTime = calendarSeconds;
}

void recordRateChange(FrameRateMeter& meter, std::int64_t calendarSeconds, std::uint32_t tick) {
    if (meter.framesPerSecond == meter.lastRecordedRate) return;
    if (meter.lastRecordedRate >= 0 && calendarSeconds == meter.lastRateChangeTime) return;
    meter.lastRecordedRate = meter.framesPerSecond;
    meter.lastRateChangeTime = calendarSeconds;
    if (meter.frameCount > EstimateMinFrames) {
        meter.frameCount /= 2;
        meter.tickReference += (tick - meter.tickReference) / 2;
    }
}

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

void advanceOrbit(Camera& view, std::int32_t framesPerSecond, std::int32_t calendarSeconds) {
    const auto rate = static_cast<float>(framesPerSecond);
    view.pitch += view.pitchRate / rate;
    view.yaw += view.yawRate / rate;

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
    if (view.stepStartTime < 0) view.stepStartTime = view.lastClockTime;
}

void recordRateChange(FrameRateMeter& meter, std::int32_t calendarSeconds, std::uint32_t tick) {
    if (meter.framesPerSecond == meter.lastRecordedRate ||
        calendarSeconds <= meter.lastRateChangeTime)
        return;
    meter.lastRecordedRate = meter.framesPerSecond;
    meter.lastRateChangeTime = calendarSeconds;
    if (meter.frameCount > EstimateMinFrames) {
        meter.frameCount /= 2;
        meter.tickReference += (tick - meter.tickReference) / 2;
    }
}

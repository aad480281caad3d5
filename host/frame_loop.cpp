#include "host/frame_loop.h"

#include "host/host.h"
#include "mesh/gl_api.h"
#include "scene/aquarium.h"

#include <limits>

namespace {

constexpr FrameRateMeter InitialMeter{0, FallbackRate, 0, -1, 0};
constexpr Camera InitialCamera{0.0f, 0.0f, -41.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, -1, 0};

// The saver's global frame state.
FrameRateMeter meter = InitialMeter;
Camera view = InitialCamera;
GLenum lastError = GL_NO_ERROR;
const char* lastErrorText = "";

// Step 5: frames x 1000 / elapsed ms, once more than 20 frames were counted.
// The tick difference is taken modulo 2^32 and read as signed, so a tick that
// wrapped still gives the right elapsed time and a negative one is ignored.
void estimateRate(std::uint32_t tick) {
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

// Step 8: begin a step once the rest is over, or end the running one as soon
// as the yaw passes its target (set back exactly onto it). A yaw of exactly
// 360 stays; only a yaw above 360 wraps.
void advanceOrbit() {
    if (view.lastClockTime - view.stepStartTime > OrbitRestSeconds) {
        view.yawRate = OrbitRate;
        view.stepStartTime = view.lastClockTime;
    } else if (view.yaw > view.stepBaseYaw + OrbitStep) {
        view.yawRate = 0.0f;
        view.yaw = view.stepBaseYaw + OrbitStep;
        if (view.yaw > 360.0f) view.yaw -= 360.0f;
        view.stepBaseYaw = view.yaw;
    }
}

// Step 10: at most once a calendar second, record a changed estimate and, once
// enough frames were counted, halve the measuring window so the estimate
// follows the true rate.
void recordRateChange() {
    if (meter.framesPerSecond == meter.lastRecordedRate ||
        view.lastClockTime <= meter.lastRateChangeTime)
        return;
    meter.lastRecordedRate = meter.framesPerSecond;
    meter.lastRateChangeTime = view.lastClockTime;
    if (meter.frameCount > EstimateMinFrames) {
        meter.frameCount /= 2;
        // Midpoint between the old reference and now, modulo 2^32.
        meter.tickReference += (hostTickCount() - meter.tickReference) / 2;
    }
}

}  // namespace

bool renderFrame() {
    // Saturates rather than overflowing after 2^31 frames at one rate.
    if (meter.frameCount < std::numeric_limits<std::int32_t>::max()) ++meter.frameCount;

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(view.offsetX, view.offsetY, view.offsetZ);
    glRotatef(view.pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(view.yaw, 0.0f, 1.0f, 0.0f);

    drawScene(scene);

    estimateRate(hostTickCount());
    const auto rate = static_cast<float>(meter.framesPerSecond);
    view.pitch += view.pitchRate / rate;
    view.yaw += view.yawRate / rate;

    advanceOrbit();

    view.lastClockTime = hostCalendarSeconds();
    if (view.stepStartTime < 0) view.stepStartTime = view.lastClockTime;

    recordRateChange();

    lastError = glGetError();
    if (lastError != GL_NO_ERROR) {
        const GLubyte* text = gluErrorString(lastError);  // null for a code GLU does not know
        lastErrorText = text ? reinterpret_cast<const char*>(text) : "unknown GL error";
    }
    return true;
}

void resetFrameLoop() {
    meter = InitialMeter;
    view = InitialCamera;
    lastError = GL_NO_ERROR;
    lastErrorText = "";
}

const FrameRateMeter& frameRateMeter() { return meter; }
const Camera& camera() { return view; }
std::uint32_t lastGlError() { return lastError; }
const char* lastGlErrorText() { return lastErrorText; }

// One frame of the saver: clear, camera, scene, then the frame-rate meter and
// the camera orbit, which turns the view 45 degrees about the tank's vertical
// axis every 30 calendar seconds.
#pragma once

#include <cstdint>

// Frame-rate meter. Rates are frames per second; ticks are milliseconds.
struct FrameRateMeter {
    std::int32_t frameCount;          // frames counted since tickReference
    std::int32_t framesPerSecond;     // current estimate; never below 3 once a frame has run
    std::uint32_t tickReference;      // tick count from which frameCount counts
    std::int32_t lastRecordedRate;    // estimate recorded at the last rate change
    std::int32_t lastRateChangeTime;  // calendar seconds of the last rate change
};

// The camera: seen from cameraOffset, the world turned by pitch about x, then
// yaw about y. Angles in degrees, rates in degrees per second.
struct Camera {
    float offsetX, offsetY, offsetZ;  // constant (0, 0, -41)
    float pitch;
    float yaw;
    float pitchRate;                  // always 0: the camera never tilts
    float yawRate;                    // OrbitRate while a step runs, else 0
    float stepBaseYaw;                // yaw at which the last step ended
    std::int32_t stepStartTime;       // calendar seconds; -1 until the first frame
    std::int32_t lastClockTime;       // calendar seconds read at the end of the last frame
};

constexpr float OrbitStep = 45.0f;  // degrees per step
constexpr float OrbitRate = 90.0f;  // degrees per second while a step runs
constexpr std::int32_t OrbitRestSeconds = 29;  // a step begins once more than this has passed
constexpr std::int32_t EstimateMinFrames = 20;  // estimates need more frames than this
constexpr std::int32_t FallbackRate = 50;       // used whenever the estimate is 2 or less

// Draws one frame of the global scene and advances the meter and the orbit.
// Always true. Needs a current rendering context with the projection set.
bool renderFrame();

// Puts the meter, the camera and the error record back to their start-up
// values (for tests and for a renderer that starts its clock over).
void resetFrameLoop();

const FrameRateMeter& frameRateMeter();
const Camera& camera();

// GL error code of the last frame (0 when clean) and the text of the last
// non-zero code ("" before any). Nothing shows them; they are for debugging.
std::uint32_t lastGlError();
const char* lastGlErrorText();

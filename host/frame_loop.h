// One frame of the saver: clear, camera, scene, then the frame-rate meter and
// the camera orbit, which turns the view 45 degrees about the tank's vertical
// axis every 30 calendar seconds.
#pragma once

#include "host/view_layout.h"

#include <cstdint>

// Frame-rate meter. Rates are frames per second; ticks are milliseconds.
struct FrameRateMeter {
    std::int32_t frameCount;          // frames counted since tickReference
    std::int32_t framesPerSecond;     // current estimate; never below 3 once a frame has run
    std::uint32_t tickReference;      // tick count from which frameCount counts
    std::int32_t lastRecordedRate;    // estimate recorded at the last rate change
    std::int64_t lastRateChangeTime;  // calendar seconds of the last rate change
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
    std::int64_t stepStartTime;       // calendar seconds; -1 until the first frame
    std::int64_t lastClockTime;       // calendar seconds read at the end of the last frame
    bool clockStarted;                // false until the first frame has read the calendar
};

constexpr float OrbitStep = 45.0f;  // degrees per step
constexpr float OrbitRate = 90.0f;  // degrees per second while a step runs
constexpr std::int64_t OrbitRestSeconds = 29;  // a step begins once more than this has passed
constexpr std::int32_t EstimateMinFrames = 20;  // estimates need more frames than this
constexpr std::int32_t FallbackRate = 50;       // used whenever the estimate is 2 or less

constexpr FrameRateMeter InitialFrameRateMeter{0, FallbackRate, 0, -1, 0};
constexpr Camera InitialCamera{0.0f, 0.0f, -41.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, -1, 0, false};

// The meter and the orbit as steps of their own (frame_loop.cpp: no GL, no
// clock). renderFrame reads the clock and calls them in this order, after
// counting the frame and drawing it.

// Counts a drawn frame; saturates rather than overflowing after 2^31 frames.
void countFrame(FrameRateMeter& meter);

// frames x 1000 / elapsed ms up to `tick`, once more than EstimateMinFrames
// frames were counted; FallbackRate whenever the estimate is 2 or less. The
// tick difference is taken modulo 2^32 and read as signed, so a tick that
// wrapped still gives the right elapsed time and a negative one is ignored.
void estimateRate(FrameRateMeter& meter, std::uint32_t tick);

// Turns the camera by its rates for one frame at `framesPerSecond`; then,
// judged on the previous frame's calendar second, begins a step once the rest
// is over or ends the running one as soon as the yaw passes its target (set
// back exactly onto it; only a yaw above 360 wraps). Records `calendarSeconds`
// as this frame's, and as the first step's start on the first frame. Only
// differences of calendar seconds count: a clock set back starts the rest
// over from the new time instead of stopping the orbit until it catches up.
void advanceOrbit(Camera& view, std::int32_t framesPerSecond, std::int64_t calendarSeconds);

// At most once a calendar second (any second other than the one of the last
// record, so a clock set back does not stall it), records a changed estimate
// and, once enough frames were counted, halves the measuring window (its
// reference moving halfway to `tick`, modulo 2^32) so the estimate follows
// the true rate. The first estimate is always recorded.
void recordRateChange(FrameRateMeter& meter, std::int64_t calendarSeconds, std::uint32_t tick);

// Draws one frame of the global scene and advances the meter and the orbit.
// Always true. Needs a current rendering context with the projection set.
bool renderFrame();

// The same frame drawn once in each view of `layout` (a window across several
// monitors), each with its own viewport and aspect; the scene moves once and
// every view shows the fish where the last frame left them. Leaves the
// viewport and projection of the first view.
bool renderViews(const ViewLayout& layout);

// Puts the meter, the camera and the error record back to their start-up
// values (for tests and for a renderer that starts its clock over).
void resetFrameLoop();

const FrameRateMeter& frameRateMeter();
const Camera& camera();

// GL error code of the last frame (0 when clean) and the text of the last
// non-zero code ("" before any). Nothing shows them; they are for debugging.
std::uint32_t lastGlError();
const char* lastGlErrorText();

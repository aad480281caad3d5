#include "host/frame_loop.h"

#include "host/host.h"
#include "mesh/gl_api.h"
#include "scene/aquarium.h"

namespace {

// The saver's global frame state.
FrameRateMeter meter = InitialFrameRateMeter;
Camera view = InitialCamera;
GLenum lastError = GL_NO_ERROR;
const char* lastErrorText = "";

}  // namespace

bool renderFrame() {
    countFrame(meter);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(view.offsetX, view.offsetY, view.offsetZ);
    glRotatef(view.pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(view.yaw, 0.0f, 1.0f, 0.0f);

    drawScene(scene);

    // The clock is read in this order: tick, calendar, tick.
    estimateRate(meter, hostTickCount());
    advanceOrbit(view, meter.framesPerSecond, hostCalendarSeconds());
    recordRateChange(meter, view.lastClockTime, hostTickCount());

    lastError = glGetError();
    if (lastError != GL_NO_ERROR) {
        const GLubyte* text = gluErrorString(lastError);  // null for a code GLU does not know
        lastErrorText = text ? reinterpret_cast<const char*>(text) : "unknown GL error";
    }
    return true;
}

void resetFrameLoop() {
    meter = InitialFrameRateMeter;
    view = InitialCamera;
    lastError = GL_NO_ERROR;
    lastErrorText = "";
}

const FrameRateMeter& frameRateMeter() { return meter; }
const Camera& camera() { return view; }
std::uint32_t lastGlError() { return lastError; }
const char* lastGlErrorText() { return lastErrorText; }

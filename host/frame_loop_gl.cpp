#include "host/frame_loop.h"

#include "host/gl_state.h"
#include "host/host.h"
#include "mesh/gl_api.h"
#include "scene/aquarium.h"

namespace {

// The saver's global frame state.
FrameRateMeter meter = InitialFrameRateMeter;
Camera view = InitialCamera;
GLenum lastError = GL_NO_ERROR;
const char* lastErrorText = "";

void placeCamera() {
    glLoadIdentity();
    glTranslatef(view.offsetX, view.offsetY, view.offsetZ);
    glRotatef(view.pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(view.yaw, 0.0f, 1.0f, 0.0f);
}

// After the scene is drawn: the meter, the orbit and the error record.
void finishFrame() {
    // The clock is read in this order: tick, calendar, tick.
    estimateRate(meter, hostTickCount());
    advanceOrbit(view, meter.framesPerSecond, hostCalendarSeconds());
    recordRateChange(meter, view.lastClockTime, hostTickCount());

    lastError = glGetError();
    if (lastError != GL_NO_ERROR) {
        const GLubyte* text = gluErrorString(lastError);  // null for a code GLU does not know
        lastErrorText = text ? reinterpret_cast<const char*>(text) : "unknown GL error";
    }
}

}  // namespace

bool renderFrame() {
    countFrame(meter);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    placeCamera();
    drawScene(scene);
    finishFrame();
    return true;
}

bool renderViews(const ViewLayout& layout) {
    countFrame(meter);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);  // the whole window, whatever the viewport
    // The last views first, showing the fish as the last frame left them;
    // the first view draws them there too and then moves them.
    for (int i = layout.count - 1; i >= 0; --i) {
        const ViewRect& v = layout.views[i];
        setView(v.x, v.y, v.width, v.height);
        placeCamera();
        if (i == 0) drawScene(scene); else drawSceneStill(scene);
    }
    finishFrame();
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

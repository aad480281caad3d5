// aquarium.html: the saver in a web page. The canvas fills the window and
// follows its size; the scene moves at 100 frames a second of the browser's
// clock, drawn on each animation frame. The page's full-screen control shows
// it as the saver: the pointer hidden, and a key, a button or a move of the
// pointer ends full screen. With ?tick=T&frames=N it replays N frames of
// aquarium-render's virtual clock from tick T instead, and stops.
#include "host/fps_overlay.h"
#include "host/frame_loop.h"
#include "host/gl_state.h"
#include "host/host.h"
#include "host/saver_close_rules.h"
#include "host/web_gl.h"
#include "host/web_host.h"
#include "host/web_options.h"
#include "mesh/random.h"
#include "scene/aquarium.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

extern "C" void emscripten_glFinish();

namespace {

constexpr double FramePeriod = 10.0;   // ms of the browser's clock per scene frame
constexpr int MaxCatchUp = 10;         // frames run for one animation frame at most
constexpr int ReplayBatch = 1000;      // replay frames run between two looks at the page's events
constexpr const char* Canvas = "#canvas";

struct Page {
    WebOptions options;
    int width, height;      // the canvas's drawing buffer, pixels
    double nextFrame;       // webNow() at which the next scene frame is due; < 0 before the first
    std::int32_t framesRun;  // replay: frames run so far
    bool firstFrameLogged;
    bool fullScreen;
    SaverCloseState close;  // while fullScreen: when input ends it
    int pointerX, pointerY;  // screen pixels, the last position the page saw
    FrameTimeMeter frameTimes;
    std::int32_t shownRate, shownMicros;  // what the fps text says now
    std::int32_t benchCount;  // frames timed so far, up to options.benchFrames
};

Page page;
double benchTimes[MaxBenchFrames];  // ms per drawn frame

EM_JS(char*, webQuery, (), {
    const query = location.search.startsWith("?") ? location.search.slice(1) : location.search;
    const size = lengthBytesUTF8(query) + 1;
    const text = _malloc(size);
    stringToUTF8(query, text, size);
    return text;
});

EM_JS(void, webSetFpsText, (const char* text), {
    const box = document.getElementById("fps");
    if (box) {
        box.textContent = UTF8ToString(text);
        box.hidden = false;
    }
});

EM_JS(void, webExitFullScreen, (), {
    if (document.fullscreenElement) document.exitFullscreen();
});

EM_JS(double, webScriptStart, (), { return Module.scriptStart || 0; });

EM_JS(void, webMarkReplayDone, (), { document.title = "Aquarium (replay done)"; });

EM_JS(void, webHideControls, (), {
    const button = document.getElementById("fullscreen");
    if (button) button.hidden = true;
});

// A replay of a given size shows its picture pixel for pixel.
EM_JS(void, webFixCanvasSize, (int width, int height), {
    const canvas = document.getElementById("canvas");
    canvas.style.width = (width / devicePixelRatio) + "px";
    canvas.style.height = (height / devicePixelRatio) + "px";
});

void setCanvasSize(int width, int height) {
    page.width = width;
    page.height = height;
    emscripten_set_canvas_element_size(Canvas, width, height);
    resizeViewport(width, height);
}

// The drawing buffer at the canvas's size on the screen, in device pixels
// (or the replay's fixed size).
void fitCanvas() {
    if (page.options.width > 0) {
        if (page.width != page.options.width || page.height != page.options.height)
            setCanvasSize(page.options.width, page.options.height);
        return;
    }
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(Canvas, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    int width = static_cast<int>(std::lround(cssWidth * ratio));
    int height = static_cast<int>(std::lround(cssHeight * ratio));
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    if (width != page.width || height != page.height) setCanvasSize(width, height);
}

// Feeds one event to the closing rules; ends full screen once they decide.
void closeEvent(SaverEvent event) {
    if (!page.fullScreen) return;
    SaverAction action = saverCloseEvent(page.close, event, page.pointerX, page.pointerY);
    if (action == SaverAction::RequestClose)
        action =
            saverCloseEvent(page.close, SaverEvent::CloseRequest, page.pointerX, page.pointerY);
    if (action == SaverAction::Close) webExitFullScreen();
}

EM_BOOL onKey(int, const EmscriptenKeyboardEvent*, void*) {
    const bool wasFullScreen = page.fullScreen;
    closeEvent(SaverEvent::KeyPress);
    return wasFullScreen;  // in full screen the key is the saver's
}

EM_BOOL onButton(int, const EmscriptenMouseEvent* event, void*) {
    page.pointerX = static_cast<int>(event->screenX);
    page.pointerY = static_cast<int>(event->screenY);
    if (event->button <= 2) closeEvent(SaverEvent::ButtonPress);
    return false;
}

EM_BOOL onMove(int, const EmscriptenMouseEvent* event, void*) {
    page.pointerX = static_cast<int>(event->screenX);
    page.pointerY = static_cast<int>(event->screenY);
    closeEvent(SaverEvent::PointerMoved);
    return false;
}

EM_BOOL onBlur(int, const EmscriptenFocusEvent*, void*) {
    closeEvent(SaverEvent::Deactivated);
    return false;
}

EM_BOOL onFullScreenChange(int, const EmscriptenFullscreenChangeEvent* event, void*) {
    page.fullScreen = event->isFullscreen != 0;
    page.close = startSaverClose(page.fullScreen, false, page.pointerX, page.pointerY);
    return false;
}

void showFps() {
    const std::int32_t rate = frameRateMeter().framesPerSecond;
    if (rate == page.shownRate && page.frameTimes.shown == page.shownMicros) return;
    page.shownRate = rate;
    page.shownMicros = page.frameTimes.shown;
    char text[64];
    formatFpsText(text, sizeof text, rate, page.frameTimes.shown);
    webSetFpsText(text);
}

void logBench() {
    double sum = 0, worst = 0;
    for (int i = 0; i < page.benchCount; ++i) {
        sum += benchTimes[i];
        if (benchTimes[i] > worst) worst = benchTimes[i];
    }
    std::printf("aquarium: bench %d frames %dx%d, mean %.2f ms, worst %.2f ms, scene at %d frames "
                "a second; ms per frame:",
                page.benchCount, page.width, page.height, sum / page.benchCount, worst,
                frameRateMeter().framesPerSecond);
    for (int i = 0; i < page.benchCount; ++i) std::printf(" %.2f", benchTimes[i]);
    std::printf("\n");
}

// One drawn scene frame, timed to the end of its drawing when anything
// wants the time (glFinish waits for WebGL to finish it).
void drawTimedFrame() {
    const bool timed = page.options.showFps || page.benchCount < page.options.benchFrames ||
                       !page.firstFrameLogged;
    const double start = webNow();
    renderFrame();
    hostSwapBuffers();
    if (!timed) return;
    emscripten_glFinish();
    const double end = webNow();
    addFrameTime(page.frameTimes, static_cast<std::int64_t>(start * 1000.0),
                 static_cast<std::int64_t>(end * 1000.0));
    if (!page.firstFrameLogged) {
        std::printf("aquarium: first frame drawn %.0f ms after the page began loading, %.0f ms "
                    "after its script began\n", end, end - webScriptStart());
        page.firstFrameLogged = true;
    }
    if (page.benchCount < page.options.benchFrames) {
        benchTimes[page.benchCount++] = end - start;
        if (page.benchCount == page.options.benchFrames) logBench();
    }
}

// The live aquarium: every 10 ms of the browser's clock that passed since
// the last animation frame runs a scene frame; only the last is drawn. When
// the page fell far behind (a hidden tab), the time is not made up for.
EM_BOOL liveFrame(double now, void*) {
    fitCanvas();
    if (page.nextFrame < 0) page.nextFrame = now;
    int due = 0;
    while (now >= page.nextFrame && due < MaxCatchUp) {
        ++due;
        page.nextFrame += FramePeriod;
    }
    if (now >= page.nextFrame) page.nextFrame = now + FramePeriod;
    for (int i = 1; i <= due; ++i) {
        setWebGlDrawing(i == due);
        if (i == due) drawTimedFrame(); else renderFrame();
    }
    if (page.options.showFps && due > 0) showFps();
    return true;
}

// A replay: frames on the virtual clock as fast as they run, in batches
// between which the page stays responsive, drawing only the last frame,
// which stays on the page. Timers, not animation frames, pace it: a
// headless browser on virtual time runs timers in order but may skip
// animation frames.
void replayFrames(void*) {
    fitCanvas();
    const std::int32_t left = page.options.frames - page.framesRun;
    const std::int32_t batch = left < ReplayBatch ? left : ReplayBatch;
    for (std::int32_t i = 1; i <= batch; ++i) {
        setWebGlDrawing(i == left);
        renderFrame();
        advanceWebVirtualClock(static_cast<std::uint32_t>(FramePeriod));
    }
    page.framesRun += batch;
    if (page.framesRun < page.options.frames) {
        emscripten_async_call(replayFrames, nullptr, 0);
        return;
    }
    hostSwapBuffers();
    std::printf("aquarium: replay done: frame %d from tick %u at %dx%d\n", page.framesRun,
                page.options.startTick, page.width, page.height);
    webMarkReplayDone();
}

bool createContext(bool keepPicture) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = false;
    attributes.depth = true;
    attributes.stencil = false;
    attributes.antialias = false;  // one-pixel lines, as GL 1.1 draws them
    attributes.preserveDrawingBuffer = keepPicture;
    attributes.majorVersion = 1;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(Canvas, &attributes);
    if (context <= 0 ||
        emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        hostShowMessage("ERROR", "This browser offers no WebGL, which the aquarium draws with.",
                        MessageKind::Error);
        return false;
    }
    return createWebGlProgram();
}

}  // namespace

int main() {
    char* query = webQuery();
    page.options = parseWebOptions(query);
    std::free(query);
    page.nextFrame = -1;
    page.shownRate = -1;
    page.frameTimes = InitialFrameTimeMeter;
    if (!page.options.ok) {
        hostShowMessage("aquarium", page.options.error, MessageKind::Error);
        return 1;
    }
    if (page.options.replay) {
        // As aquarium-render: the clock at the start tick and calendar, the
        // generator as an untouched C runtime has it, the scene built anew.
        useWebVirtualClock(page.options.startTick, page.options.startTime);
        randomSeed(1);
        constructAquarium(scene);
        resetFrameLoop();
        webHideControls();
        if (page.options.width > 0) webFixCanvasSize(page.options.width, page.options.height);
    }
    if (!createContext(page.options.replay)) return 1;
    fitCanvas();
    initGlState();

    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, onKey);
    emscripten_set_mousedown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, onButton);
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, onMove);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, onBlur);
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, true,
                                             onFullScreenChange);
    if (page.options.replay) replayFrames(nullptr);
    else emscripten_request_animation_frame_loop(liveFrame, nullptr);
    return 0;
}

#include "host/x11_gl_context.h"

#include "host/gl_state.h"
#include "host/host.h"

#include <cstdlib>

namespace {

constexpr int WantedDepthBits = 16;

Display* glDisplay = nullptr;
Window saverWindow = 0;
GLXWindow deviceContext = 0;        // the GLX drawable on saverWindow
GLXContext renderingContext = nullptr;

// The requested format, filled once per process like its Windows counterpart:
// later calls keep the first call's colour bits.
bool pixelFormatFilled = false;
int pixelFormat[16];

unsigned long errorCount = 0;

int countError(Display*, XErrorEvent*) {
    ++errorCount;
    return 0;
}

void fillPixelFormat(int colourBits) {
    if (pixelFormatFilled) return;
    const int attributes[] = {GLX_X_RENDERABLE, True, GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT,
                              GLX_RENDER_TYPE,  GLX_RGBA_BIT, GLX_DOUBLEBUFFER, True,
                              GLX_BUFFER_SIZE,  colourBits, None};
    for (unsigned i = 0; i < sizeof attributes / sizeof attributes[0]; ++i)
        pixelFormat[i] = attributes[i];
    pixelFormatFilled = true;
}

int attribute(Display* display, GLXFBConfig config, int name) {
    int value = 0;
    glXGetFBConfigAttrib(display, config, name, &value);
    return value;
}

// Smaller is better: depth away from 16 first, then buffers nobody asked for.
long configCost(Display* display, GLXFBConfig config) {
    const int depth = attribute(display, config, GLX_DEPTH_SIZE);
    const int away = depth > WantedDepthBits ? depth - WantedDepthBits : WantedDepthBits - depth;
    return away * 1000L + attribute(display, config, GLX_STENCIL_SIZE) * 10L +
           attribute(display, config, GLX_SAMPLES) * 10L +
           attribute(display, config, GLX_ACCUM_RED_SIZE) + attribute(display, config, GLX_ALPHA_SIZE);
}

bool fail(const char* text) {
    destroyGlContext();
    hostShowMessage("ERROR", text, MessageKind::Error);
    return false;
}

}  // namespace

void installX11ErrorHandler() { XSetErrorHandler(countError); }

unsigned long x11ErrorCount() { return errorCount; }

GLXFBConfig chooseSaverConfig(Display* display, int screen, VisualID visual, int colourBits) {
    fillPixelFormat(colourBits);
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, screen, pixelFormat, &count);
    GLXFBConfig best = nullptr;
    long bestCost = 0;
    for (int i = 0; i < count; ++i) {
        XVisualInfo* info = glXGetVisualFromFBConfig(display, configs[i]);
        if (info == nullptr) continue;
        const bool fits = visual == 0 ? info->c_class == TrueColor : info->visualid == visual;
        XFree(info);
        if (!fits) continue;
        const long cost = configCost(display, configs[i]);
        if (best == nullptr || cost < bestCost) {
            best = configs[i];
            bestCost = cost;
        }
    }
    if (configs != nullptr) XFree(configs);
    return best;
}

bool createGlContext(Display* display, Window window, int colourBits) {
    glDisplay = display;
    saverWindow = window;
    fillPixelFormat(colourBits);

    XWindowAttributes attributes;
    if (display == nullptr || window == 0 || !XGetWindowAttributes(display, window, &attributes))
        return fail("Can't Create A GL Device Context.");
    const GLXFBConfig config = chooseSaverConfig(display, XScreenNumberOfScreen(attributes.screen),
                                                 XVisualIDFromVisual(attributes.visual),
                                                 colourBits);
    if (config == nullptr) return fail("Can't Find A Suitable PixelFormat.");

    const unsigned long errorsBefore = errorCount;
    deviceContext = glXCreateWindow(display, config, window, nullptr);
    XSync(display, False);
    if (deviceContext == 0 || errorCount != errorsBefore) return fail("Can't Set The PixelFormat.");
    renderingContext = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    if (renderingContext == nullptr) return fail("Can't Create A GL Rendering Context.");
    if (!glXMakeContextCurrent(display, deviceContext, deviceContext, renderingContext))
        return fail("Can't Activate The GL Rendering Context.");

    resizeViewport(attributes.width, attributes.height);
    if (!initGlState()) return fail("Initialization Failed.");
    return true;
}

void destroyGlContext() {
    if (renderingContext != nullptr) {
        if (!glXMakeContextCurrent(glDisplay, None, None, nullptr))
            hostShowMessage("SHUTDOWN ERROR", "Release Of DC And RC Failed.",
                            MessageKind::Information);
        glXDestroyContext(glDisplay, renderingContext);
        renderingContext = nullptr;
    }
    if (deviceContext != 0) {
        glXDestroyWindow(glDisplay, deviceContext);
        deviceContext = 0;
    }
}

void hostSwapBuffers() {
    if (deviceContext != 0) glXSwapBuffers(glDisplay, deviceContext);
}

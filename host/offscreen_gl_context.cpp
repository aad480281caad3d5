#include "host/offscreen_gl_context.h"

#include "host/host.h"
#include "mesh/gl_api.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace {

EGLDisplay display = EGL_NO_DISPLAY;
EGLSurface surface = EGL_NO_SURFACE;
EGLContext context = EGL_NO_CONTEXT;

bool fail(const char* text) {
    destroyOffscreenGlContext();
    hostShowMessage("ERROR", text, MessageKind::Error);
    return false;
}

// The first config EGL offers is 10:10:10:2; pixels then differ from a
// window's, so insist on exactly 8 bits per colour and 16 depth bits.
bool chooseConfig(EGLConfig& chosen) {
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,   EGL_RED_SIZE,    8,
                             EGL_GREEN_SIZE,   8,               EGL_BLUE_SIZE,
                             8,                EGL_DEPTH_SIZE,  16,
                             EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, configs, 64, &count)) return false;
    for (EGLint i = 0; i < count; ++i) {
        EGLint r = 0, g = 0, b = 0, depth = 0;
        eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &r);
        eglGetConfigAttrib(display, configs[i], EGL_GREEN_SIZE, &g);
        eglGetConfigAttrib(display, configs[i], EGL_BLUE_SIZE, &b);
        eglGetConfigAttrib(display, configs[i], EGL_DEPTH_SIZE, &depth);
        if (r == 8 && g == 8 && b == 8 && depth == 16) {
            chosen = configs[i];
            return true;
        }
    }
    return false;
}

}  // namespace

bool createOffscreenGlContext(int width, int height) {
    destroyOffscreenGlContext();
    // Ask for the surfaceless platform by name: plain eglGetDisplay picks X11
    // whenever DISPLAY is set.
    display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return fail("Can't open the surfaceless EGL display.");
    if (!eglInitialize(display, nullptr, nullptr)) {
        display = EGL_NO_DISPLAY;
        return fail("Can't initialise EGL.");
    }
    if (!eglBindAPI(EGL_OPENGL_API)) return fail("EGL has no desktop OpenGL.");
    EGLConfig config = nullptr;
    if (!chooseConfig(config)) return fail("Can't find an 8-bit RGB config with 16 depth bits.");
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE) return fail("Can't create the pbuffer.");
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) return fail("Can't create a GL compatibility context.");
    if (!eglMakeCurrent(display, surface, surface, context))
        return fail("Can't make the GL context current.");
    return true;
}

void destroyOffscreenGlContext() {
    if (display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
    if (surface != EGL_NO_SURFACE) eglDestroySurface(display, surface);
    eglTerminate(display);
    context = EGL_NO_CONTEXT;
    surface = EGL_NO_SURFACE;
    display = EGL_NO_DISPLAY;
}

void readOffscreenPixels(int width, int height, unsigned char* pixels) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
}

// Finishes the frame as presenting it would, so that queued drawing never
// piles up over a long run.
void hostSwapBuffers() { glFinish(); }

#include "host/win32_gl_context.h"

#include "host/gl_state.h"
#include "host/host.h"

HINSTANCE moduleInstance = nullptr;
HWND saverWindow = nullptr;
HDC deviceContext = nullptr;
HGLRC renderingContext = nullptr;

namespace {

// Filled by the first createGlContext and reused unchanged after that.
PIXELFORMATDESCRIPTOR pixelFormat = {};
bool pixelFormatFilled = false;

bool fail(const char* text) {
    destroyGlContext();
    hostShowMessage("ERROR", text, MessageKind::Error);
    return false;
}

void shutdownError(const char* text) {
    hostShowMessage("SHUTDOWN ERROR", text, MessageKind::Information);
}

}  // namespace

bool createGlContext(HWND window, int colourBits) {
    moduleInstance = GetModuleHandleA(nullptr);
    saverWindow = window;
    if (!pixelFormatFilled) {
        pixelFormat = PIXELFORMATDESCRIPTOR{};
        pixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);  // 40
        pixelFormat.nVersion = 1;
        pixelFormat.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pixelFormat.iPixelType = PFD_TYPE_RGBA;
        pixelFormat.cColorBits = static_cast<BYTE>(colourBits);
        pixelFormat.cDepthBits = 16;
        pixelFormat.iLayerType = PFD_MAIN_PLANE;
        pixelFormatFilled = true;
    }
    deviceContext = GetDC(window);
    if (deviceContext == nullptr) return fail("Can't Create A GL Device Context.");
    const int format = ChoosePixelFormat(deviceContext, &pixelFormat);
    if (format == 0) return fail("Can't Find A Suitable PixelFormat.");
    if (!SetPixelFormat(deviceContext, format, &pixelFormat))
        return fail("Can't Set The PixelFormat.");
    renderingContext = wglCreateContext(deviceContext);
    if (renderingContext == nullptr) return fail("Can't Create A GL Rendering Context.");
    if (!wglMakeCurrent(deviceContext, renderingContext))
        return fail("Can't Activate The GL Rendering Context.");
    RECT client = {};
    GetClientRect(window, &client);
    resizeViewport(client.right - client.left, client.bottom - client.top);
    if (!initGlState()) return fail("Initialization Failed.");
    return true;
}

void destroyGlContext() {
    if (renderingContext != nullptr) {
        if (!wglMakeCurrent(nullptr, nullptr)) shutdownError("Release Of DC And RC Failed.");
        if (!wglDeleteContext(renderingContext)) shutdownError("Release Rendering Context Failed.");
        renderingContext = nullptr;
    }
    if (deviceContext != nullptr) {
        if (!ReleaseDC(saverWindow, deviceContext)) shutdownError("Release Device Context Failed.");
        deviceContext = nullptr;
    }
}

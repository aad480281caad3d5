// The saver's OpenGL context on an X11 window through GLX: a double-buffered
// RGBA visual with (as near as the server offers) 16 depth bits.
#pragma once

#include <X11/Xlib.h>
#include <GL/glx.h>

// The frame buffer configuration the saver draws with: window-drawable,
// double-buffered RGBA with at least `colourBits` colour bits, the depth
// closest to 16 bits; where `visual` is not 0 (a window someone else made),
// only configurations of that visual count. Null when none fits.
GLXFBConfig chooseSaverConfig(Display* display, int screen, VisualID visual, int colourBits);

// Turns `window` into the drawing surface: the configuration that matches the
// window's visual, a GLX drawable on it, a rendering context made current, the
// viewport of the window's size, then the scene and the fixed GL state. Each
// failed step releases what was taken, shows its message (caption "ERROR")
// and returns false.
bool createGlContext(Display* display, Window window, int colourBits);

// Releases the context and the drawable, reporting failures (caption
// "SHUTDOWN ERROR") and going on. Safe to call when nothing is held.
void destroyGlContext();

// Counts the X protocol errors the process has met (the handler never ends
// the process: a window that vanished must not take the saver down with it).
void installX11ErrorHandler();
unsigned long x11ErrorCount();

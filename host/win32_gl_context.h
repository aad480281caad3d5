// The saver window's OpenGL surface on Windows: pixel format, device context,
// rendering context, viewport and projection, then the scene and the fixed GL
// state. Every failure is shown in a message box.
#pragma once

#include <windows.h>

// The program's own module; texture loading finds the bitmap resources in it.
extern HINSTANCE moduleInstance;
// The window given to createGlContext; the device context is released from it.
extern HWND saverWindow;
// The window's own device context (0 when none is held): frames are presented
// with it and bitmap pixels are read through it.
extern HDC deviceContext;
extern HGLRC renderingContext;

// Makes `window` an OpenGL surface of `colourBits` (the first call's value is
// kept for the rest of the process), sets the viewport to its client area and
// builds the scene. On failure everything is released, the step's message is
// shown with the caption "ERROR", and the result is false.
bool createGlContext(HWND window, int colourBits);

// Releases the rendering and device contexts; every failed release is shown
// with the caption "SHUTDOWN ERROR" and the teardown goes on. Safe to call when
// nothing is held.
void destroyGlContext();

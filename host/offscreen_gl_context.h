// An OpenGL compatibility context on an EGL pbuffer, with no display at all;
// hostSwapBuffers of the offscreen backend.
#pragma once

// Creates the context with an exact 8:8:8 colour config and 16 depth bits,
// like the saver's window, and makes it current. False (with a message through
// hostShowMessage) when EGL or the config is not available.
bool createOffscreenGlContext(int width, int height);

// Releases the context; safe when none is held.
void destroyOffscreenGlContext();

// Reads the colour buffer as width x height RGB rows, bottom row first.
// `pixels` must hold width * height * 3 bytes.
void readOffscreenPixels(int width, int height, unsigned char* pixels);

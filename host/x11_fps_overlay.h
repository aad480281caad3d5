// -fps on X11: the glyphs of an X font as GL display lists (glXUseXFont), and
// the frame-rate text drawn with them over each frame.
#pragma once

#include "host/fps_overlay.h"

#include <X11/Xlib.h>

// Makes the glyph lists in the current context from the first X font that
// loads of a short list ending in "fixed". False (with a message on stderr)
// when none loads; the saver then runs without the text.
bool createFpsFont(Display* display);

// Draws the frame rate and `frameMicros` (see formatFpsText) over the frame
// in a width x height viewport; nothing without the glyph lists.
void drawFpsOverlay(std::int32_t framesPerSecond, std::int32_t frameMicros, int width, int height);

// Deletes the glyph lists; the context must still be current.
void destroyFpsFont();

// The frame-rate overlay of -fps: the frame rate from the frame meter and the
// frame time the saver's loop measures, as two lines of text drawn over the
// finished frame in its top-left corner (the floor fills the bottom, and white
// text on the pale floor could not be read).
//
// fps_overlay.cpp holds the measuring and the text (no GL, no clock);
// fps_overlay_gl.cpp draws text with glyph display lists a backend made.
#pragma once

#include <cstddef>
#include <cstdint>

// Frame time: the microseconds from the start of a frame's drawing to the end
// of its presentation, averaged over about a second so the text holds still
// long enough to read.
struct FrameTimeMeter {
    std::int64_t windowStart;  // loop clock, microseconds: the window's first frame start
    std::int64_t busy;         // microseconds of drawing in the window
    std::int32_t frames;       // frames in the window; 0 before its first
    std::int32_t shown;        // mean of the last whole window, microseconds; -1 before one
};

constexpr FrameTimeMeter InitialFrameTimeMeter{0, 0, 0, -1};
constexpr std::int64_t FrameTimeWindow = 1000000;  // microseconds

// Counts one frame drawn from `start` to `end` (microseconds of one clock; an
// end before its start counts as 0). Once the window spans FrameTimeWindow,
// its mean becomes `shown` and a new window begins with the next frame.
void addFrameTime(FrameTimeMeter& meter, std::int64_t start, std::int64_t end);

// "FPS: 50\nFrame: 4.2 ms": the rate, and the frame time in milliseconds to
// a tenth (rounded half up), "--" while `frameMicros` is negative. Always
// terminated; cut short when `size` is too small.
void formatFpsText(char* text, std::size_t size, std::int32_t framesPerSecond,
                   std::int32_t frameMicros);

// Glyph display lists cover the printable ASCII codes: the list for code c is
// listBase + c - FirstGlyph.
constexpr int FirstGlyph = 32;
constexpr int GlyphCount = 95;
constexpr int OverlayMargin = 8;  // pixels from the viewport's left and top edges

// Draws `text` (lines split at '\n'; codes without a glyph skipped) in white,
// the top of its first line OverlayMargin pixels below the top edge of a
// width x height viewport, baselines `ascent` below each line's top and lines
// `lineHeight` apart. Lighting, texturing and the depth test are off while it
// draws; the enables, the current colour and raster position, the matrix mode
// and both matrices are as before when it returns. Needs a current context.
void drawTextOverlay(const char* text, std::uint32_t listBase, int ascent, int lineHeight,
                     int width, int height);

// Feedback mode as a test oracle: what GL would have drawn, as primitives with
// window coordinates, lit colours and texture coordinates.
#pragma once

#include <functional>
#include <vector>

struct FeedbackVertex {
    float x, y, z;        // window coordinates
    float r, g, b, a;     // lit colour
    float s, t, p, q;     // texture coordinate as given
};

enum class FeedbackKind { Polygon, Line, LineReset, Point, PassThrough, Bitmap, Pixel };

struct FeedbackItem {
    FeedbackKind kind;
    std::vector<FeedbackVertex> vertices;  // empty for markers
    float marker = 0.0f;                   // value of a glPassThrough
};

// Runs `draw` in GL_FEEDBACK mode with GL_3D_COLOR_TEXTURE and returns what it
// produced, in order. An overflowing buffer fails the calling test.
std::vector<FeedbackItem> captureFeedback(const std::function<void()>& draw,
                                          int bufferFloats = 1 << 20);

// Splits a capture at its pass-through markers: element i holds what came
// after the i-th marker (element 0: before the first).
std::vector<std::vector<FeedbackItem>> splitAtMarkers(const std::vector<FeedbackItem>& items);

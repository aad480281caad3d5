// The web backend's OpenGL 1.1: the immediate-mode calls the core makes,
// turned into WebGL 1 draws.
//
// web_gl.cpp defines the GL 1.1 and GLU entry points the core calls (the
// begin/end vertices, the two matrix stacks, polygon modes, the global
// ambient light, the fixed-function enables) and works out on the CPU what
// fixed-function GL would: each vertex in clip space, its lit or current
// colour, each polygon's facing from its winding in the window, and so
// whether it is filled or drawn as its edges. web_webgl.cpp draws the
// result with one small shader program. Everything else (clear, viewport,
// depth function, texture objects) goes straight to WebGL.
#pragma once

// One vertex as it is drawn: clip-space position, colour, texture coordinates.
struct WebVertex {
    float x, y, z, w;
    float r, g, b, a;
    float u, v;
};

enum class WebPrimitive { Points, Lines, Triangles };

// Compiles the shader program and sets up the vertex buffer, with the
// context current. False (and a message through hostShowMessage) when the
// browser's WebGL refuses.
bool createWebGlProgram();

// Draws `count` vertices as `kind`; `textured` modulates their colour by the
// bound 2D texture.
void drawWebVertices(WebPrimitive kind, const WebVertex* vertices, int count, bool textured);

// While false, the layer keeps every state and matrix change but draws
// nothing and clears nothing: frames run only to move the scene on (the
// catch-up steps between two browser frames, the frames of a replay before
// the last). True at start.
void setWebGlDrawing(bool drawing);

// Viewport, projection and the fixed GL state every frame relies on.
#pragma once

// Viewport of width x height pixels (a height of 0 counts as 1), a 45-degree
// vertical field of view with aspect width / height, near 0.1, far 100; leaves
// the model-view matrix selected and reset. A view taller than it is wide gets
// a wider vertical field (verticalFieldOfView in host/view_layout.h).
void resizeViewport(int width, int height);

// The same for a view whose lower-left corner is at (x, y) in the window.
void setView(int x, int y, int width, int height);

// Builds the global scene (textures need the current context), then sets the
// fixed state: smooth shading, black clear, depth test LEQUAL, ambient light
// (10, 10, 10, 1) with lighting on. Always true.
bool initGlState();

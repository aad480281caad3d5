// A real (Mesa) OpenGL context for tests, created once per test program.
#pragma once

// Width and height of the test framebuffer.
constexpr int TestViewportWidth = 256;
constexpr int TestViewportHeight = 256;

// Makes sure the shared offscreen context exists and is current; false when
// this machine offers no EGL (the caller then fails its test).
bool ensureGlTestContext();

// Saves all GL attribute and matrix state; restoring it at destruction keeps a
// failing test from leaking state into the next one.
class GlStateGuard {
public:
    GlStateGuard();
    ~GlStateGuard();
    GlStateGuard(const GlStateGuard&) = delete;
    GlStateGuard& operator=(const GlStateGuard&) = delete;
};

#include "tests/support/gl_test_context.h"

#include "host/offscreen_gl_context.h"
#include "mesh/gl_api.h"

bool ensureGlTestContext() {
    static bool created = createOffscreenGlContext(TestViewportWidth, TestViewportHeight);
    return created;
}

GlStateGuard::GlStateGuard() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

GlStateGuard::~GlStateGuard() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    while (glGetError() != GL_NO_ERROR) {
    }
}

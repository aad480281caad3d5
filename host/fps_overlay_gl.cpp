#include "host/fps_overlay.h"

#include "mesh/gl_api.h"

void drawTextOverlay(const char* text, std::uint32_t listBase, int ascent, int lineHeight,
                     int width, int height) {
    // The enables, the colour and raster position, and the matrix mode come
    // back with the attributes; the two matrices with their stacks.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glColor3f(1.0f, 1.0f, 1.0f);  // before the raster position, which takes the colour
    int baseline = height - OverlayMargin - ascent;
    glRasterPos2i(OverlayMargin, baseline);
    for (const char* p = text; *p != '\0'; ++p) {
        const int code = static_cast<unsigned char>(*p);
        if (code == '\n') {
            baseline -= lineHeight;
            glRasterPos2i(OverlayMargin, baseline);
        } else if (code >= FirstGlyph && code < FirstGlyph + GlyphCount) {
            glCallList(listBase + static_cast<std::uint32_t>(code - FirstGlyph));
        }
    }

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

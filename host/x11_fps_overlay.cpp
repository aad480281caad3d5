#include "host/x11_fps_overlay.h"

#include "host/host.h"

#include <GL/glx.h>

namespace {

// A bold face first where the server has one; "fixed" is built into every X server.
constexpr const char* FontNames[] = {"-*-fixed-bold-r-normal--15-*-*-*-*-*-iso8859-1", "fixed"};

GLuint glyphLists = 0;  // GlyphCount lists from here; 0 when there are none
int fontAscent = 0;
int fontLineHeight = 0;

}  // namespace

bool createFpsFont(Display* display) {
    XFontStruct* font = nullptr;
    for (const char* name : FontNames)
        if ((font = XLoadQueryFont(display, name)) != nullptr) break;
    if (font == nullptr) {
        hostShowMessage("WARNING", "No X font for the frame rate: it is not shown.",
                        MessageKind::Information);
        return false;
    }
    glyphLists = glGenLists(GlyphCount);
    if (glyphLists != 0) {
        glXUseXFont(font->fid, FirstGlyph, GlyphCount, static_cast<int>(glyphLists));
        // Mesa (22.3 seen) drops a list's empty bitmap, and with it the
        // space's advance: give the space a blank bitmap of one pixel.
        const GLubyte blank[4] = {0, 0, 0, 0};
        glNewList(glyphLists + (' ' - FirstGlyph), GL_COMPILE);
        glBitmap(1, 1, 0.0f, 0.0f, static_cast<GLfloat>(XTextWidth(font, " ", 1)), 0.0f, blank);
        glEndList();
    }
    fontAscent = font->ascent;
    fontLineHeight = font->ascent + font->descent;
    // The lists hold copies of the glyphs: the font itself is no longer needed.
    XFreeFont(display, font);
    if (glyphLists == 0) {
        hostShowMessage("WARNING", "No display lists for the frame rate: it is not shown.",
                        MessageKind::Information);
        return false;
    }
    return true;
}

void drawFpsOverlay(std::int32_t framesPerSecond, std::int32_t frameMicros, int width, int height) {
    if (glyphLists == 0) return;
    char text[64];
    formatFpsText(text, sizeof text, framesPerSecond, frameMicros);
    drawTextOverlay(text, glyphLists, fontAscent, fontLineHeight, width, height);
}

void destroyFpsFont() {
    if (glyphLists != 0) glDeleteLists(glyphLists, GlyphCount);
    glyphLists = 0;
}

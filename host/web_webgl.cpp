// The WebGL half of the web backend's GL layer: one shader program that
// draws vertices already in clip space with their colour, modulated by the
// bound texture where asked (GL 1.1's default texture environment).
#include "host/host.h"
#include "host/web_gl.h"

#include <webgl/webgl1.h>

#include <cstddef>

namespace {

constexpr GLuint PositionAttribute = 0;
constexpr GLuint ColourAttribute = 1;
constexpr GLuint TexCoordAttribute = 2;

const char* const VertexShader = R"(
attribute vec4 position;
attribute vec4 colour;
attribute vec2 texCoord;
varying vec4 vColour;
varying vec2 vTexCoord;
void main() {
    gl_Position = position;
    gl_PointSize = 1.0;
    vColour = colour;
    vTexCoord = texCoord;
}
)";

// Texture coordinates reach 6 repeats on the floor: ask for high precision
// where the fragment stage has it.
const char* const FragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D image;
uniform bool textured;
varying vec4 vColour;
varying vec2 vTexCoord;
void main() {
    gl_FragColor = textured ? vColour * texture2D(image, vTexCoord) : vColour;
}
)";

GLint texturedUniform = -1;
bool lastTextured = false;

GLuint compile(GLenum kind, const char* source) {
    const GLuint shader = emscripten_glCreateShader(kind);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    GLint ok = 0;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    return ok != 0 ? shader : 0;
}

}  // namespace

bool createWebGlProgram() {
    const GLuint vertex = compile(GL_VERTEX_SHADER, VertexShader);
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, FragmentShader);
    const GLuint program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, vertex);
    emscripten_glAttachShader(program, fragment);
    emscripten_glBindAttribLocation(program, PositionAttribute, "position");
    emscripten_glBindAttribLocation(program, ColourAttribute, "colour");
    emscripten_glBindAttribLocation(program, TexCoordAttribute, "texCoord");
    emscripten_glLinkProgram(program);
    GLint linked = 0;
    emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (vertex == 0 || fragment == 0 || linked == 0) {
        hostShowMessage("ERROR", "WebGL could not build the aquarium's shaders.",
                        MessageKind::Error);
        return false;
    }
    emscripten_glUseProgram(program);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(program, "image"), 0);
    texturedUniform = emscripten_glGetUniformLocation(program, "textured");
    emscripten_glUniform1i(texturedUniform, 0);
    lastTextured = false;

    // One buffer, refilled for every draw; its layout never changes.
    GLuint buffer = 0;
    emscripten_glGenBuffers(1, &buffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const auto stride = static_cast<GLsizei>(sizeof(WebVertex));
    emscripten_glVertexAttribPointer(PositionAttribute, 4, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<const void*>(offsetof(WebVertex, x)));
    emscripten_glVertexAttribPointer(ColourAttribute, 4, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<const void*>(offsetof(WebVertex, r)));
    emscripten_glVertexAttribPointer(TexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<const void*>(offsetof(WebVertex, u)));
    emscripten_glEnableVertexAttribArray(PositionAttribute);
    emscripten_glEnableVertexAttribArray(ColourAttribute);
    emscripten_glEnableVertexAttribArray(TexCoordAttribute);
    return true;
}

void drawWebVertices(WebPrimitive kind, const WebVertex* vertices, int count, bool textured) {
    if (textured != lastTextured) {
        emscripten_glUniform1i(texturedUniform, textured ? 1 : 0);
        lastTextured = textured;
    }
    const auto bytes = static_cast<GLsizeiptr>(count) * static_cast<GLsizeiptr>(sizeof(WebVertex));
    emscripten_glBufferData(GL_ARRAY_BUFFER, bytes, vertices, GL_STREAM_DRAW);
    const GLenum mode = kind == WebPrimitive::Triangles ? GL_TRIANGLES
                        : kind == WebPrimitive::Lines   ? GL_LINES
                                                        : GL_POINTS;
    emscripten_glDrawArrays(mode, 0, count);
}

// OpenGL 1.1 immediate mode over WebGL 1, for exactly the calls the core
// makes (see web_gl.h). The names below are the GL and GLU entry points
// themselves: the web build links no other fixed-function library, and
// reaches WebGL through the emscripten_gl* names, which never collide.
#include "host/web_gl.h"

#include "mesh/gl_api.h"

#include <cmath>
#include <cstring>

extern "C" {
void emscripten_glEnable(GLenum cap);
void emscripten_glDisable(GLenum cap);
void emscripten_glBindTexture(GLenum target, GLuint texture);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                             GLsizei height, GLint border, GLenum format, GLenum type,
                             const void* pixels);
void emscripten_glClearDepthf(GLfloat depth);
void emscripten_glClear(GLbitfield mask);
GLenum emscripten_glGetError();
}

namespace {

struct Matrix {
    float m[16];  // column-major, as GL keeps it
};

constexpr Matrix Identity{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
constexpr int ModelViewDepth = 32;  // GL 1.1 guarantees 32 and 2
constexpr int ProjectionDepth = 2;
constexpr int BatchCapacity = 6144;  // vertices of one kind before a draw is forced

struct MatrixStack {
    Matrix levels[ModelViewDepth];
    int top;       // index of the current matrix
    int capacity;  // levels this stack may use
};

struct Layer {
    MatrixStack modelView{{}, 0, ModelViewDepth};
    MatrixStack projection{{}, 0, ProjectionDepth};
    MatrixStack* current = &modelView;

    bool lighting = false;
    bool texturing = false;
    GLuint boundTexture = 0;
    GLenum frontMode = GL_FILL;
    GLenum backMode = GL_FILL;
    GLenum shadeModel = GL_SMOOTH;
    float colour[4] = {1, 1, 1, 1};    // glColor
    float texCoord[2] = {0, 0};        // glTexCoord
    float litColour[4] = {0, 0, 0, 1};  // what lighting gives every vertex
    GLenum error = GL_NO_ERROR;         // the first error since glGetError

    bool inside = false;  // between glBegin and glEnd
    GLenum mode = 0;
    int corners = 0;  // vertices of the primitive being gathered
    WebVertex primitive[4];
    Matrix mvp;  // projection x model view, fixed for one begin/end

    bool drawing = true;
    WebVertex fills[BatchCapacity];
    int fillCount = 0;
    WebVertex lines[BatchCapacity];
    int lineCount = 0;
    WebVertex points[BatchCapacity];
    int pointCount = 0;
};

Layer gl;

void fail(GLenum code) {
    if (gl.error == GL_NO_ERROR) gl.error = code;
}

// The default material: ambient (0.2, 0.2, 0.2), diffuse alpha 1, no
// emission. With no light source enabled, lighting gives every vertex the
// global ambient times the material's ambient, clamped to [0, 1].
void updateLitColour(const float* ambient) {
    for (int i = 0; i < 3; ++i) {
        const float c = ambient[i] * 0.2f;
        gl.litColour[i] = c < 0.0f ? 0.0f : c > 1.0f ? 1.0f : c;
    }
    gl.litColour[3] = 1.0f;
}

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[k * 4 + row] * b.m[col * 4 + k];
            r.m[col * 4 + row] = sum;
        }
    return r;
}

Matrix& top() { return gl.current->levels[gl.current->top]; }

void multiplyTop(const Matrix& by) { top() = multiply(top(), by); }

// Calls GL forbids between glBegin and glEnd.
bool outsideBeginEnd() {
    if (gl.inside) fail(GL_INVALID_OPERATION);
    return !gl.inside;
}

// Texturing draws only with a texture bound: texture object 0 is never
// complete, and GL then draws as if texturing were off.
bool textured() { return gl.texturing && gl.boundTexture != 0; }

void flushFills() {
    if (gl.fillCount > 0 && gl.drawing)
        drawWebVertices(WebPrimitive::Triangles, gl.fills, gl.fillCount, textured());
    gl.fillCount = 0;
}

void flushLines() {
    if (gl.lineCount > 0 && gl.drawing)
        drawWebVertices(WebPrimitive::Lines, gl.lines, gl.lineCount, textured());
    gl.lineCount = 0;
}

void flushPoints() {
    if (gl.pointCount > 0 && gl.drawing)
        drawWebVertices(WebPrimitive::Points, gl.points, gl.pointCount, textured());
    gl.pointCount = 0;
}

void flushAll() {
    flushFills();
    flushLines();
    flushPoints();
}

void addFill(const WebVertex& a, const WebVertex& b, const WebVertex& c) {
    if (gl.fillCount + 3 > BatchCapacity) flushFills();
    gl.fills[gl.fillCount++] = a;
    gl.fills[gl.fillCount++] = b;
    gl.fills[gl.fillCount++] = c;
}

void addLine(const WebVertex& a, const WebVertex& b) {
    if (gl.lineCount + 2 > BatchCapacity) flushLines();
    gl.lines[gl.lineCount++] = a;
    gl.lines[gl.lineCount++] = b;
}

void addPoint(const WebVertex& a) {
    if (gl.pointCount + 1 > BatchCapacity) flushPoints();
    gl.points[gl.pointCount++] = a;
}

// Twice the signed area of the triangle in window coordinates, times the
// product of the three w (positive for every vertex in front of the eye):
// the determinant of the homogeneous x, y, w rows. Positive is
// counter-clockwise, the front face.
double windingOf(const WebVertex& a, const WebVertex& b, const WebVertex& c) {
    const double ax = a.x, ay = a.y, aw = a.w, bx = b.x, by = b.y, bw = b.w;
    const double cx = c.x, cy = c.y, cw = c.w;
    return ax * (by * cw - cy * bw) - bx * (ay * cw - cy * aw) + cx * (ay * bw - by * aw);
}

// A finished triangle (3 corners) or quad (4): filled, outlined or dotted
// as the polygon mode of the face it shows says.
void emitPolygon(WebVertex* v, int n) {
    if (gl.shadeModel == GL_FLAT)  // the last vertex gives the whole polygon its colour
        for (int i = 0; i < n - 1; ++i) std::memcpy(&v[i].r, &v[n - 1].r, 4 * sizeof(float));
    double winding = windingOf(v[0], v[1], v[2]);
    if (n == 4) winding += windingOf(v[0], v[2], v[3]);
    const GLenum mode = winding > 0.0 ? gl.frontMode : gl.backMode;
    if (mode == GL_FILL) {
        addFill(v[0], v[1], v[2]);
        if (n == 4) addFill(v[0], v[2], v[3]);
    } else if (mode == GL_LINE) {
        for (int i = 0; i < n; ++i) addLine(v[i], v[(i + 1) % n]);
    } else {
        for (int i = 0; i < n; ++i) addPoint(v[i]);
    }
}

bool isPolygonMode(GLenum mode) { return mode == GL_FILL || mode == GL_LINE || mode == GL_POINT; }

}  // namespace

void setWebGlDrawing(bool drawing) { gl.drawing = drawing; }

// The matrix stacks.

void glMatrixMode(GLenum mode) {
    if (!outsideBeginEnd()) return;
    if (mode == GL_MODELVIEW) gl.current = &gl.modelView;
    else if (mode == GL_PROJECTION) gl.current = &gl.projection;
    else fail(GL_INVALID_ENUM);
}

void glLoadIdentity() {
    if (outsideBeginEnd()) top() = Identity;
}

void glPushMatrix() {
    if (!outsideBeginEnd()) return;
    MatrixStack& s = *gl.current;
    if (s.top + 1 >= s.capacity) {
        fail(GL_STACK_OVERFLOW);
        return;
    }
    s.levels[s.top + 1] = s.levels[s.top];
    ++s.top;
}

void glPopMatrix() {
    if (!outsideBeginEnd()) return;
    if (gl.current->top == 0) {
        fail(GL_STACK_UNDERFLOW);
        return;
    }
    --gl.current->top;
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (!outsideBeginEnd()) return;
    Matrix t = Identity;
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    multiplyTop(t);
}

// Angle in degrees about the axis (x, y, z), normalised; a zero axis
// leaves the matrix as it is.
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    if (!outsideBeginEnd()) return;
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f) return;
    x /= length;
    y /= length;
    z /= length;
    const double radians = static_cast<double>(angle) * M_PI / 180.0;
    const float s = static_cast<float>(std::sin(radians));
    const float c = static_cast<float>(std::cos(radians));
    const float k = 1.0f - c;
    Matrix r = Identity;
    r.m[0] = x * x * k + c;
    r.m[1] = y * x * k + z * s;
    r.m[2] = x * z * k - y * s;
    r.m[4] = x * y * k - z * s;
    r.m[5] = y * y * k + c;
    r.m[6] = y * z * k + x * s;
    r.m[8] = x * z * k + y * s;
    r.m[9] = y * z * k - x * s;
    r.m[10] = z * z * k + c;
    multiplyTop(r);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    if (!outsideBeginEnd()) return;
    const double radians = fovy / 2.0 * M_PI / 180.0;
    const double depth = zFar - zNear;
    const double sine = std::sin(radians);
    if (depth == 0.0 || sine == 0.0 || aspect == 0.0) return;  // as GLU: nothing happens
    const double cotangent = std::cos(radians) / sine;
    Matrix p{};
    p.m[0] = static_cast<float>(cotangent / aspect);
    p.m[5] = static_cast<float>(cotangent);
    p.m[10] = static_cast<float>(-(zFar + zNear) / depth);
    p.m[11] = -1.0f;
    p.m[14] = static_cast<float>(-2.0 * zNear * zFar / depth);
    multiplyTop(p);
}

// State.

void glEnable(GLenum cap) {
    if (!outsideBeginEnd()) return;
    if (cap == GL_LIGHTING) gl.lighting = true;
    else if (cap == GL_TEXTURE_2D) gl.texturing = true;
    else emscripten_glEnable(cap);
}

void glDisable(GLenum cap) {
    if (!outsideBeginEnd()) return;
    if (cap == GL_LIGHTING) gl.lighting = false;
    else if (cap == GL_TEXTURE_2D) gl.texturing = false;
    else emscripten_glDisable(cap);
}

void glPolygonMode(GLenum face, GLenum mode) {
    if (!outsideBeginEnd()) return;
    const bool knownFace = face == GL_FRONT || face == GL_BACK || face == GL_FRONT_AND_BACK;
    if (!isPolygonMode(mode) || !knownFace) {
        fail(GL_INVALID_ENUM);
        return;
    }
    if (face != GL_BACK) gl.frontMode = mode;
    if (face != GL_FRONT) gl.backMode = mode;
}

void glShadeModel(GLenum mode) {
    if (!outsideBeginEnd()) return;
    if (mode == GL_FLAT || mode == GL_SMOOTH) gl.shadeModel = mode;
    else fail(GL_INVALID_ENUM);
}

void glLightModelfv(GLenum name, const GLfloat* values) {
    if (!outsideBeginEnd()) return;
    if (name == GL_LIGHT_MODEL_AMBIENT) updateLitColour(values);
    else fail(GL_INVALID_ENUM);  // local viewer and two-sided lighting are not drawn here
}

// WebGL always interpolates in perspective: the hint asks for what it does.
void glHint(GLenum target, GLenum mode) {
    if (!outsideBeginEnd()) return;
    if (target != GL_PERSPECTIVE_CORRECTION_HINT) fail(GL_INVALID_ENUM);
    else if (mode != GL_NICEST && mode != GL_FASTEST && mode != GL_DONT_CARE) fail(GL_INVALID_ENUM);
}

void glClearDepth(GLclampd depth) {
    if (outsideBeginEnd()) emscripten_glClearDepthf(static_cast<GLfloat>(depth));
}

void glClear(GLbitfield mask) {
    if (outsideBeginEnd() && gl.drawing) emscripten_glClear(mask);
}

void glBindTexture(GLenum target, GLuint texture) {
    if (!outsideBeginEnd()) return;
    if (target == GL_TEXTURE_2D) gl.boundTexture = texture;
    emscripten_glBindTexture(target, texture);
}

// GL 1.1 takes the internal format as a component count (1 to 4) or a
// base or sized format; WebGL wants the base format, equal to `format`.
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    if (!outsideBeginEnd()) return;
    GLenum base = 0;
    switch (internalFormat) {
        case 1: case GL_LUMINANCE: case GL_LUMINANCE8: base = GL_LUMINANCE; break;
        case 2: case GL_LUMINANCE_ALPHA: case GL_LUMINANCE8_ALPHA8:
            base = GL_LUMINANCE_ALPHA;
            break;
        case 3: case GL_RGB: case GL_RGB8: base = GL_RGB; break;
        case 4: case GL_RGBA: case GL_RGBA8: base = GL_RGBA; break;
        case GL_ALPHA: case GL_ALPHA8: base = GL_ALPHA; break;
        default: break;
    }
    if (base == 0 || base != format) {
        fail(base == 0 ? GL_INVALID_VALUE : GL_INVALID_OPERATION);  // no conversion here
        return;
    }
    emscripten_glTexImage2D(target, level, static_cast<GLint>(base), width, height, border, format,
                            type, pixels);
}

GLenum glGetError() {
    if (gl.error != GL_NO_ERROR) {
        const GLenum e = gl.error;
        gl.error = GL_NO_ERROR;
        return e;
    }
    return emscripten_glGetError();
}

const GLubyte* gluErrorString(GLenum code) {
    const char* text = nullptr;
    switch (code) {
        case GL_NO_ERROR: text = "no error"; break;
        case GL_INVALID_ENUM: text = "invalid enumerant"; break;
        case GL_INVALID_VALUE: text = "invalid value"; break;
        case GL_INVALID_OPERATION: text = "invalid operation"; break;
        case GL_STACK_OVERFLOW: text = "stack overflow"; break;
        case GL_STACK_UNDERFLOW: text = "stack underflow"; break;
        case GL_OUT_OF_MEMORY: text = "out of memory"; break;
        default: break;
    }
    return reinterpret_cast<const GLubyte*>(text);
}

// Vertices.

void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    gl.colour[0] = r;
    gl.colour[1] = g;
    gl.colour[2] = b;
    gl.colour[3] = 1.0f;
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    gl.texCoord[0] = s;
    gl.texCoord[1] = t;
}

// Normals matter only to light sources, which this layer has none of: the
// global ambient term is the same whatever way a surface faces.
void glNormal3f(GLfloat, GLfloat, GLfloat) {}

void glBegin(GLenum mode) {
    if (!outsideBeginEnd()) return;
    if (mode != GL_TRIANGLES && mode != GL_QUADS && mode != GL_LINES && mode != GL_POINTS) {
        fail(GL_INVALID_ENUM);  // the primitives the core draws, no others
        return;
    }
    gl.inside = true;
    gl.mode = mode;
    gl.corners = 0;
    gl.mvp = multiply(gl.projection.levels[gl.projection.top],
                      gl.modelView.levels[gl.modelView.top]);
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!gl.inside || !gl.drawing) return;
    const float* m = gl.mvp.m;
    WebVertex& v = gl.primitive[gl.corners++];
    v.x = m[0] * x + m[4] * y + m[8] * z + m[12];
    v.y = m[1] * x + m[5] * y + m[9] * z + m[13];
    v.z = m[2] * x + m[6] * y + m[10] * z + m[14];
    v.w = m[3] * x + m[7] * y + m[11] * z + m[15];
    std::memcpy(&v.r, gl.lighting ? gl.litColour : gl.colour, 4 * sizeof(float));
    v.u = gl.texCoord[0];
    v.v = gl.texCoord[1];
    switch (gl.mode) {
        case GL_TRIANGLES:
            if (gl.corners == 3) emitPolygon(gl.primitive, 3);
            break;
        case GL_QUADS:
            if (gl.corners == 4) emitPolygon(gl.primitive, 4);
            break;
        case GL_LINES:
            if (gl.corners == 2) {
                if (gl.shadeModel == GL_FLAT)  // the second vertex colours the line
                    std::memcpy(&gl.primitive[0].r, &gl.primitive[1].r, 4 * sizeof(float));
                addLine(gl.primitive[0], gl.primitive[1]);
            }
            break;
        default:
            addPoint(v);
            gl.corners = 0;
            return;
    }
    if (gl.corners == (gl.mode == GL_QUADS ? 4 : gl.mode == GL_TRIANGLES ? 3 : 2)) gl.corners = 0;
}

// Fills first, then outlines, then points: within one begin/end the lines
// of back faces win over the faces they share a depth with.
void glEnd() {
    if (!gl.inside) {
        fail(GL_INVALID_OPERATION);
        return;
    }
    gl.inside = false;
    flushAll();  // a primitive left incomplete is dropped, as GL drops it
}

#include "tests/support/gl_fixtures.h"

#include "host/offscreen_gl_context.h"

static constexpr GLenum SavedMatrices[3] = {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW};

void GlTest::SetUp() {
    static const bool created = createOffscreenGlContext(TestViewportWidth, TestViewportHeight);
    ASSERT_TRUE(created) << "no offscreen GL context on this machine";
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    for (GLenum mode : SavedMatrices) glMatrixMode(mode), glPushMatrix();
    saved_ = true;
    glViewport(0, 0, TestViewportWidth, TestViewportHeight);
    prepare();
}

void GlTest::TearDown() {
    if (!saved_) return;
    for (GLenum mode : SavedMatrices) glMatrixMode(mode), glPopMatrix();
    glPopAttrib();
    while (glGetError() != GL_NO_ERROR) continue;
}

void useOrtho(double half, double depth) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, -depth, depth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::array<double, 3> project(double x, double y, double z) {
    GLdouble model[16], proj[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::array<double, 3> w{};
    gluProject(x, y, z, model, proj, viewport, &w[0], &w[1], &w[2]);
    return w;
}

int modelViewDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}

std::array<GLint, 2> polygonModes() {
    std::array<GLint, 2> modes{};
    glGetIntegerv(GL_POLYGON_MODE, modes.data());
    return modes;
}

std::vector<FeedbackItem> captureFeedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FeedbackItem> items;
    EXPECT_GE(used, 0) << "feedback buffer overflowed";
    for (size_t i = 0; used > 0 && i < static_cast<size_t>(used);) {
        const auto token = static_cast<GLint>(buffer[i++]);
        const bool polygon = token == GL_POLYGON_TOKEN, point = token == GL_POINT_TOKEN;
        if (!polygon && !point && token != GL_LINE_TOKEN && token != GL_LINE_RESET_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        FeedbackItem item{
            polygon ? FeedbackKind::Polygon : point ? FeedbackKind::Point : FeedbackKind::Line, {}};
        const int count = polygon ? static_cast<int>(buffer[i++]) : point ? 1 : 2;
        for (int v = 0; v < count; ++v, i += 11) {
            const GLfloat* f = &buffer[i];
            item.vertices.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10]});
        }
        items.push_back(item);
    }
    return items;
}

#include "mesh/mesh.h"

#include "mesh/gl_api.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixtures.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Identity projection: object x, y in [-1, 1] map onto the viewport.
class MeshDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    std::unique_ptr<Mesh> mesh = emptyMesh();
};

float windowX(float x) { return (x + 1.0f) * 0.5f * TestViewportWidth; }
float windowY(float y) { return (y + 1.0f) * 0.5f * TestViewportHeight; }

}  // namespace

TEST_F(MeshDraw, IssuesEveryTriangleInOrderWithItsTextureCoordinates) {
    const int corners[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (int i = 0; i < 4; ++i) {
        addVertex(*mesh, i == 0 || i == 3 ? -0.5f : 0.5f, i < 2 ? -0.5f : 0.5f, 0);
        setVertexTexCoord(*mesh, i, 0.1f * i, 0.2f * i);
    }
    for (const auto& t : corners) addTriangle(*mesh, t[0], t[1], t[2]);
    const auto items = captureFeedback([&] { drawMesh(*mesh); });
    ASSERT_EQ(items.size(), 2u);
    for (int t = 0; t < 2; ++t) {
        ASSERT_EQ(items[t].kind, FeedbackKind::Polygon);
        ASSERT_EQ(items[t].vertices.size(), 3u);
        for (int c = 0; c < 3; ++c) {
            const Vertex v = getVertex(*mesh, corners[t][c]);
            const FeedbackVertex& f = items[t].vertices[c];
            EXPECT_NEAR(f.x, windowX(v.x), 0.01) << t << "," << c;
            EXPECT_NEAR(f.y, windowY(v.y), 0.01) << t << "," << c;
            EXPECT_NEAR(f.s, v.u, 1e-6) << t << "," << c;
            EXPECT_NEAR(f.t, v.v, 1e-6) << t << "," << c;
        }
    }
}

TEST_F(MeshDraw, BindsAndReleasesAPositiveTextureOnly) {
    GLuint name = 0;
    glGenTextures(1, &name);
    addVertex(*mesh, 0, 0, 0), addVertex(*mesh, 0.5f, 0, 0), addVertex(*mesh, 0, 0.5f, 0);
    addTriangle(*mesh, 0, 1, 2);
    setTexture(*mesh, name);
    glDisable(GL_TEXTURE_2D);
    drawMesh(*mesh);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), name);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // Untextured: the caller's texture state is left exactly as it was.
    setTexture(*mesh, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_TEXTURE_2D);
    drawMesh(*mesh);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    glDeleteTextures(1, &name);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

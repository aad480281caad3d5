#include "mesh/mesh.h"

#include "tests/support/gl_fixtures.h"
#include "tests/support/mesh_fixtures.h"

using MeshDraw = GlTest;

TEST_F(MeshDraw, IssuesEveryTriangleInOrderAndBindsAPositiveTextureOnly) {
    useOrtho(1, 1);  // x and y from -1 to 1 over the viewport
    auto mesh = emptyMesh();
    for (int i = 0; i < 4; ++i) {
        addVertex(*mesh, i == 0 || i == 3 ? -0.5f : 0.5f, i < 2 ? -0.5f : 0.5f, 0);
        setVertexTexCoord(*mesh, i, 0.1f * i, 0.2f * i);
    }
    const int corners[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (const auto& t : corners) addTriangle(*mesh, t[0], t[1], t[2]);
    const GLuint name = 4242;  // any name binds
    setTexture(*mesh, name);
    const auto items = captureFeedback([&] { drawMesh(*mesh); });
    ASSERT_EQ(items.size(), 2u);
    for (int t = 0; t < 2; ++t) {
        ASSERT_EQ(items[t].vertices.size(), 3u);
        for (int c = 0; c < 3; ++c) {
            const Vertex v = getVertex(*mesh, corners[t][c]);
            const FeedbackVertex& f = items[t].vertices[c];
            EXPECT_NEAR(f.x, (v.x + 1) * 128, 0.01) << t << "," << c;
            EXPECT_NEAR(f.y, (v.y + 1) * 128, 0.01) << t << "," << c;
            EXPECT_TRUE(f.s == v.u && f.t == v.v) << t << "," << c;
        }
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), name);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    // Untextured: the caller's texture state is left as it was.
    setTexture(*mesh, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_TEXTURE_2D);
    drawMesh(*mesh);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_TRUE(bound == 0 && glIsEnabled(GL_TEXTURE_2D));
}

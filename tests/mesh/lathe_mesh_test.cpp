#include "mesh/lathe_mesh.h"

#include "data/species_tables.h"
#include "mesh/gl_api.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class LatheMesh : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
        mesh = std::make_unique<Mesh>();
        initMesh(*mesh);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    void TearDown() override { guard.reset(); }

    GLint boundTexture() const {
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        return bound;
    }

    std::unique_ptr<GlStateGuard> guard;
    std::unique_ptr<Mesh> mesh;
};

}  // namespace

TEST_F(LatheMesh, LoadsTheSkinOfAnUntexturedMeshAndMapsItOntoTheBody) {
    buildLatheMesh(*mesh, profile104, 45);
    ASSERT_EQ(getVertexCount(*mesh), 336);
    EXPECT_EQ(getTriangleCount(*mesh), 652);
    const TextureId skin = getTexture(*mesh);
    EXPECT_NE(skin, 0u);
    EXPECT_TRUE(glIsTexture(skin));
    EXPECT_EQ(static_cast<TextureId>(boundTexture()), skin);
    // Row (256, 2, 253, 2, 140): the snout (x = -1.75, the smallest x) sits on
    // the rectangle's left edge, the tail's end on its right edge.
    const Vertex snout = getVertex(*mesh, 0);
    EXPECT_FLOAT_EQ(snout.u, 2.0f / 256.0f);
    const Vertex tail = getVertex(*mesh, 335 - 7);  // top of the last ring
    EXPECT_FLOAT_EQ(tail.x, 1.75f);
    EXPECT_FLOAT_EQ(tail.u, 1.0f);
}

TEST_F(LatheMesh, KeepsATextureTheMeshAlreadyHas) {
    GLuint shared = 0;
    glGenTextures(1, &shared);
    setTexture(*mesh, shared);
    buildLatheMesh(*mesh, profile103, 22);
    EXPECT_EQ(getTexture(*mesh), shared);
    EXPECT_EQ(boundTexture(), 0);  // nothing was loaded or bound
    EXPECT_EQ(getVertexCount(*mesh), 152);
    // Row (128, 0, 120, 1, 41): the snout maps to u = 0.
    EXPECT_FLOAT_EQ(getVertex(*mesh, 0).u, 0.0f);
}

TEST_F(LatheMesh, AHeaderOnlyTableBuildsNothingButStillLoadsTheSkin) {
    buildLatheMesh(*mesh, profile108, 3);
    EXPECT_EQ(getVertexCount(*mesh), 0);
    EXPECT_EQ(getTriangleCount(*mesh), 0);
    EXPECT_NE(getTexture(*mesh), 0u);
    EXPECT_TRUE(glIsTexture(getTexture(*mesh)));
}

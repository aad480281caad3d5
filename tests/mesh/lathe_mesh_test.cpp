// Building models with their skins, from the compiled tables and from files.
#include "mesh/lathe_mesh.h"

#include "data/species_tables.h"
#include "mesh/gl_api.h"
#include "mesh/profile_mesh.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

class LatheMesh : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    void TearDown() override {
        guard.reset();
        std::remove(path.c_str());
    }

    GLint boundTexture() const {
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        return bound;
    }

    std::unique_ptr<GlStateGuard> guard;
    std::unique_ptr<Mesh> mesh = emptyMesh();
    std::string path = tempPath("profile.txt");
};

}  // namespace

TEST_F(LatheMesh, LoadsTheSkinOfAnUntexturedMeshAndMapsItOntoTheBody) {
    buildLatheMesh(*mesh, profile104, 45);
    ASSERT_EQ(getVertexCount(*mesh), 336);
    const TextureId skin = getTexture(*mesh);
    EXPECT_TRUE(skin != 0 && glIsTexture(skin));
    EXPECT_EQ(static_cast<TextureId>(boundTexture()), skin);
    // Row (256, 2, 253, 2, 140): the snout (the smallest x) sits on the
    // rectangle's left edge, the tail's end on its right edge.
    EXPECT_FLOAT_EQ(getVertex(*mesh, 0).u, 2.0f / 256.0f);
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
    EXPECT_FLOAT_EQ(getVertex(*mesh, 0).u, 0.0f);  // row (128, 0, 120, 1, 41)
}

TEST_F(LatheMesh, AHeaderOnlyTableBuildsNothingButStillLoadsTheSkin) {
    buildLatheMesh(*mesh, profile108, 3);
    EXPECT_EQ(getVertexCount(*mesh), 0);
    EXPECT_TRUE(getTexture(*mesh) != 0 && glIsTexture(getTexture(*mesh)));
}

TEST_F(LatheMesh, ProfileFileLoadsTheSkinAndMapsItAsTheTableBuilderDoes) {
    const SpeciesTable* table = findSpeciesTable(105);
    std::ofstream(path) << profileText(table->rows, table->rowCount, " ");
    auto expected = emptyMesh();
    buildLatheMesh(*expected, table->rows, table->rowCount);
    readProfileFile(*mesh, path.c_str());
    ASSERT_TRUE(getTexture(*mesh) != 0 && glIsTexture(getTexture(*mesh)));
    ASSERT_EQ(getVertexCount(*mesh), getVertexCount(*expected));
    ASSERT_EQ(getTriangleCount(*mesh), getTriangleCount(*expected));
    for (int i = 0; i < getVertexCount(*mesh); ++i) {
        EXPECT_EQ(mesh->vertices[i].x, expected->vertices[i].x) << i;
        EXPECT_EQ(mesh->vertices[i].u, expected->vertices[i].u) << i;
        EXPECT_EQ(mesh->vertices[i].v, expected->vertices[i].v) << i;
    }
    auto textured = emptyMesh();  // a texture it already has is kept
    setTexture(*textured, 4242);
    readProfileFile(*textured, path.c_str());
    EXPECT_EQ(getTexture(*textured), 4242u);
    EXPECT_EQ(getVertexCount(*textured), getVertexCount(*expected));
}

TEST_F(LatheMesh, ProfileFileNamingNoSkinOrMissingLoadsNone) {
    const SpeciesTable* table = findSpeciesTable(103);
    std::ofstream(path) << "\n" << profileText(table->rows + 1, table->rowCount - 1, " ");
    readProfileFile(*mesh, path.c_str());
    EXPECT_EQ(getTexture(*mesh), 0u);
    EXPECT_GT(getVertexCount(*mesh), 0);

    auto none = emptyMesh();
    readProfileFile(*none, (path + ".missing").c_str());
    EXPECT_EQ(getTexture(*none), 0u);
    EXPECT_EQ(getVertexCount(*none), 0);
}

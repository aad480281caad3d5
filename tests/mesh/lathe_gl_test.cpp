// Building models with their skins, from the compiled tables and from files.
#include "mesh/lathe.h"

#include "data/species_tables.h"
#include "mesh/gl_api.h"
#include "mesh/mesh_file.h"
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
    // rectangle's left edge, the tail's end (top of the last ring) on its right.
    EXPECT_FLOAT_EQ(getVertex(*mesh, 0).u, 2.0f / 256.0f);
    EXPECT_FLOAT_EQ(getVertex(*mesh, 335 - 7).x, 1.75f);
    EXPECT_FLOAT_EQ(getVertex(*mesh, 335 - 7).u, 1.0f);

    auto headerOnly = emptyMesh();  // no rings, but the skin is still loaded
    buildLatheMesh(*headerOnly, profile108, 3);
    EXPECT_EQ(getVertexCount(*headerOnly), 0);
    EXPECT_TRUE(getTexture(*headerOnly) != 0 && glIsTexture(getTexture(*headerOnly)));
}

TEST_F(LatheMesh, KeepsATextureTheMeshAlreadyHas) {
    const SpeciesTable* table = findSpeciesTable(103);
    std::ofstream(path) << profileText(table->rows, table->rowCount, " ");
    for (bool fromFile : {false, true}) {
        auto textured = emptyMesh();
        setTexture(*textured, 4242);
        if (fromFile) {
            readProfileFile(*textured, path.c_str());
        } else {
            buildLatheMesh(*textured, table->rows, table->rowCount);
        }
        EXPECT_EQ(getTexture(*textured), 4242u) << fromFile;
        EXPECT_EQ(boundTexture(), 0) << fromFile;          // nothing was loaded or bound
        EXPECT_FLOAT_EQ(getVertex(*textured, 0).u, 0.0f);  // row (128, 0, 120, 1, 41)
    }
}

TEST_F(LatheMesh, ProfileFileLoadsItsSkinAndMapsItAsTheTableBuilderDoes) {
    const SpeciesTable* table = findSpeciesTable(105);
    std::ofstream(path) << profileText(table->rows, table->rowCount, " ");
    auto expected = emptyMesh();
    buildLatheMesh(*expected, table->rows, table->rowCount);
    readProfileFile(*mesh, path.c_str());
    ASSERT_TRUE(getTexture(*mesh) != 0 && glIsTexture(getTexture(*mesh)));
    ASSERT_EQ(getVertexCount(*mesh), getVertexCount(*expected));
    ASSERT_EQ(getTriangleCount(*mesh), getTriangleCount(*expected));
    for (int i = 0; i < getVertexCount(*mesh); ++i) {
        const Vertex &a = mesh->vertices[i], &b = expected->vertices[i];
        EXPECT_TRUE(a.x == b.x && a.u == b.u && a.v == b.v) << i;
    }
    // Bitmap id 0 (an empty first line) or no file at all: no skin.
    std::ofstream(path) << "\n" << profileText(table->rows + 1, table->rowCount - 1, " ");
    auto noSkin = emptyMesh();
    readProfileFile(*noSkin, path.c_str());
    EXPECT_EQ(getTexture(*noSkin), 0u);
    EXPECT_EQ(getVertexCount(*noSkin), getVertexCount(*expected));
    auto none = emptyMesh();
    readProfileFile(*none, (path + ".missing").c_str());
    EXPECT_TRUE(getTexture(*none) == 0 && getVertexCount(*none) == 0);
}

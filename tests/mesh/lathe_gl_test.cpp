// Models with their skins, from the compiled tables and from profile files.
#include "mesh/lathe.h"

#include "data/species_tables.h"
#include "mesh/mesh_file.h"
#include "tests/support/gl_fixtures.h"
#include "tests/support/mesh_fixtures.h"

using LatheMesh = GlTest;

TEST_F(LatheMesh, LoadsASkinOnlyForAnUntexturedMeshFromATableOrAFile) {
    const std::string path = tempPath("profile105.txt");
    std::ofstream(path) << profileText(profile105, 25, " ");
    auto table = emptyMesh(), file = emptyMesh(), headerOnly = emptyMesh();
    buildLatheMesh(*table, profile105, 25);
    readProfileFile(*file, path.c_str());
    buildLatheMesh(*headerOnly, profile108, 3);  // no rings, a skin all the same
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<TextureId>(bound), getTexture(*headerOnly));
    for (const Mesh* mesh : {table.get(), file.get(), headerOnly.get()})
        EXPECT_TRUE(getTexture(*mesh) != 0 && glIsTexture(getTexture(*mesh)));
    ASSERT_EQ(getVertexCount(*file), 176);
    for (int i = 0; i < 176; ++i) {
        const Vertex &a = file->vertices[i], &b = table->vertices[i];
        EXPECT_TRUE(a.x == b.x && a.z == b.z && a.u == b.u && a.v == b.v) << i;
    }
    // A mesh with a texture keeps it and nothing is loaded or bound.
    glBindTexture(GL_TEXTURE_2D, 0);
    for (const bool fromFile : {false, true}) {
        auto textured = emptyMesh();
        setTexture(*textured, 4242);
        fromFile ? readProfileFile(*textured, path.c_str()) : buildLatheMesh(*textured, profile105, 25);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_TRUE(bound == 0 && getTexture(*textured) == 4242 && getVertex(*textured, 0).u == getVertex(*table, 0).u);
    }
    // Bitmap id 0 (an empty first line) or no file at all: no skin.
    std::ofstream(path) << "\n" << profileText(profile105 + 1, 24, " ");
    auto noSkin = emptyMesh(), none = emptyMesh();
    readProfileFile(*noSkin, path.c_str());
    readProfileFile(*none, tempPath("missing.txt").c_str());
    EXPECT_TRUE(getTexture(*noSkin) == 0 && getVertexCount(*noSkin) == 176);
    EXPECT_TRUE(getTexture(*none) == 0 && getVertexCount(*none) == 0);
}

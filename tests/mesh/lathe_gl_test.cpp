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
    auto table = emptyMesh();
    buildLatheMesh(*table, profile105, 25);
    for (const bool fromFile : {false, true})
        for (const TextureId given : {0u, 4242u}) {
            auto mesh = emptyMesh();
            setTexture(*mesh, given);
            glBindTexture(GL_TEXTURE_2D, 0);
            fromFile ? readProfileFile(*mesh, path.c_str()) : buildLatheMesh(*mesh, profile105, 25);
            // A skin loaded is left bound; a texture given is kept, and nothing bound.
            GLint bound = 0;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            EXPECT_EQ(getTexture(*mesh), given ? given : static_cast<TextureId>(bound)) << fromFile;
            EXPECT_TRUE(given ? bound == 0 : glIsTexture(static_cast<GLuint>(bound))) << fromFile;
            EXPECT_TRUE(getVertexCount(*mesh) == 176 &&
                        getVertex(*mesh, 175).v == getVertex(*table, 175).v) << fromFile;
        }
    // Bitmap id 0 (an empty first line) or no file at all: no skin.
    std::ofstream(path) << "\n" << profileText(profile105 + 1, 24, " ");
    auto noSkin = emptyMesh(), none = emptyMesh();
    readProfileFile(*noSkin, path.c_str());
    readProfileFile(*none, tempPath("missing.txt").c_str());
    EXPECT_TRUE(getTexture(*noSkin) == 0 && getVertexCount(*noSkin) == 176);
    EXPECT_TRUE(getTexture(*none) == 0 && getVertexCount(*none) == 0);
}

#include "fish/species_model.h"

#include "data/species_tables.h"
#include "tests/support/fish_fixtures.h"
#include "tests/support/gl_fixtures.h"

using SpeciesModel = GlTest;

TEST_F(SpeciesModel, FirstFishLoadsTheSkinAndMatesShareItOnTheHeadlessBody) {
    auto first = makeFish(), mate = makeFish(), bare = makeFish(profile103, 22);
    buildSpeciesModel(*first, profile103, 22);
    const TextureId skin = getTexture(*first);
    EXPECT_TRUE(skin != 0 && glIsTexture(skin));
    buildSpeciesModelShared(*mate, profile103, 22, skin);
    GLuint probe = 0;  // the next free name: no texture was made for the mate
    glGenTextures(1, &probe);
    EXPECT_TRUE(getTexture(*mate) == skin && probe == skin + 1);
    glDeleteTextures(1, &probe);
    ASSERT_EQ(getVertexCount(*mate), getVertexCount(*bare));
    EXPECT_TRUE(first->flocking && mate->flocking && mate->species == 103 && first->species == 103);
    for (int i = 0; i < getVertexCount(*bare); ++i) {
        const Vertex &a = first->vertices[i], &b = mate->vertices[i], &e = bare->vertices[i];
        EXPECT_TRUE(a.x == e.x && a.u == e.u && a.v == e.v && b.z == e.z && b.u == e.u) << i;
    }
}

#include "fish/species_model.h"

#include "data/species_tables.h"
#include "mesh/gl_api.h"
#include "tests/support/fish_fixtures.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

TEST(SpeciesModel, FirstFishLoadsTheSkinAndMatesShareIt) {
    ASSERT_TRUE(ensureGlTestContext());
    GlStateGuard guard;
    auto first = makeFish(), mate = makeFish(), bare = makeFish(profile103, 22);
    buildSpeciesModel(*first, profile103, 22);
    const TextureId skin = getTexture(*first);
    ASSERT_NE(skin, 0u);
    EXPECT_TRUE(glIsTexture(skin));

    // The shared build keeps the given name and creates no texture object.
    buildSpeciesModelShared(*mate, profile103, 22, skin);
    GLuint probe = 0;
    glGenTextures(1, &probe);
    EXPECT_EQ(getTexture(*mate), skin);
    EXPECT_EQ(probe, skin + 1) << "a texture was created for the mate";
    glDeleteTextures(1, &probe);

    // Both get the body, mapping and behaviour of the headless build.
    ASSERT_EQ(getVertexCount(*mate), getVertexCount(*bare));
    EXPECT_TRUE(mate->flocking && mate->species == 103);
    for (int i = 0; i < getVertexCount(*bare); ++i) {
        EXPECT_TRUE(vecNear(getVertex(*mate, i), getVertex(*bare, i), 0.0)) << i;
        EXPECT_EQ(getVertex(*first, i).u, getVertex(*bare, i).u) << i;
        EXPECT_EQ(getVertex(*mate, i).v, getVertex(*bare, i).v) << i;
    }
}

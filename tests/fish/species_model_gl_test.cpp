#include "fish/species_model.h"

#include "data/species_tables.h"
#include "mesh/gl_api.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <memory>

TEST(SpeciesModel, FirstFishLoadsTheSkinAndMatesShareIt) {
    ASSERT_TRUE(ensureGlTestContext());
    GlStateGuard guard;
    auto first = std::make_unique<Fish>();
    auto mate = std::make_unique<Fish>();
    auto bare = std::make_unique<Fish>();
    constructFish(*first);
    constructFish(*mate);
    constructFish(*bare);

    buildSpeciesModel(*first, profile103, 22);
    const TextureId skin = getTexture(*first);
    ASSERT_NE(skin, 0u);
    EXPECT_TRUE(glIsTexture(skin));
    EXPECT_EQ(first->species, 103);
    EXPECT_EQ(first->priority, 3.0f);

    // The shared build keeps the given name and creates no texture object.
    GLuint probe = 0;
    buildSpeciesModelShared(*mate, profile103, 22, skin);
    glGenTextures(1, &probe);
    EXPECT_EQ(getTexture(*mate), skin);
    EXPECT_EQ(probe, skin + 1) << "a texture was created for the mate";
    glDeleteTextures(1, &probe);
    EXPECT_EQ(mate->species, 103);
    EXPECT_TRUE(mate->flocking);

    // The same body and mapping as the headless build of the table.
    buildSpeciesGeometry(*bare, profile103, 22);
    ASSERT_EQ(getVertexCount(*mate), getVertexCount(*bare));
    for (int i = 0; i < getVertexCount(*bare); ++i) {
        EXPECT_EQ(getVertex(*mate, i).x, getVertex(*bare, i).x);
        EXPECT_EQ(getVertex(*mate, i).u, getVertex(*bare, i).u);
        EXPECT_EQ(getVertex(*first, i).v, getVertex(*bare, i).v);
    }
}

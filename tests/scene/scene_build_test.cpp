#include "host/virtual_clock.h"
#include "mesh/gl_api.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "scene/layout.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

TEST(SceneBuild, SharesSkinsAndGravelAndLoadsTheFloorLast) {
    ASSERT_TRUE(ensureGlTestContext());
    GlStateGuard guard;
    setVirtualTick(60000);
    randomSeed(1);
    auto a = std::make_unique<Aquarium>();
    constructAquarium(*a);
    EXPECT_EQ(a->fillMode, GL_FILL);
    EXPECT_EQ(a->fishCount + a->activeFishCount + a->decorationCount, 0);

    GLuint first = 0, last = 0;
    glGenTextures(1, &first);
    buildScene(*a);
    glGenTextures(1, &last);

    const int species[FishCapacity] = {103, 103, 103, 103, 103, 103, 102, 104, 108};
    for (int i = 0; i < FishCapacity; ++i) {
        EXPECT_EQ(a->fish[i].species, species[i]) << i;
        EXPECT_GT(getTriangleCount(a->fish[i]), 0) << i;
        EXPECT_EQ(a->fish[i].school, a->fish);
        EXPECT_EQ(a->fish[i].schoolCount, 9);
        EXPECT_EQ(a->fish[i].obstacles, a->decorations);
        EXPECT_EQ(a->fish[i].obstacleCount, 17);
    }
    // Fish 0 to 5 share one skin; 6, 7 and 8 each have their own.
    const TextureId schoolSkin = getTexture(a->fish[0]);
    for (int i = 1; i < 6; ++i) EXPECT_EQ(getTexture(a->fish[i]), schoolSkin) << i;
    const TextureId gravel = getTexture(a->decorations[0]);
    const std::set<TextureId> names = {schoolSkin, getTexture(a->fish[6]), getTexture(a->fish[7]),
                                       getTexture(a->fish[8]), gravel, a->floorTexture};
    EXPECT_EQ(names.size(), 6u);
    for (TextureId name : names) EXPECT_TRUE(glIsTexture(name)) << name;
    // Six textures were made in all (none for species 101 or 105), the
    // floor's last.
    EXPECT_EQ(last - first - 1, 6u);
    EXPECT_EQ(*names.rbegin(), a->floorTexture);
    EXPECT_EQ(a->floorTexture, last - 1);

    EXPECT_EQ(a->fishCount, 9);
    EXPECT_EQ(a->activeFishCount, 9);
    EXPECT_EQ(a->decorationCount, 17);
    for (int k = 0; k < DecorationCapacity; ++k) {
        const Decoration& d = a->decorations[k];
        if (k < PlacedRockCount) {
            EXPECT_EQ(getTexture(d), gravel) << k;
            EXPECT_EQ(d.position.x, RockPositions[k][0]) << k;
            EXPECT_EQ(d.position.y, RockPositions[k][1]) << k;
            EXPECT_EQ(d.position.z, RockPositions[k][2]) << k;
        } else {
            EXPECT_EQ(getTexture(d), 0u) << k;
            EXPECT_EQ(d.position.x, 0.0f);
            EXPECT_EQ(d.position.y, 0.0f);
            EXPECT_EQ(d.position.z, 0.0f);
            EXPECT_EQ(getTriangleCount(d), 20) << k;
        }
    }
    const GLuint made[1] = {last};
    glDeleteTextures(1, made);
    glDeleteTextures(1, &first);
}

TEST(SceneBuild, TheStartTickAloneDecidesTheConstructedScene) {
    auto a = std::make_unique<Aquarium>();
    auto b = std::make_unique<Aquarium>();
    setVirtualTick(123456);
    randomSeed(1);
    constructAquarium(*a);
    setVirtualTick(123456);
    randomSeed(1);
    constructAquarium(*b);
    for (int i = 0; i < FishCapacity; ++i) EXPECT_EQ(a->fish[i].rampPeriod, b->fish[i].rampPeriod);
    for (int k = 0; k < DecorationCapacity; ++k) {
        EXPECT_EQ(a->decorations[k].yaw, b->decorations[k].yaw);
        EXPECT_EQ(a->decorations[k].radius, b->decorations[k].radius);
    }
    // Another tick draws other rocks.
    setVirtualTick(654321);
    randomSeed(1);
    constructAquarium(*b);
    int sameYaw = 0;
    for (int k = 0; k < DecorationCapacity; ++k) sameYaw += a->decorations[k].yaw == b->decorations[k].yaw;
    EXPECT_LT(sameYaw, 3);
}

// ctest runs each test in a process of its own, so here `scene` is exactly
// what the static construction before main left.
TEST(SceneConstruction, TheGlobalSceneIsConstructedBeforeMain) {
    EXPECT_EQ(scene.fillMode, GL_FILL);
    EXPECT_EQ(scene.floorTexture, 0u);
    EXPECT_EQ(scene.fishCount, 0);
    EXPECT_EQ(scene.activeFishCount, 0);
    EXPECT_EQ(scene.decorationCount, 0);
    for (const Fish& fish : scene.fish) {
        EXPECT_GE(fish.rampPeriod, 500);
        EXPECT_LE(fish.rampPeriod, 1500);
        EXPECT_EQ(fish.stepCount, 50);
    }
    for (const Decoration& d : scene.decorations) {
        EXPECT_EQ(getTriangleCount(d), 20);
        EXPECT_GT(d.radius, 0.0f);
    }
}

#include "host/offscreen_host.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "scene/layout.h"
#include "tests/support/fish_fixtures.h"
#include "tests/support/gl_fixtures.h"


using SceneBuild = GlTest;

// The textures are made in one order, so their names never change: each
// species' skin (its mates share it), the gravel of the placed rocks, the floor.
TEST_F(SceneBuild, MakesTheTexturesInOrderAndLinksEveryFishToAllFishAndThePlacedRocks) {
    setVirtualTick(60000);
    randomSeed(1);
    auto a = std::make_unique<Aquarium>();
    constructAquarium(*a);
    GLuint first = 0;
    glGenTextures(1, &first);
    buildScene(*a);
    const GLuint skins[FishCapacity] = {1, 1, 1, 1, 1, 1, 2, 3, 4};  // 103 x 6, 102, 104, 108
    for (int i = 0; i < FishCapacity; ++i) {
        const Fish& fish = a->fish[i];
        EXPECT_EQ(getTexture(fish), first + skins[i]) << i;
        EXPECT_TRUE(fish.school == a->fish && fish.schoolCount == 9 && fish.obstacles == a->decorations &&
                    fish.obstacleCount == PlacedRockCount);
    }
    for (int k = 0; k < DecorationCapacity; ++k)
        EXPECT_EQ(getTexture(a->decorations[k]), k < PlacedRockCount ? first + 5 : 0u) << k;
    EXPECT_EQ(a->floorTexture, first + 6);
    EXPECT_TRUE(a->fishCount == 9 && a->activeFishCount == 9 && a->decorationCount == PlacedRockCount);
    for (GLuint name = first; name <= first + 6; ++name) glDeleteTextures(1, &name);
}

// ctest runs each test in a process of its own, so here `scene` is exactly
// what the static construction before main left.
TEST(SceneConstruction, TheGlobalSceneIsConstructedBeforeMain) {
    EXPECT_EQ(scene.fillMode, GL_FILL);
    EXPECT_EQ(scene.fishCount + scene.activeFishCount + scene.decorationCount, 0);
    for (const Fish& fish : scene.fish) {
        EXPECT_TRUE(fish.rampPeriod >= 500 && fish.rampPeriod <= 1500) << fish.rampPeriod;
        EXPECT_EQ(fish.stepCount, 50);
    }
    for (const Decoration& d : scene.decorations) EXPECT_EQ(getTriangleCount(d), 20);
}

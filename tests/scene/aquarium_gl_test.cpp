#include "host/offscreen_host.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "scene/layout.h"
#include "tests/support/fish_fixtures.h"
#include "tests/support/gl_fixtures.h"

#include <set>

using SceneBuild = GlTest;

TEST_F(SceneBuild, SharesSkinsAndGravelLinksEveryFishAndLoadsTheFloorLast) {
    setVirtualTick(60000);
    randomSeed(1);
    auto a = std::make_unique<Aquarium>();
    constructAquarium(*a);
    GLuint first = 0, last = 0;
    glGenTextures(1, &first);
    buildScene(*a);
    glGenTextures(1, &last);

    EXPECT_EQ(a->fishCount, 9);
    EXPECT_EQ(a->activeFishCount, 9);
    EXPECT_EQ(a->decorationCount, 17);
    for (const Fish& fish : a->fish) {
        EXPECT_TRUE(fish.school == a->fish && fish.schoolCount == 9) << "the school is all nine fish";
        EXPECT_TRUE(fish.obstacles == a->decorations && fish.obstacleCount == 17) << "obstacles: the rocks";
    }
    // Fish 0 to 5 share one skin; 6, 7 and 8 each have their own.
    for (int i = 1; i < 6; ++i) EXPECT_EQ(getTexture(a->fish[i]), getTexture(a->fish[0])) << i;
    const TextureId gravel = getTexture(a->decorations[0]);
    const std::set<TextureId> names = {getTexture(a->fish[0]), getTexture(a->fish[6]), getTexture(a->fish[7]),
                                       getTexture(a->fish[8]), gravel, a->floorTexture};
    EXPECT_EQ(names.size(), 6u);
    EXPECT_EQ(names.count(0u), 0u);
    // Six textures made in all, the floor's last.
    EXPECT_EQ(last - first - 1, 6u);
    EXPECT_EQ(a->floorTexture, last - 1);
    for (int k = 0; k < DecorationCapacity; ++k)
        EXPECT_EQ(getTexture(a->decorations[k]), k < PlacedRockCount ? gravel : 0u) << k;
    for (GLuint name = first; name <= last; ++name) glDeleteTextures(1, &name);
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

#include "scene/aquarium.h"

#include "fish/behaviour.h"
#include "mesh/gl_api.h"
#include "mesh/texture.h"
#include "scene/layout.h"
#include "world/tank.h"

static_assert(PolygonModeFill == GL_FILL, "the scene's fill mode is GL_FILL");

namespace {

constexpr float X = TankHalfWidth;
constexpr float Y = TankHalfHeight;
constexpr float Z = TankHalfDepth;
constexpr float FrameGrey = 0.4f;
constexpr float FloorRepeatX = 6.0f;  // texture repetitions along x
constexpr float FloorRepeatZ = 3.0f;  // and along z

void quad(const float (&corners)[4][3]) {
    for (const auto& c : corners) glVertex3f(c[0], c[1], c[2]);
}

}  // namespace

void drawTank(const Aquarium& aquarium) {
    glPushMatrix();
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_LIGHTING);

    glColor3f(FrameGrey, FrameGrey, FrameGrey);
    glBegin(GL_QUADS);
    quad({{-X, Y, Z}, {-X, Y, -Z}, {X, Y, -Z}, {X, Y, Z}});
    glEnd();

    glEnable(GL_LIGHTING);

    // Counter-clockwise seen from above: the front face points up and takes
    // the fill mode; seen from below it would show as lines.
    glPolygonMode(GL_FRONT, static_cast<GLenum>(aquarium.fillMode));
    glBindTexture(GL_TEXTURE_2D, aquarium.floorTexture);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(X, -Y, Z);
    glTexCoord2f(0.0f, FloorRepeatZ);
    glVertex3f(X, -Y, -Z);
    glTexCoord2f(FloorRepeatX, FloorRepeatZ);
    glVertex3f(-X, -Y, -Z);
    glTexCoord2f(FloorRepeatX, 0.0f);
    glVertex3f(-X, -Y, Z);
    glEnd();

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);

    glColor3f(FrameGrey, FrameGrey, FrameGrey);
    glBegin(GL_QUADS);
    quad({{-X, Y, Z}, {-X, -Y, Z}, {-X, -Y, -Z}, {-X, Y, -Z}});  // x = -24
    quad({{X, Y, -Z}, {X, -Y, -Z}, {X, -Y, Z}, {X, Y, Z}});      // x = 24
    quad({{X, Y, -Z}, {-X, Y, -Z}, {-X, -Y, -Z}, {X, -Y, -Z}});  // z = -12
    quad({{-X, Y, Z}, {X, Y, Z}, {X, -Y, Z}, {-X, -Y, Z}});      // z = 12
    glEnd();

    glEnable(GL_LIGHTING);
    glPopMatrix();
}

namespace {

void drawSceneAndMaybeMove(Aquarium& aquarium, bool move) {
    drawTank(aquarium);

    // Rocks: front faces in the fill mode, back faces as lines; no culling.
    glPolygonMode(GL_BACK, GL_LINE);
    glPolygonMode(GL_FRONT, static_cast<GLenum>(aquarium.fillMode));
    for (int i = 0; i < aquarium.decorationCount; ++i) draw(aquarium.decorations[i]);

    glPolygonMode(GL_FRONT, GL_FILL);
    // Each fish is drawn where the last frame left it, then moved; later fish
    // steer against the earlier ones' new state.
    for (int i = 0; i < aquarium.activeFishCount; ++i) {
        drawFish(aquarium.fish[i]);
        if (move) updateFish(aquarium.fish[i]);
    }
}

}  // namespace

void drawScene(Aquarium& aquarium) { drawSceneAndMaybeMove(aquarium, true); }

void drawSceneStill(Aquarium& aquarium) { drawSceneAndMaybeMove(aquarium, false); }

void loadSceneTextures(Aquarium& aquarium) {
    int next = 0;
    for (const SpeciesBuild& build : SpeciesBuildOrder) {
        TextureId skin = 0;
        for (int i = 0; i < build.fishCount && next < aquarium.fishCount; ++i, ++next) {
            Fish& fish = aquarium.fish[next];
            if (i == 0) {
                loadTexture(fish, getSpecies(fish));
                skin = getTexture(fish);
            } else {
                setTexture(fish, skin);
            }
        }
    }

    Decoration* rocks = aquarium.decorations;
    loadTexture(rocks[0], RockTextureResource);
    for (int k = 1; k < aquarium.decorationCount; ++k) setTexture(rocks[k], getTexture(rocks[0]));

    aquarium.floorTexture = loadBitmapTexture(FloorTextureResource);
}

void buildScene(Aquarium& aquarium) {
    buildSceneBodies(aquarium);
    loadSceneTextures(aquarium);
}

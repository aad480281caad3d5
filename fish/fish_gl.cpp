#include "fish/fish.h"

#include "fish/swim_animation.h"
#include "mesh/gl_api.h"
#include "mesh/mesh.h"

namespace {

constexpr float HeadingLineScale = 50.0f;  // flock heading is in units per frame

// Lines from the fish to its flock centre (red when outside flockRadius,
// yellow on or inside it) and along the flock heading (green, world axes).
// Leaves lighting and texturing enabled and the matrix at the fish's position.
void drawFlockLines(const Fish& fish) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glBegin(GL_LINES);
    if (pointDistance(fish.position, fish.flockCentre) > fish.flockRadius)
        glColor3f(1.0f, 0.0f, 0.0f);
    else
        glColor3f(1.0f, 1.0f, 0.0f);
    glVertex3f(fish.position.x, fish.position.y, fish.position.z);
    glVertex3f(fish.flockCentre.x, fish.flockCentre.y, fish.flockCentre.z);
    glEnd();
    glTranslatef(fish.position.x, fish.position.y, fish.position.z);
    glBegin(GL_LINES);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(fish.flockHeading.x * HeadingLineScale, fish.flockHeading.y * HeadingLineScale,
               fish.flockHeading.z * HeadingLineScale);
    glEnd();
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

void drawFish(Fish& fish) {
    if constexpr (swimAnimationEnabled) applySwimAnimation(fish);
    glPushMatrix();
    if (debugOverlayEnabled && fish.flocking)
        drawFlockLines(fish);
    else
        glTranslatef(fish.position.x, fish.position.y, fish.position.z);
    // Pitch about z first, then yaw about y; the nose lies toward -x.
    glRotatef(fish.orientation.y, 0.0f, 1.0f, 0.0f);
    glRotatef(fish.orientation.z, 0.0f, 0.0f, 1.0f);
    drawMesh(fish);
    glPopMatrix();
}

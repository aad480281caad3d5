#include "mesh/gl_api.h"
#include "mesh/mesh.h"
#include "world/decoration.h"

// Turned about its own vertical axis first, then moved to its place.
void draw(const Decoration& decoration) {
    glPushMatrix();
    glTranslatef(decoration.position.x, decoration.position.y, decoration.position.z);
    glRotatef(decoration.yaw, 0.0f, 1.0f, 0.0f);
    drawMesh(decoration);
    glPopMatrix();
}

#include "host/gl_state.h"

#include "host/view_layout.h"
#include "mesh/gl_api.h"
#include "scene/aquarium.h"

void resizeViewport(int width, int height) { setView(0, 0, width, height); }

void setView(int x, int y, int width, int height) {
    if (height == 0) height = 1;
    glViewport(x, y, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The near plane is the single-precision 0.1 widened to double.
    gluPerspective(verticalFieldOfView(width, height),
                   static_cast<double>(static_cast<float>(width) / static_cast<float>(height)),
                   static_cast<double>(0.1f), 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool initGlState() {
    // First, before any fixed state: the scene loads its textures now.
    buildScene(scene);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    // Ambient 10 x the default material's 0.2 saturates: lit surfaces show
    // their texture at full brightness. No light source is ever enabled.
    const GLfloat ambient[4] = {10.0f, 10.0f, 10.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glEnable(GL_LIGHTING);
    return true;
}

#include "mesh/mesh.h"

#include "mesh/gl_api.h"

void drawMesh(const Mesh& mesh) {
    // The name is tested as a signed value: 0 or "negative" means untextured.
    const bool textured = static_cast<std::int32_t>(mesh.texture) > 0;
    if (textured) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, mesh.texture);
    }
    glBegin(GL_TRIANGLES);
    for (int t = 0; t < mesh.triangleCount; ++t) {
        const Triangle& triangle = mesh.triangles[t];
        for (int c = 0; c < triangle.cornerCount && c < 3; ++c) {
            const Vertex& v = mesh.vertices[triangle.corners[c]];
            glTexCoord2f(v.u, v.v);
            glNormal3f(v.nx, v.ny, v.nz);
            glVertex3f(v.x, v.y, v.z);
        }
    }
    glEnd();
    if (textured) glDisable(GL_TEXTURE_2D);
}

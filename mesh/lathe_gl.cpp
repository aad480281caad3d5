#include "mesh/lathe.h"

#include "mesh/texture.h"

void buildLatheMesh(Mesh& mesh, const ProfileRow* rows, int count) {
    const LatheSkin skin = buildLatheGeometry(mesh, rows, count);
    if (mesh.texture == 0) mesh.texture = loadBitmapTexture(skin.textureResource);
    mapLatheSkin(mesh, skin);
}

#include "mesh/mesh_file.h"

#include "mesh/texture.h"

void readProfileFile(Mesh& mesh, const char* name) {
    const LatheSkin skin = readProfileGeometry(mesh, name);
    // Bitmap ids start at 101: 0 means the file named none.
    if (getTexture(mesh) == 0 && skin.textureResource != 0)
        setTexture(mesh, loadBitmapTexture(skin.textureResource));
    mapLatheSkin(mesh, skin);
}

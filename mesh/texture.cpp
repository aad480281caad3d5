#include "mesh/texture.h"

#include "mesh/gl_api.h"

#include <cstdio>
#include <cstdlib>

TextureId loadBitmapTexture(int id) {
    RgbImage* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    if (image == nullptr) {
        std::printf("Error allocating space for image");
        std::exit(0);
    }
    // Only the low 16 bits name a bitmap. A bitmap that cannot be loaded (or
    // whose pixel buffer cannot be allocated) ends the process before any
    // texture call.
    if (!loadBitmapImage(id & 0xFFFF, *image)) {
        std::free(image);
        std::exit(1);
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);  // no mipmaps
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Rows of 64 pixels are 192 bytes, so the default unpack alignment of 4
    // fits; the bitmap's bottom row becomes texture row t = 0.
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image->pixels);
    std::free(image->pixels);
    std::free(image);
    return name;
}

void loadTexture(Mesh& mesh, int id) { mesh.texture = loadBitmapTexture(id); }

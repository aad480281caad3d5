#include "mesh/texture.h"

#include "tests/support/gl_fixtures.h"

#include <cstdlib>
#include <vector>

namespace {

using Texture = GlTest;

// Texture `name` read back as 64 x 64 red-green-blue rows.
std::vector<unsigned char> readTexture(TextureId name) {
    glBindTexture(GL_TEXTURE_2D, name);
    std::vector<unsigned char> pixels(64 * 64 * 3);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<unsigned char> decoded(int id) {
    RgbImage image{};
    EXPECT_TRUE(loadBitmapImage(id, image));
    std::vector<unsigned char> pixels(image.pixels, image.pixels + 64 * 64 * 3);
    std::free(image.pixels);
    return pixels;
}

}  // namespace

TEST_F(Texture, UploadsTheDecodedBitmapLinearAndRepeatedAndLeavesANewNameBound) {
    const TextureId first = loadBitmapTexture(104);
    GLint bound = 0, width = 0, height = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<TextureId>(bound), first);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_TRUE(width == 64 && height == 64) << width << " x " << height;
    const GLenum parameters[4] = {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_WRAP_S,
                                  GL_TEXTURE_WRAP_T};
    for (int i = 0; i < 4; ++i) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameters[i], &value);
        EXPECT_EQ(value, i < 2 ? GL_LINEAR : GL_REPEAT) << "parameter " << i;
    }
    EXPECT_EQ(readTexture(first), decoded(104));
    // Only the low 16 bits name the bitmap; every load makes a new name.
    const TextureId high = loadBitmapTexture(104 + 65536);
    EXPECT_NE(high, first);
    EXPECT_EQ(readTexture(high), decoded(104));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Texture, AMissingBitmapEndsTheProcessWithStatus1) {
    // The child re-runs the program with a context of its own: a forked one
    // would inherit the renderer's threads half-copied.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int id : {109, 0, 100 + 65536})
        EXPECT_EXIT(loadBitmapTexture(id), ::testing::ExitedWithCode(1), "") << "bitmap " << id;
}

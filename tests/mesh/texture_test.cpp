#include "mesh/texture.h"

#include "tests/support/gl_fixtures.h"
#include "tests/support/mesh_fixtures.h"

using Texture = GlTest;

TEST_F(Texture, UploadsTheDecodedBitmapLinearAndRepeatedAndLeavesANewNameBound) {
    const TextureId first = loadBitmapTexture(104);
    GLint bound = 0, width = 0, height = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_TRUE(static_cast<TextureId>(bound) == first && width == 64 && height == 64);
    const GLenum parameters[4] = {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_WRAP_S,
                                  GL_TEXTURE_WRAP_T};
    for (int i = 0; i < 4; ++i) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameters[i], &value);
        EXPECT_EQ(value, i < 2 ? GL_LINEAR : GL_REPEAT) << "parameter " << i;
    }
    // Only the low 16 bits name the bitmap; every load makes a new name.
    const TextureId high = loadBitmapTexture(104 + 65536);
    EXPECT_NE(high, first);
    // Each as uploaded, 64 x 64 red-green-blue rows: the decoded bitmap 104
    // (see the embedded bitmaps' digests).
    for (const TextureId name : {first, high}) {
        glBindTexture(GL_TEXTURE_2D, name);
        std::vector<unsigned char> pixels(64 * 64 * 3);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        EXPECT_EQ(fnv1a(Fnv1aStart, pixels.data(), pixels.size()), 0x5cd72561804a17b0u) << name;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Texture, AMissingBitmapEndsTheProcessWithStatus1) {
    // The child re-runs the program with a context of its own: a forked one
    // would inherit the renderer's threads half-copied.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int id : {109, 0, 100 + 65536})
        EXPECT_EXIT(loadBitmapTexture(id), ::testing::ExitedWithCode(1), "") << "bitmap " << id;
}

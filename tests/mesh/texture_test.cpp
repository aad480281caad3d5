#include "mesh/texture.h"

#include "mesh/gl_api.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

class Texture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
    }
    void TearDown() override { guard.reset(); }

    std::unique_ptr<GlStateGuard> guard;
};

// The picture of texture `name`, read back as 64 x 64 red-green-blue rows.
std::vector<unsigned char> readTexture(TextureId name) {
    glBindTexture(GL_TEXTURE_2D, name);
    std::vector<unsigned char> pixels(64 * 64 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<unsigned char> decoded(int id) {
    RgbImage image{};
    EXPECT_TRUE(loadBitmapImage(id, image));
    if (image.pixels == nullptr) return {};
    std::vector<unsigned char> pixels(image.pixels, image.pixels + image.width * image.height * 3);
    std::free(image.pixels);
    return pixels;
}

}  // namespace

TEST_F(Texture, UploadsTheDecodedBitmapAt64By64AndLeavesItBound) {
    const TextureId name = loadBitmapTexture(104);
    ASSERT_NE(name, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<TextureId>(bound), name);
    GLint width = 0, height = 0, format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    ASSERT_TRUE(width == 64 && height == 64) << width << " x " << height;
    EXPECT_TRUE(format == 3 || format == GL_RGB) << format;  // three components, as asked
    for (GLenum parameter :
         {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
        EXPECT_EQ(value, parameter == GL_TEXTURE_WRAP_S || parameter == GL_TEXTURE_WRAP_T
                             ? GL_REPEAT
                             : GL_LINEAR)
            << parameter;
    }
    EXPECT_EQ(readTexture(name), decoded(104));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Texture, CountsOnlyTheLow16BitsOfTheIdAndMakesANewNameEachTime) {
    const TextureId first = loadBitmapTexture(101);
    const TextureId again = loadBitmapTexture(101);
    const TextureId high = loadBitmapTexture(101 + 65536);
    EXPECT_TRUE(first != again && again != high && first != high) << first << again << high;
    const auto picture = decoded(101);
    for (TextureId texture : {first, again, high})
        EXPECT_EQ(readTexture(texture), picture) << texture;
    EXPECT_NE(readTexture(loadBitmapTexture(102)), picture);
}

namespace {

// State a texture call would change, captured by the exit handler of the
// child process of the death test below.
GLuint sentinelTexture = 0;

void reportTextureState() {
    GLint bound = 0, filter = 0, width = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    const bool untouched =
        static_cast<GLuint>(bound) == sentinelTexture && filter == GL_NEAREST && width == 1;
    std::fprintf(stderr, untouched ? "no texture call\n" : "texture call made\n");
}

void loadMissingBitmapAfterSentinel(int id) {
    // A 1 x 1 texture with nearest filtering, bound: any generate-and-bind,
    // parameter or upload call would change what reportTextureState sees.
    glGenTextures(1, &sentinelTexture);
    glBindTexture(GL_TEXTURE_2D, sentinelTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    const unsigned char texel[4] = {1, 2, 3, 4};
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    std::atexit(reportTextureState);
    loadBitmapTexture(id);
}

}  // namespace

TEST_F(Texture, AMissingBitmapEndsTheProcessWithStatus1BeforeAnyTextureCall) {
    // The child re-runs this test from the start with its own context; a
    // forked child would inherit the renderer's threads half-copied.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // 100 + 65536: the low 16 bits name no bitmap either.
    for (int id : {109, 0, 100 + 65536})
        EXPECT_EXIT(loadMissingBitmapAfterSentinel(id), ::testing::ExitedWithCode(1),
                    "no texture call")
            << "bitmap " << id;
}

// The -fps text: its frame time, its wording, and its drawing over a frame
// with the state the scene relies on left as it was.
#include "host/fps_overlay.h"
#include "host/offscreen_gl_context.h"
#include "tests/support/gl_fixtures.h"

#include <cstring>
#include <string>

namespace {

constexpr int Height = 144;  // a 16:9 viewport in the bottom of the test surface

TEST(FrameTimeMeter, MeanOfEachWholeSecond) {
    FrameTimeMeter meter = InitialFrameTimeMeter;
    // Frames every 10 ms from t = 5 s, 3 ms of drawing each: the window's
    // 100th frame ends 993 ms after its first began, the 101st completes it.
    const std::int64_t t0 = 5000000;
    for (int i = 0; i < 100; ++i) addFrameTime(meter, t0 + i * 10000, t0 + i * 10000 + 3000);
    EXPECT_EQ(meter.shown, -1);
    addFrameTime(meter, t0 + 1000000, t0 + 1003000);
    EXPECT_EQ(meter.shown, 3000);
    // The next window counts only its own frames; a clock step back counts 0.
    addFrameTime(meter, t0 + 1010000, t0 + 1015000);
    addFrameTime(meter, t0 + 1500000, t0 + 1499000);
    EXPECT_EQ(meter.shown, 3000);
    addFrameTime(meter, t0 + 2005000, t0 + 2015000);
    EXPECT_EQ(meter.shown, 5000);
}

struct TextCase {
    const char* name;
    std::int32_t fps, micros;
    const char* text;
};

class FpsText : public testing::TestWithParam<TextCase> {};

TEST_P(FpsText, RateAndFrameTime) {
    const TextCase& c = GetParam();
    char text[64];
    formatFpsText(text, sizeof text, c.fps, c.micros);
    EXPECT_STREQ(text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FpsText,
    testing::Values(TextCase{"NoFrameTimeYet", 50, -1, "FPS: 50\nFrame: -- ms"},
                    TextCase{"TenthsRoundedDown", 98, 4149, "FPS: 98\nFrame: 4.1 ms"},
                    TextCase{"TenthsRoundedHalfUp", 98, 4150, "FPS: 98\nFrame: 4.2 ms"},
                    TextCase{"CarryIntoMilliseconds", 3, 9950, "FPS: 3\nFrame: 10.0 ms"},
                    TextCase{"Zero", 3, 0, "FPS: 3\nFrame: 0.0 ms"},
                    TextCase{"Largest", INT32_MAX, INT32_MAX,
                             "FPS: 2147483647\nFrame: 2147483.6 ms"}),
    [](const testing::TestParamInfo<TextCase>& c) { return std::string(c.param.name); });

using TextOverlay = GlTest;

TEST_F(TextOverlay, WhiteLinesTopLeftAndTheSceneStateKept) {
    // Glyphs of 6 x 10 solid pixels, 7 apart; the space only moves on. One
    // list more than there are glyphs draws too, for a code that has none.
    const std::vector<GLubyte> solid(40, 0xFF), blank(4, 0);
    const GLuint lists = glGenLists(GlyphCount + 1);
    for (int i = 0; i <= GlyphCount; ++i) {
        glNewList(lists + static_cast<GLuint>(i), GL_COMPILE);
        glBitmap(i ? 6 : 1, i ? 10 : 1, 0.0f, 0.0f, 7.0f, 0.0f, (i ? solid : blank).data());
        glEndList();
    }
    // State that hides text drawn under it: depth cleared to nearest, lighting
    // with no light (black), a black texture, the frame's own matrices.
    glClearDepth(0.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    const GLfloat none[4] = {0, 0, 0, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glEnable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, 4243);  // any name binds
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, blank.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    useOrtho(20.0, 50.0);
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_TEXTURE);
    glColor3f(1, 0, 0);
    GLfloat before[32], after[32], colour[4];
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    glGetFloatv(GL_MODELVIEW_MATRIX, before + 16);

    glViewport(0, 0, TestViewportWidth, Height);
    drawTextOverlay("AB\n C\x7f", lists, 10, 14, TestViewportWidth, Height);

    // Line 1's top 8 pixels below the top edge: A at x 8, B at 15; line 2
    // 14 lower: C after the space; the code without a glyph draws nothing.
    std::vector<unsigned char> pixels(TestViewportWidth * TestViewportHeight * 3);
    readOffscreenPixels(TestViewportWidth, TestViewportHeight, pixels.data());
    const int top = Height - 8, glyphs[3][2] = {{8, top - 10}, {15, top - 10}, {15, top - 24}};
    int wrong = 0;
    for (int y = 0; y < TestViewportHeight; ++y)
        for (int x = 0; x < TestViewportWidth; ++x) {
            bool lit = false;
            for (const auto& g : glyphs)
                lit = lit || (x >= g[0] && x < g[0] + 6 && y >= g[1] && y < g[1] + 10);
            const unsigned char* p = &pixels[(static_cast<size_t>(y) * TestViewportWidth + x) * 3];
            const int want = lit ? 255 : 0;  // white text on black
            wrong += p[0] != want || p[1] != want || p[2] != want;
        }
    EXPECT_EQ(wrong, 0) << "pixels not as the text should leave them";

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    glGetFloatv(GL_MODELVIEW_MATRIX, after + 16);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_LIGHTING) &&
                glIsEnabled(GL_TEXTURE_2D) && mode == GL_TEXTURE);
    EXPECT_TRUE(colour[0] == 1 && colour[1] == 0 && colour[2] == 0) << "the current colour";
    EXPECT_EQ(std::memcmp(before, after, sizeof before), 0) << "the matrices";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteLists(lists, GlyphCount + 1);
}

}  // namespace

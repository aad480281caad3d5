#include "tests/support/feedback.h"

#include "mesh/gl_api.h"

#include <gtest/gtest.h>

std::vector<FeedbackItem> captureFeedback(const std::function<void()>& draw, int bufferFloats) {
    std::vector<GLfloat> buffer(static_cast<size_t>(bufferFloats));
    glFeedbackBuffer(bufferFloats, GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FeedbackItem> items;
    EXPECT_GE(used, 0) << "feedback buffer overflowed";
    if (used < 0) return items;
    // 3D_COLOR_TEXTURE in RGBA mode: x y z, r g b a, s t p q.
    const int stride = 11;
    auto readVertex = [&](int at) {
        const GLfloat* f = &buffer[static_cast<size_t>(at)];
        return FeedbackVertex{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10]};
    };
    int i = 0;
    while (i < used) {
        const int token = static_cast<int>(buffer[static_cast<size_t>(i++)]);
        FeedbackItem item{};
        int count = 0;
        switch (token) {
            case GL_POLYGON_TOKEN:
                item.kind = FeedbackKind::Polygon;
                count = static_cast<int>(buffer[static_cast<size_t>(i++)]);
                break;
            case GL_LINE_TOKEN:
                item.kind = FeedbackKind::Line;
                count = 2;
                break;
            case GL_LINE_RESET_TOKEN:
                item.kind = FeedbackKind::LineReset;
                count = 2;
                break;
            case GL_POINT_TOKEN:
                item.kind = FeedbackKind::Point;
                count = 1;
                break;
            case GL_BITMAP_TOKEN:
                item.kind = FeedbackKind::Bitmap;
                count = 1;
                break;
            case GL_DRAW_PIXEL_TOKEN:
            case GL_COPY_PIXEL_TOKEN:
                item.kind = FeedbackKind::Pixel;
                count = 1;
                break;
            case GL_PASS_THROUGH_TOKEN:
                item.kind = FeedbackKind::PassThrough;
                item.marker = buffer[static_cast<size_t>(i++)];
                break;
            default:
                ADD_FAILURE() << "unknown feedback token " << token;
                return items;
        }
        for (int v = 0; v < count; ++v, i += stride) item.vertices.push_back(readVertex(i));
        items.push_back(item);
    }
    return items;
}

std::vector<std::vector<FeedbackItem>> splitAtMarkers(const std::vector<FeedbackItem>& items) {
    std::vector<std::vector<FeedbackItem>> parts(1);
    for (const FeedbackItem& item : items) {
        if (item.kind == FeedbackKind::PassThrough)
            parts.emplace_back();
        else
            parts.back().push_back(item);
    }
    return parts;
}

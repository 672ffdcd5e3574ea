#include "tests/support/feedback.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

namespace {

FeedbackVertex ReadVertex(const std::vector<GLfloat>& buffer, size_t& i) {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    FeedbackVertex v{};
    gluUnProject(buffer[i], buffer[i + 1], buffer[i + 2], model, projection, viewport, &v.x, &v.y, &v.z);
    v.r = buffer[i + 4];
    v.g = buffer[i + 5];
    v.b = buffer[i + 6];
    v.a = buffer[i + 7];
    v.s = buffer[i + 8];
    v.t = buffer[i + 9];
    i += 12;  // x y z w, r g b a, s t r q
    return v;
}

}  // namespace

std::vector<FeedbackQuad> CaptureQuads(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflowed";

    std::vector<std::vector<FeedbackVertex>> triangles;
    for (size_t i = 0; i < static_cast<size_t>(used);) {
        const GLfloat token = buffer[i++];
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        const int count = static_cast<int>(buffer[i++]);
        std::vector<FeedbackVertex> polygon;
        for (int k = 0; k < count; ++k) polygon.push_back(ReadVertex(buffer, i));
        triangles.push_back(polygon);
    }

    std::vector<FeedbackQuad> quads;
    for (size_t i = 0; i + 1 < triangles.size(); i += 2) {
        const auto& first = triangles[i];
        const auto& second = triangles[i + 1];
        if (first.size() != 3 || second.size() != 3) {
            ADD_FAILURE() << "a quad was clipped or not split into two triangles";
            break;
        }
        quads.push_back({{first[0], first[1], second[1], first[2]}});
    }
    if (triangles.size() % 2) ADD_FAILURE() << "odd number of triangles";
    return quads;
}

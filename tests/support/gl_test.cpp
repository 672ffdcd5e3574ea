#include "tests/support/gl_test.h"

void GLTest::createContext(int width, int height) {
    ASSERT_TRUE(gl.create(width, height)) << gl.error();
}

std::array<float, 16> GLTest::matrix(GLenum which) {
    std::array<float, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

void GLTest::capture() { pixels = gl.readPixels(); }

RGBA GLTest::pixel(int x, int y) {
    if (pixels.empty()) capture();
    const size_t i = (static_cast<size_t>(y) * gl.width() + x) * 4;
    return {pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
}

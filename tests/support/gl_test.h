#pragma once
// A real Mesa OpenGL context with no display, for tests that call GL and GLU,
// read GL state back and look at rendered pixels.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/headless_gl_context.h"

struct RGBA {
    uint8_t r, g, b, a;
};

class GLTest : public ::testing::Test {
protected:
    void SetUp() override { createContext(256, 256); }
    void createContext(int width, int height);

    // The 16 elements of a GL matrix (GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX), column-major.
    static std::array<float, 16> matrix(GLenum which);
    // The pixel at (x, y) of the last frame, y counted from the top row.
    RGBA pixel(int x, int y);
    // Reads the framebuffer again (call after drawing, before pixel()).
    void capture();

    HeadlessGLContext gl;
    std::vector<uint8_t> pixels;
};

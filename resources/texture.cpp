#include "resources/texture.h"

#include <GL/gl.h>

#include <cstdlib>

Texture::~Texture() {
    std::free(pixels);
    if (glName != 0) {
        GLuint name = glName;
        glDeleteTextures(1, &name);
    }
}

#pragma once
// An OpenGL context with no display: Mesa's surfaceless EGL platform and a
// framebuffer object to draw into. Used for headless frames and by the tests.
#include <cstdint>
#include <string>
#include <vector>

class HeadlessGLContext {
public:
    HeadlessGLContext() = default;
    ~HeadlessGLContext();
    HeadlessGLContext(const HeadlessGLContext&) = delete;
    HeadlessGLContext& operator=(const HeadlessGLContext&) = delete;

    // Creates a desktop-GL compatibility context and a width x height
    // framebuffer (RGBA8 colour, 24-bit depth), and makes it current.
    // On failure returns false and error() says why.
    bool create(int width, int height);
    bool makeCurrent();
    // Replaces the framebuffer with one of the new size; keeps the context.
    bool resize(int width, int height);
    void destroy();

    int width() const { return width_; }
    int height() const { return height_; }
    const std::string& error() const { return error_; }

    // The framebuffer's pixels as RGBA bytes, top row first.
    std::vector<uint8_t> readPixels() const;

private:
    bool createFramebuffer(int width, int height);
    void destroyFramebuffer();
    bool fail(const std::string& why);

    void* display_ = nullptr;   // EGLDisplay
    void* context_ = nullptr;   // EGLContext
    unsigned framebuffer_ = 0;
    unsigned colourBuffer_ = 0;
    unsigned depthBuffer_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::string error_;
};

// The effect's cost per frame, once the field is full (20 s of frame time):
// the field's Move + Sort alone, the glyph quads sent, and whole driver frames
// on the headless Mesa context, finished with glFinish.
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "front/default_settings.h"
#include "geometry/frustum.h"
#include "platform/headless_gl_context.h"
#include "scene/scene_driver.h"

namespace {

constexpr double kFrame = 1.0 / 60.0;

HeadlessGLContext& Context(int width, int height) {
    static HeadlessGLContext gl;
    if (gl.width() == 0 && !gl.create(width, height)) std::abort();
    if (gl.width() != width || gl.height() != height) gl.resize(width, height);
    return gl;
}

GLuint WhiteAtlas() {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    std::vector<uint8_t> white(512 * 256 * 4, 255);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 512, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

void Tick(SSMAIN& driver, int width, int height) {
    driver.Update(kFrame);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<float>(width) / static_cast<float>(height), 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    driver.Draw();
}

// A driver with the default settings but for the line count and mode, run
// for 20 s of frame time so that every line is live.
struct FullScene {
    FullScene(int lines, int mode, int width, int height) : width(width), height(height) {
        Context(width, height);
        srand(1);
        driver = std::make_unique<SSMAIN>(width);
        driver->Setup(true, width, height);
        atlas = WhiteAtlas();
        driver->CODE->GLYPHTEX = atlas;
        SETTINGS settings = Defaults().settings;
        settings.TOT_NUM_LINES = lines;
        settings.MODE = mode;
        driver->CODE->Setup(&settings);
        for (double t = 0; t < 20.0; t += 0.1) {
            driver->Update(0.1);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            gluPerspective(45.0, static_cast<float>(width) / height, 1.0, 100.0);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            driver->Draw();
        }
        glFinish();
    }
    ~FullScene() {
        driver.reset();
        glDeleteTextures(1, &atlas);
    }
    int width, height;
    std::unique_ptr<SSMAIN> driver;
    GLuint atlas = 0;
};

void BM_FieldMoveSort(benchmark::State& state) {
    FullScene scene(state.range(0), state.range(1), 640, 480);
    KORVELCODE& field = *scene.driver->CODE;
    field.FRAMETIME = kFrame;
    for (auto _ : state) field.Move();
    state.counters["lines"] = field.LIVELINES;
}
BENCHMARK(BM_FieldMoveSort)
    ->ArgNames({"lines", "flat"})
    ->Args({600, 0})
    ->Args({600, 1})
    ->Args({5000, 0})
    ->Args({5000, 1})
    ->Unit(benchmark::kMicrosecond);

void FrameBenchmark(benchmark::State& state, bool skipFaded) {
    const int width = state.range(2), height = state.range(3);
    FullScene scene(state.range(0), state.range(1), width, height);
    scene.driver->CODE->skipFadedCells = skipFaded;
    double quads = 0;
    for (auto _ : state) {
        Tick(*scene.driver, width, height);
        glFinish();
        quads += scene.driver->CODE->quadsSent;
    }
    state.counters["quads"] = quads / state.iterations();
}

void BM_Frame(benchmark::State& state) { FrameBenchmark(state, true); }
void BM_FrameSendingFadedCells(benchmark::State& state) { FrameBenchmark(state, false); }

void FrameSizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"lines", "flat", "w", "h"});
    for (int lines : {600, 5000})
        for (int flat : {0, 1})
            for (auto size : {std::pair{1280, 720}, std::pair{1920, 1080}})
                b->Args({lines, flat, size.first, size.second});
    b->Unit(benchmark::kMillisecond)->MinTime(1.0);
}
BENCHMARK(BM_Frame)->Apply(FrameSizes);
BENCHMARK(BM_FrameSendingFadedCells)
    ->ArgNames({"lines", "flat", "w", "h"})
    ->Args({600, 0, 1280, 720})
    ->Args({5000, 0, 1280, 720})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

}  // namespace

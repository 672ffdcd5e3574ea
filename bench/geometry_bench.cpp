// The two geometry functions that run tens of thousands of times a frame:
// the per-glyph sphere test and the per-line depth key.
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "geometry/frustum.h"
#include "platform/headless_gl_context.h"

namespace {

// Glyph centres spread over the field's box, a share of them outside the view.
std::vector<VECTOR3D> FieldPoints(size_t n) {
    srand(1);
    std::vector<VECTOR3D> points(n);
    for (auto& p : points)
        p = MakePoint((rand() % 5000 - 2500) / 100.0f, (rand() % 6000 - 3000) / 100.0f,
                      (rand() % 5000 - 2500) / 100.0f);
    return points;
}

// The planes of the 3-D view at rest, extracted from real GL matrices.
void LoadRestViewFrustum() {
    static HeadlessGLContext gl;
    if (!gl.create(64, 64)) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 4.0 / 3.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 25, 0, 0, -1, 0, 1, 0);
    ExtractFrustum();
}

void BM_SphereInFrustum(benchmark::State& state) {
    LoadRestViewFrustum();
    const auto points = FieldPoints(4096);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SphereInFrustum(points[i], 0.15f));
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SphereInFrustum);

void BM_DistanceBetweenVectors(benchmark::State& state) {
    const auto points = FieldPoints(4096);
    const VECTOR3D eye = MakePoint(0, 0, 25);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DistanceBetweenVectors(points[i], eye));
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DistanceBetweenVectors);

}  // namespace

#include "tests/support/scene_views.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

#include "geometry/frustum.h"

std::vector<int> Draws(unsigned seed, int n) {
    srand(seed);
    std::vector<int> values(n);
    for (int& v : values) v = rand();
    return values;
}

void LoadRestView(bool withFrustum) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 4.0 / 3.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 25, 0, 0, -1, 0, 1, 0);
    if (withFrustum) ExtractFrustum();
}

#include "scene/code_line.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "geometry/frustum.h"
#include "scene/code_field.h"

namespace {

// Corners in the order they are sent: top left, top right, bottom right, bottom left.
constexpr float kCornerX[4] = {-1, +1, +1, -1};
constexpr float kCornerY[4] = {+1, +1, -1, -1};

void NewGlyph(int32_t glyph[2]) {
    glyph[0] = rand() % 16;
    glyph[1] = rand() % 8;
}

}  // namespace

void ONELINE::Reset(KORVELCODE* field) {
    SIZE = static_cast<float>(field->GLYPHSIZE / 100.0);
    LENGTH = rand() % 30 + 10;
    SHOWN = 1;
    STEP = 0;
    POS.x = (rand() % 5000 - 2500) / 100.0f;
    POS.y = 25;
    POS.z = (rand() % 5000 - 2500) / 100.0f;

    if (field->IS2D) {
        // One of A columns 2 x SIZE apart, column B at x = 0.
        const int r = rand();
        const int A = static_cast<int>(0.25 / SIZE * 56);
        const int B = static_cast<int>(0.25 / SIZE * 28);
        POS.z = 0;
        POS.x = 2 * (static_cast<float>(r % A - B) * SIZE);
    }
    // Start on the view's upper edge, unless the camera swings (then the edge moves).
    if (field->IS2D || !field->CAMERA.CAMROTATION) POS = PointAtEdgeOfFrustum(3, POS);
    if (POS.y > 25) POS.y = 25;

    SPEED = (rand() % (field->FALLSPEED + 30)) / 10.0f + 2;

    for (int k = 0; k < LENGTH; ++k) {
        NewGlyph(GLYPHS[k]);
        CHANGING[k] = (rand() & 3) == 0 ? 1 : 0;
        MIRRORED[k] = rand() & 1;
    }
    SHADE = (rand() % 90 + 10) / 100.0f;
    DEPTH = static_cast<float>(DistanceBetweenVectors(POS, field->CAMERA.EYE));
}

void ONELINE::Move(KORVELCODE* field) {
    const double t = field->FRAMETIME;
    POS.y -= SPEED * t;
    if (!field->IS2D && field->FORWARDMOTION) POS.z += t * (field->FWDSPEED / 10);
    if (field->SIDEWAYSMOTION) POS.x += field->SIDESPEED * t;

    // The head drops a whole cell at a time; the shown cells keep their places.
    STEP += SPEED * t;
    const float pitch = 2 * SIZE;
    if (STEP > pitch) {
        const double steps = STEP / pitch;
        const int n = steps < INT_MAX ? static_cast<int>(steps) : INT_MAX;
        SHOWN = std::min(SHOWN + n, LENGTH);
        STEP -= n * 2 * SIZE;
        // n steps, each moving every cell one place toward the tail and drawing a new
        // head, done at once: old cell k ends at k + n, and the head of step s (1 to n)
        // at n - s. Heads pushed past the tail are still drawn, so the draws stay the same.
        for (int k = LENGTH - 1; k >= n; --k) {
            GLYPHS[k][0] = GLYPHS[k - n][0];
            GLYPHS[k][1] = GLYPHS[k - n][1];
            CHANGING[k] = CHANGING[k - n];
            MIRRORED[k] = MIRRORED[k - n];
        }
        for (int step = 1; step <= n; ++step) {
            int32_t glyph[2];
            NewGlyph(glyph);
            const int32_t changing = rand() % 5 == 2 ? 1 : 0;
            const int32_t mirrored = rand() & 1;
            const int k = n - step;
            if (k < LENGTH) {
                GLYPHS[k][0] = glyph[0];
                GLYPHS[k][1] = glyph[1];
                CHANGING[k] = changing;
                MIRRORED[k] = mirrored;
            }
        }
    }

    if (POS.z > 25)
        POS.z -= 50;
    else if (POS.z < -25)
        POS.z += 50;
    if (POS.x > 25) POS.x -= 50;
    if (POS.x < -25) POS.x += 50;

    DEPTH = static_cast<float>(DistanceBetweenVectors(POS, field->CAMERA.EYE));

    const float top = POS.y + 2 * SIZE * SHOWN;
    if (!field->IS2D && field->CAMERA.CAMROTATION) {
        if (top < -25) Reset(field);
    } else if (SphereInsideSinglePlaneFrustum(2, MakePoint(POS.x, top, POS.z), SIZE) != true) {
        Reset(field);
    }
}

void ONELINE::Draw(KORVELCODE* field) {
    CHANGETIMER -= field->FRAMETIME;
    const float cellW = field->CELLW, cellH = field->CELLH;
    const float cornerS[4] = {0, cellW, cellW, 0};
    const float cornerT[4] = {0, 0, cellH, cellH};

    for (int k = 0; k < SHOWN; ++k) {
        if (SphereInFrustum(MakePoint(POS.x, POS.y + 2 * SIZE * k + STEP, POS.z), SIZE) != true) continue;
        if (CHANGING[k] && CHANGETIMER < 0) NewGlyph(GLYPHS[k]);

        float a = 1, d = 1;
        if (!field->IS2D) d = (2700 - DEPTH) / 2700;
        if (k > LENGTH - 9) a = (LENGTH - k) / 10.0f;
        if (field->IS2D && field->SHADED2D) a = a * SHADE;
        a = a * d;
        // Faded to nothing: the quad would change no pixel, so it need cost no fill.
        if (a <= 0 && field->skipFadedCells) continue;

        const colour4d& colour = k == 0 ? field->Col2 : field->Col1;
        glColor4f(colour.r, colour.g, colour.b, a);
        const float s0 = GLYPHS[k][0] * cellW;
        const float t0 = GLYPHS[k][1] * cellH;
        const float y = POS.y + STEP + 2 * SIZE * k;
        for (int i = 0; i < 4; ++i) {
            const float s = MIRRORED[k] ? s0 + cellW - cornerS[i] : s0 + cornerS[i];
            const float t = t0 + cornerT[i];
            glTexCoord2f(s, 1 - t);
            glVertex3f(POS.x + SIZE * kCornerX[i], y + SIZE * kCornerY[i], POS.z);
        }
        ++field->quadsSent;
    }

    if (CHANGETIMER < 0) CHANGETIMER = (rand() % 40) / 100.0f;
}

#include "scene/code_field.h"

#include <GL/gl.h>

#include <cstdlib>
#include <new>

#include "diag/error_reporters.h"
#include "geometry/frustum.h"

KORVELCODE::KORVELCODE()
    : IS2D(false),
      GLYPHSIZE(15),
      TOT_NUM_LINES(600),
      FORWARDMOTION(true),
      SIDEWAYSMOTION(false),
      FALLSPEED(100),
      FORWARDSPEED(20),
      SHADED2D(true),
      RANDFORWARDSPEED(true),
      LIVELINES(0.0f),
      VIEWWIDTH(0.0f),
      VIEWHEIGHT(0.0f),
      SHOWCLOCK(false),
      CLOCK12HR(false),
      CLOCKSIZE(90),
      LINES(nullptr),
      SIDESPEED(0.0f),
      SIDETARGET(0.0f),
      SIDETIMER(0.0f),
      FWDSPEED(0.0f),
      FWDTIMER(0.0f),
      FRAMETIME(0.0),
      CAMERA(),
      GLYPHTEX(0),
      CELLW(0.0625f),
      CELLH(0.125f) {}

KORVELCODE::~KORVELCODE() { Cleanup(); }

void KORVELCODE::Setup(const SETTINGS* settings) {
    if (settings->MODE <= 1)
        IS2D = settings->MODE != 0;
    else
        IS2D = rand() & 1;

    GLYPHSIZE = settings->GLYPHSIZE;
    TOT_NUM_LINES = settings->TOT_NUM_LINES;
    FORWARDMOTION = settings->FORWARDMOTION;
    SIDEWAYSMOTION = settings->SIDEWAYSMOTION;
    FALLSPEED = settings->FALLSPEED;
    FORWARDSPEED = settings->FORWARDSPEED;
    Col1 = settings->Col1;
    Col2 = settings->Col2;
    BGCol = settings->BGCol;
    SHADED2D = settings->SHADED2D;
    RANDFORWARDSPEED = settings->RANDFORWARDSPEED;
    SHOWCLOCK = settings->SHOWCLOCK;
    CLOCK12HR = settings->CLOCK12HR;
    CLOCKSIZE = settings->CLOCKSIZE;
    CAMERA.CAMROTATION = settings->CAMROTATION;
    if (IS2D) CAMERA.CAMROTATION = false;

    // Without lines the field still draws its background and overlay: hold the
    // count at zero so nothing reaches for the missing array.
    Cleanup();
    if (TOT_NUM_LINES > 0) LINES = new (std::nothrow) ONELINE[TOT_NUM_LINES]();
    if (TOT_NUM_LINES < 0 || (TOT_NUM_LINES > 0 && LINES == nullptr)) {
        TOT_NUM_LINES = 0;
        ERRORCLOSE("Unable to allocate memory!");
        return;
    }

    for (int i = 0; i < TOT_NUM_LINES; ++i) {
        LINES[i].Reset(this);
        LINES[i].POS.y = 25.0f;
    }

    const int N = static_cast<int>(0.25 / (GLYPHSIZE / 100.0) * 56);
    VIEWWIDTH = N;
    VIEWHEIGHT = static_cast<int>(N * 0.75);
}

void KORVELCODE::Cleanup() {
    delete[] LINES;
    LINES = nullptr;
}

namespace {

// How much of the gap to its target a speed closes this frame: the frame time. A frame of
// more than 2 s would swing the speed ever further past its target (until it overflows and
// stays NaN); such a frame closes the gap instead.
double EasingStep(double frameTime) { return frameTime > 2 ? 1.0 : frameTime; }

}  // namespace

void KORVELCODE::Move() {
    const float n = TOT_NUM_LINES;
    if (LIVELINES < n) {
        LIVELINES += n / 10 * FRAMETIME;
        if (LIVELINES > n) LIVELINES = n;
    }

    if (SIDEWAYSMOTION && !IS2D) {
        SIDETIMER -= FRAMETIME;
        if (SIDETIMER < 0) {
            SIDETARGET = (rand() % 2000 - 1000) / 100.0f;
            SIDETIMER = (rand() % 500) / 100.0f;
        }
        SIDESPEED += (SIDETARGET - SIDESPEED) * EasingStep(FRAMETIME);
    }

    if (FORWARDMOTION) {
        if (RANDFORWARDSPEED) {
            FWDTIMER -= FRAMETIME;
            if (FWDTIMER < 0) {
                FORWARDSPEED = rand() % 120 - 60;
                FWDTIMER = (rand() % 1500) / 100.0f;
            }
        }
        FWDSPEED += (FORWARDSPEED - FWDSPEED) * EasingStep(FRAMETIME);
    }

    // A field drawn before its Setup has no array yet, whatever its count says.
    if (LIVELINES > 0 && LINES)
        for (int i = 0; i < LIVELINES; ++i) LINES[i].Move(this);

    Sort();
}

void KORVELCODE::Sort() {
    if (IS2D) return;
    const int count = static_cast<int>(LIVELINES);
    if (count > 0 && LINES) qsort(LINES, count, sizeof(ONELINE), compare_depth);
}

void KORVELCODE::Draw() {
    if (IS2D) {
        // A minimised view has no extent: a projection of it would be singular.
        if (!(VIEWWIDTH > 0 && VIEWHEIGHT > 0)) return;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, VIEWWIDTH, 0, VIEWHEIGHT, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(VIEWWIDTH * 0.5f, VIEWHEIGHT * 0.5f, 0);
        const float g = static_cast<float>(GLYPHSIZE / 100.0);
        const int M = static_cast<int>(0.25 / g * 56);
        const float s = VIEWWIDTH / (2 * (g * M));
        glScalef(s, s, 1);
    }

    ExtractFrustum();
    Move();

    quadsSent = 0;
    glPushMatrix();
    glColor4f(1, 1, 1, 1);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, GLYPHTEX);
    glBegin(GL_QUADS);
    if (LIVELINES > 0 && LINES)
        for (int i = 0; i < LIVELINES; ++i) LINES[i].Draw(this);
    glEnd();
    glDisable(GL_BLEND);
    glPopMatrix();
}

void KORVELCODE::BuildFont(int32_t, int32_t, int32_t, int32_t) {}

int compare_depth(const void* a, const void* b) {
    const float p = static_cast<const ONELINE*>(a)->DEPTH;
    const float q = static_cast<const ONELINE*>(b)->DEPTH;
    if (p < q) return 1;
    if (p > q) return -1;
    return 0;
}

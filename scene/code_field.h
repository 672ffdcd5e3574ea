#pragma once
// The code field: every falling line, the camera that looks at them, and the
// parameters the lines share. Three-dimensional mode puts the lines in a box
// 50 units wide and deep; flat mode lays them on a grid of columns at z = 0.
#include <cstdint>

#include "front/colour4d.h"
#include "front/settings.h"
#include "resources/texture.h"
#include "scene/camera.h"
#include "scene/code_line.h"

class KORVELCODE {
public:
    KORVELCODE();
    ~KORVELCODE();
    KORVELCODE(const KORVELCODE&) = delete;
    KORVELCODE& operator=(const KORVELCODE&) = delete;

    // Copies the settings, creates the lines and places them at height 25.
    void Setup(const SETTINGS* settings);
    void Cleanup();
    // One frame: projection (flat mode), frustum, move, sort, one batch of quads.
    void Draw();
    void Move();
    void Sort();
    void BuildFont(int32_t a, int32_t b, int32_t c, int32_t d);

    bool IS2D;
    int32_t GLYPHSIZE;
    int32_t TOT_NUM_LINES;
    bool FORWARDMOTION;
    bool SIDEWAYSMOTION;
    int32_t FALLSPEED;
    int32_t FORWARDSPEED;
    colour4d Col1;
    colour4d Col2;
    colour4d BGCol;
    bool SHADED2D;
    bool RANDFORWARDSPEED;
    float LIVELINES;
    float VIEWWIDTH;
    float VIEWHEIGHT;
    bool SHOWCLOCK;
    bool CLOCK12HR;
    uint32_t CLOCKSIZE;
    ONELINE* LINES;
    float SIDESPEED;
    float SIDETARGET;
    float SIDETIMER;
    float FWDSPEED;
    float FWDTIMER;
    double FRAMETIME;
    ONECAMERA CAMERA;
    Texture FONT;
    uint32_t GLYPHTEX;
    float CELLW;
    float CELLH;

    // Not part of the effect: glyph quads sent by the last Draw, and whether
    // cells faded to alpha 0 are left out (they change no pixel). For the benchmarks.
    uint32_t quadsSent = 0;
    bool skipFadedCells = true;
};

// qsort comparison: the larger DEPTH sorts first, so far lines are drawn first.
int compare_depth(const void* a, const void* b);

#pragma once
// One falling column of glyph cells. It is born at the top of the view with a
// single glyph and grows downward one cell at a time while the cells already
// shown stay put in space; once full, its top cell goes at each step.
#include <cstdint>

#include "geometry/vector3d.h"

class KORVELCODE;

class ONELINE {
public:
    static constexpr int MAXCELLS = 40;

    // Birth: a new place, length, glyphs, speed and shade.
    void Reset(KORVELCODE* field);
    // One frame: fall, drift, cell steps, wrap in the box, depth, death.
    void Move(KORVELCODE* field);
    // One frame: flicker and the quads of every visible cell, inside the
    // field's glBegin(GL_QUADS) bracket.
    void Draw(KORVELCODE* field);

    VECTOR3D POS;                 // x column, y head centre before STEP, z depth
    int32_t LENGTH = 0;           // cells when full, 10 to 39
    int32_t SHOWN = 0;            // cells shown, 1 to LENGTH
    float STEP = 0.0f;            // fallen since the last cell step
    int32_t GLYPHS[MAXCELLS][2] = {};   // atlas column and row; entry 0 is the head
    int32_t CHANGING[MAXCELLS] = {};    // flickers when the change timer runs out
    float SPEED = 0.0f;           // units per second
    float SIZE = 0.0f;            // half the side of a glyph quad
    float CHANGETIMER = 0.0f;     // survives Reset
    int32_t MIRRORED[MAXCELLS] = {};
    float SHADE = 0.0f;           // own brightness in shaded flat mode
    float DEPTH = 0.0f;           // squared distance from the camera's eye: the sort key
};

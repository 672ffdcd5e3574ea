#include "scene/scene_driver.h"

#include <GL/gl.h>

#include <cstdlib>

SSMAIN::SSMAIN(int32_t viewWidth)
    : TOTALTIME(0.0),
      FRAMETIME(0.0),
      WIDTH(0),
      HEIGHT(0),
      PREVIEW(false),
      BANNERTIMER(15.0f),
      BANNERSHOWN(false),
      BANNERATTOP(false),
      BANNERPOS(Make2DPoint(viewWidth - 256, -35.0f)),
      BANNERSTART(BANNERPOS),
      BANNERSLOT(4 + rand() % 2),
      INTRODONE(false),
      INTROSLIDEA(0.0f),
      INTROSLIDEB(1.0f),
      INTROFADEA(-5.0f),
      INTROFADEB(-1.0f),
      NUMTEXTURES(0),
      TEXTURES(nullptr),
      CODE(nullptr) {}

SSMAIN::~SSMAIN() { Cleanup(); }

void SSMAIN::DiscardCode() {
    if (!CODE) return;
    CODE->Cleanup();
    delete CODE;  // also releases the field's FONT record
    CODE = nullptr;
}

void SSMAIN::ReleaseTextures() {
    delete[] TEXTURES;
    TEXTURES = nullptr;
}

void SSMAIN::Setup(bool preview, int32_t width, int32_t height) {
    PREVIEW = preview;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DiscardCode();
    CODE = new KORVELCODE();
    ReleaseTextures();
    TEXTURES = new Texture[EMPTYSLOTS];
    SetSize(width, height);
}

void SSMAIN::Cleanup() {
    DiscardCode();
    ReleaseTextures();
}

void SSMAIN::SetSize(int32_t width, int32_t height) {
    WIDTH = width;
    HEIGHT = height;
    CODE->VIEWWIDTH = width;
    CODE->VIEWHEIGHT = height;
}

void SSMAIN::Update(double seconds) {
    FRAMETIME = seconds;
    TOTALTIME += seconds;
    CODE->FRAMETIME = seconds;
}

void SSMAIN::Draw() {
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // A minimised view: nothing to draw into, and its projection would be singular.
    if (WIDTH <= 0 || HEIGHT <= 0) return;
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    CODE->CAMERA.Move(FRAMETIME);
    CODE->Draw();
    glEnable(GL_DEPTH_TEST);
    if (!PREVIEW) DoOverlay();
    glDisable(GL_TEXTURE_2D);
}

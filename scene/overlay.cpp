// The overlay over the code field: sliding banners in pixel space, then the
// clock and the intro in a 1024 x 768 virtual screen.
#include <GL/gl.h>

#include <cstdlib>

#include "scene/clock.h"
#include "scene/scene_driver.h"

namespace {

// One textured quad from (0, 0) to (width, height), texture corners (0, 0) to (1, 1).
void BannerQuad(float width, float height) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(0, 0, 0);
    glTexCoord2f(1, 0);
    glVertex3f(width, 0, 0);
    glTexCoord2f(1, 1);
    glVertex3f(width, height, 0);
    glTexCoord2f(0, 1);
    glVertex3f(0, height, 0);
    glEnd();
}

// An intro picture: 256 x 2*halfHeight units around the origin (scaled by the caller).
void IntroQuad(float halfHeight) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-128, -halfHeight, 0);
    glTexCoord2f(1, 0);
    glVertex3f(128, -halfHeight, 0);
    glTexCoord2f(1, 1);
    glVertex3f(128, halfHeight, 0);
    glTexCoord2f(0, 1);
    glVertex3f(-128, halfHeight, 0);
    glEnd();
}

}  // namespace

uint32_t SSMAIN::SlotTexture(uint32_t slot) const { return TEXTURES ? TEXTURES[slot].glName : 0; }

void SSMAIN::ClockCells(int hour, int minute, int second, bool twelveHour, int cells[8]) {
    if (twelveHour) {
        if (hour > 12) hour -= 12;
        if (hour == 0) hour = 12;
    }
    const int values[8] = {hour / 10, hour % 10, 10, minute / 10, minute % 10, 10, second / 10, second % 10};
    for (int i = 0; i < 8; ++i) cells[i] = values[i];
}

void SSMAIN::DoOverlay() {
    BANNERTIMER -= FRAMETIME;
    if (BANNERTIMER < 0) {
        BANNERTIMER = 20.0f;
        if (!BANNERSHOWN) {
            BANNERSLOT = 4 + rand() % 2;
            BANNERPOS.x = rand() % 2 == 0 ? 0 : WIDTH - 256;
            BANNERATTOP = !BANNERATTOP;
            BANNERPOS.y = BANNERATTOP ? HEIGHT + 40 : -40.0f;
        }
        BANNERSHOWN = !BANNERSHOWN;
    }

    float target;
    if (BANNERSHOWN)
        target = BANNERATTOP ? HEIGHT - 40 : 5.0f;
    else
        target = BANNERATTOP ? HEIGHT + 40 : -40.0f;
    BANNERPOS.y = BANNERPOS.y + (target - BANNERPOS.y) * FRAMETIME;

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, WIDTH, 0, HEIGHT, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glNormal3f(0, 0, 1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);

    glPushMatrix();
    glTranslatef(BANNERPOS.x, BANNERPOS.y, 0);
    glBindTexture(GL_TEXTURE_2D, SlotTexture(1));
    BannerQuad(256, 32);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(WIDTH * 0.5 - 256, BANNERPOS.y, 0);
    glBindTexture(GL_TEXTURE_2D, SlotTexture(BANNERSLOT));
    BannerQuad(512, 32);
    glPopMatrix();

    glDisable(GL_BLEND);
    // From here on the view is 1024 x 768 units, whatever its size.
    glScalef(WIDTH * (1.0 / 1024), HEIGHT / 768.0, 1);

    if (CODE && CODE->SHOWCLOCK) {
        int hour = 0, minute = 0, second = 0;
        Clock(&hour, &minute, &second);
        int cells[8];
        ClockCells(hour, minute, second, CODE->CLOCK12HR, cells);

        glEnable(GL_BLEND);
        glColor4f(CODE->Col2.r, CODE->Col2.g, CODE->Col2.b, 0.75f);
        glBindTexture(GL_TEXTURE_2D, SlotTexture(0));
        const float S = static_cast<float>(CODE->CLOCKSIZE);
        const float cellW = CODE->CELLW, cellH = CODE->CELLH;
        glPushMatrix();
        glTranslatef(512 - S * 4.2 * 0.75, 384, 0);
        for (int c : cells) {
            glBegin(GL_QUADS);
            glTexCoord2f(cellW * c, 1);
            glVertex3f(0, S / 2, 0);
            glTexCoord2f(cellW * (c + 1), 1);
            glVertex3f(S, S / 2, 0);
            glTexCoord2f(cellW * (c + 1), 1 - cellH);
            glVertex3f(S, -S / 2, 0);
            glTexCoord2f(cellW * c, 1 - cellH);
            glVertex3f(0, -S / 2, 0);
            glEnd();
            glTranslatef(S * 0.75, 0, 0);
        }
        glPopMatrix();
        glDisable(GL_BLEND);
        glColor4f(1, 1, 1, 1);
    }

    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    if (!INTRODONE) DoIntro();
}

void SSMAIN::DoIntro() {
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);

    // One of the two opacities changes a frame: A fades in, then B; after 12 s, A out, then B.
    if (TOTALTIME < 12.0) {
        if (INTROFADEA < 1.0f)
            INTROFADEA += FRAMETIME;
        else if (INTROFADEB < 1.0f)
            INTROFADEB += FRAMETIME;
    } else {
        if (INTROFADEA > 0)
            INTROFADEA -= FRAMETIME;
        else if (INTROFADEB > 0)
            INTROFADEB -= FRAMETIME;
        else
            INTRODONE = true;
    }

    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, SlotTexture(2));
    glTranslatef(512, 614.4f, 0);
    glColor4f(1, 1, 1, INTROFADEA);
    glScalef(2, 2, 1);
    IntroQuad(32);
    glPopMatrix();

    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, SlotTexture(3));
    glTranslatef(1024 - 1024 * INTROSLIDEB * 0.5, 192, 0);
    glColor4f(1, 1, 1, INTROFADEB);
    glScalef(2, 2, 1);
    IntroQuad(64);
    glPopMatrix();

    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPopMatrix();
}

#include "scene/scene_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "geometry/frustum.h"
#include "tests/support/gl_test.h"

namespace {

class SceneDriverTest : public GLTest {};

TEST_F(SceneDriverTest, StartingValuesDrawTheBannerSlot) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        srand(seed);
        const int r = rand();
        srand(seed);
        SSMAIN driver(1024);
        EXPECT_EQ(driver.BANNERSLOT, 4u + r % 2);
        EXPECT_EQ(driver.BANNERPOS.x, 1024 - 256);
        EXPECT_EQ(driver.BANNERPOS.y, -35.0f);
        EXPECT_EQ(driver.BANNERSTART.x, driver.BANNERPOS.x);
        EXPECT_EQ(driver.BANNERTIMER, 15.0f);
        EXPECT_EQ(driver.INTROFADEA, -5.0f);
        EXPECT_EQ(driver.INTROFADEB, -1.0f);
        EXPECT_EQ(driver.INTROSLIDEB, 1.0f);
        EXPECT_FALSE(driver.BANNERSHOWN || driver.BANNERATTOP || driver.INTRODONE || driver.PREVIEW);
        EXPECT_EQ(driver.TEXTURES, nullptr);
        EXPECT_EQ(driver.CODE, nullptr);
    }
}

TEST_F(SceneDriverTest, SetupMakesAFieldSixEmptySlotsAndRecordsTheSize) {
    SSMAIN driver(800);
    driver.Setup(true, 800, 600);
    EXPECT_TRUE(driver.PREVIEW);
    ASSERT_NE(driver.CODE, nullptr);
    ASSERT_NE(driver.TEXTURES, nullptr);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(driver.TEXTURES[i].pixels, nullptr);
        EXPECT_EQ(driver.TEXTURES[i].glName, 0u);
    }
    EXPECT_EQ(driver.WIDTH, 800);
    EXPECT_EQ(driver.HEIGHT, 600);
    EXPECT_EQ(driver.CODE->VIEWWIDTH, 800.0f);
    EXPECT_EQ(driver.CODE->VIEWHEIGHT, 600.0f);
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(SceneDriverTest, UpdateOnlyRecordsTime) {
    SSMAIN driver(640);
    driver.Setup(false, 640, 480);
    driver.Update(0.25);
    driver.Update(0.25);
    EXPECT_EQ(driver.TOTALTIME, 0.5);
    EXPECT_EQ(driver.FRAMETIME, 0.25);
    EXPECT_EQ(driver.CODE->FRAMETIME, 0.25);
}

TEST_F(SceneDriverTest, SetupAgainReplacesFieldAndSlotsButKeepsTheRest) {
    SSMAIN driver(640);
    driver.Setup(false, 640, 480);
    driver.Update(3.0);
    driver.BANNERTIMER = 7;
    driver.INTROFADEA = 0.5f;
    // A slot that holds real pixels and a real texture name.
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const uint8_t white[4] = {255, 255, 255, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    driver.TEXTURES[0].glName = name;
    driver.TEXTURES[0].pixels = static_cast<uint8_t*>(std::malloc(16));
    ASSERT_TRUE(glIsTexture(name));

    driver.Setup(false, 320, 200);
    EXPECT_FALSE(glIsTexture(name));  // the old slots were destroyed with their names
    EXPECT_EQ(driver.TEXTURES[0].glName, 0u);
    EXPECT_EQ(driver.TOTALTIME, 3.0);
    EXPECT_EQ(driver.BANNERTIMER, 7.0f);
    EXPECT_EQ(driver.INTROFADEA, 0.5f);
    EXPECT_EQ(driver.CODE->VIEWWIDTH, 320.0f);
}

TEST_F(SceneDriverTest, CleanupTwiceIsHarmless) {
    SSMAIN driver(640);
    driver.Setup(false, 640, 480);
    driver.Cleanup();
    EXPECT_EQ(driver.CODE, nullptr);
    EXPECT_EQ(driver.TEXTURES, nullptr);
    driver.Cleanup();
    EXPECT_EQ(driver.CODE, nullptr);
}

TEST_F(SceneDriverTest, DrawLeavesTheStateItPromises) {
    srand(5);
    SSMAIN driver(256);
    driver.Setup(true, 256, 256);  // the field's frame alone; the overlay has tests of its own
    SETTINGS s;
    s.GLYPHSIZE = 15;
    s.TOT_NUM_LINES = 10;
    s.FALLSPEED = 80;
    s.CAMROTATION = true;
    driver.CODE->Setup(&s);
    driver.CODE->CAMERA.PHASETIMER = 100;
    // Before any Update the camera moves by 0 seconds.
    driver.Draw();
    EXPECT_EQ(driver.CODE->CAMERA.PHASETIMER, 100.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(SceneDriverTest, ZeroSizedViewDrawsNothingAndCarriesOnWhenTheSizeComesBack) {
    SSMAIN driver(640);
    driver.Setup(false, 0, 480);
    SETTINGS s;
    s.GLYPHSIZE = 15;
    s.TOT_NUM_LINES = 50;
    s.FALLSPEED = 80;
    driver.CODE->Setup(&s);
    driver.SetSize(0, 480);
    for (auto& plane : frustum) std::fill(plane, plane + 4, 0.0f);
    driver.Update(0.5);
    driver.Draw();
    EXPECT_EQ(driver.CODE->LIVELINES, 0.0f);
    for (const auto& plane : frustum)
        for (float c : plane) EXPECT_TRUE(std::isfinite(c));

    driver.SetSize(640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 640.0f / 480.0f, 1, 100);
    glMatrixMode(GL_MODELVIEW);
    driver.Draw();
    EXPECT_FLOAT_EQ(driver.CODE->LIVELINES, 2.5f);
    for (const auto& plane : frustum)
        for (float c : plane) EXPECT_TRUE(std::isfinite(c));
}

}  // namespace

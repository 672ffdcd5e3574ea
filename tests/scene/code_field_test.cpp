#include "scene/code_field.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "geometry/frustum.h"
#include "tests/support/gl_test.h"
#include "tests/support/scene_views.h"

namespace {

SETTINGS Settings(uint32_t mode, int lines = 600, int glyphSize = 15) {
    SETTINGS s;
    s.MODE = mode;
    s.GLYPHSIZE = glyphSize;
    s.TOT_NUM_LINES = lines;
    s.FALLSPEED = 80;
    s.FORWARDSPEED = 20;
    s.FORWARDMOTION = true;
    s.RANDFORWARDSPEED = true;
    s.CAMROTATION = true;
    s.SHADED2D = true;
    s.CLOCKSIZE = 90;
    s.Col1 = MakeColour(0, 0.7f, 0, 0);
    s.Col2 = MakeColour(0.4f, 1, 0.8f, 0);
    return s;
}

class CodeFieldTest : public GLTest {
protected:
};

TEST_F(CodeFieldTest, ConstructorDefaults) {
    KORVELCODE field;
    EXPECT_FALSE(field.IS2D);
    EXPECT_EQ(field.GLYPHSIZE, 15);
    EXPECT_EQ(field.TOT_NUM_LINES, 600);
    EXPECT_EQ(field.FALLSPEED, 100);
    EXPECT_EQ(field.FORWARDSPEED, 20);
    EXPECT_TRUE(field.FORWARDMOTION && field.SHADED2D && field.RANDFORWARDSPEED);
    EXPECT_FALSE(field.SIDEWAYSMOTION || field.SHOWCLOCK || field.CLOCK12HR);
    EXPECT_EQ(field.CLOCKSIZE, 90u);
    EXPECT_EQ(field.LINES, nullptr);
    EXPECT_EQ(field.LIVELINES, 0.0f);
    EXPECT_EQ(field.GLYPHTEX, 0u);
    EXPECT_EQ(field.CELLW, 0.0625f);
    EXPECT_EQ(field.CELLH, 0.125f);
    EXPECT_EQ(field.FONT.pixels, nullptr);
    EXPECT_EQ(field.FONT.glName, 0u);
}

TEST_F(CodeFieldTest, ModeChoiceComesBeforeEveryLineDraw) {
    const struct {
        uint32_t mode;
        bool random;
        bool flat;
    } cases[] = {{0, false, false}, {1, false, true}, {2, true, false}, {5, true, false}, {UINT_MAX, true, false}};
    const auto r = Draws(17, 5);  // the camera's three, then the field's
    for (const auto& c : cases) {
        srand(17);
        KORVELCODE field;
        SETTINGS s = Settings(c.mode, 3);
        s.CAMROTATION = true;
        field.Setup(&s);
        EXPECT_EQ(field.IS2D, c.random ? (r[3] & 1) != 0 : c.flat) << c.mode;
        // The first line's first draw follows the mode's.
        EXPECT_EQ(field.LINES[0].LENGTH, r[c.random ? 4 : 3] % 30 + 10) << c.mode;
    }
}

TEST_F(CodeFieldTest, FlatModeTurnsRotationOffAndSortLeavesTheOrder) {
    KORVELCODE field;
    SETTINGS s = Settings(1, 50);
    field.Setup(&s);
    EXPECT_FALSE(field.CAMERA.CAMROTATION);
    std::vector<float> xs;
    for (int i = 0; i < 50; ++i) xs.push_back(field.LINES[i].POS.x);
    field.LIVELINES = 50;
    field.Sort();
    for (int i = 0; i < 50; ++i) EXPECT_EQ(field.LINES[i].POS.x, xs[i]);
}

TEST_F(CodeFieldTest, SetupCopiesPlacesLinesAt25AndSetsTheFlatExtents) {
    const struct {
        int glyphSize;
        float width, height;
    } cases[] = {{15, 93, 69}, {20, 70, 52}, {25, 56, 42}};
    for (const auto& c : cases) {
        KORVELCODE field;
        field.VIEWWIDTH = 640;
        field.VIEWHEIGHT = 480;
        SETTINGS s = Settings(0, 40, c.glyphSize);
        s.SHOWCLOCK = true;
        s.CLOCKSIZE = 120;
        s.BGCol = MakeColour(0.1f, 0.2f, 0.3f, 0.4f);
        field.Setup(&s);
        EXPECT_EQ(field.VIEWWIDTH, c.width) << c.glyphSize;
        EXPECT_EQ(field.VIEWHEIGHT, c.height) << c.glyphSize;
        EXPECT_EQ(field.GLYPHSIZE, c.glyphSize);
        EXPECT_TRUE(field.SHOWCLOCK);
        EXPECT_EQ(field.CLOCKSIZE, 120u);
        EXPECT_EQ(field.BGCol.a, 0.4f);  // colours copied whole
        ASSERT_NE(field.LINES, nullptr);
        for (int i = 0; i < 40; ++i) EXPECT_EQ(field.LINES[i].POS.y, 25.0f);
    }
}

TEST_F(CodeFieldTest, FlatProjectionSpansTheSameWorldWidthWhateverTheViewSize) {
    const struct {
        int glyphSize;
        int M;
    } cases[] = {{15, 93}, {20, 69}, {25, 56}};  // 20: 0.2f makes 0.25 / g * 56 fall below 70
    for (const auto& c : cases) {
        for (bool resized : {false, true}) {
            KORVELCODE field;
            SETTINGS s = Settings(1, 0, c.glyphSize);
            field.Setup(&s);
            if (resized) {
                field.VIEWWIDTH = 1024;
                field.VIEWHEIGHT = 768;
            }
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            field.Draw();
            const float g = c.glyphSize / 100.0f;
            const float half = g * c.M;
            // The frustum is extracted from the flat matrices: right edge at +g*M, top at 3/4 of it.
            EXPECT_NEAR(frustum[0][3], half, 1e-4) << c.glyphSize;
            EXPECT_NEAR(frustum[3][3], half * field.VIEWHEIGHT / field.VIEWWIDTH, 1e-4) << c.glyphSize;
            const auto projection = matrix(GL_PROJECTION_MATRIX);
            EXPECT_NEAR(projection[0], 2 / field.VIEWWIDTH, 1e-7);
        }
    }
    EXPECT_NEAR(frustum[0][3], 0.25f * 56, 0.001);
}

TEST_F(CodeFieldTest, LiveLinesRampOverTenSecondsOfFrameTime) {
    LoadRestView(true);
    KORVELCODE field;
    SETTINGS s = Settings(0, 600);
    field.Setup(&s);
    field.FRAMETIME = 0.1;
    field.Move();
    EXPECT_FLOAT_EQ(field.LIVELINES, 6);
    for (int frame = 2; frame <= 50; ++frame) field.Move();
    EXPECT_NEAR(field.LIVELINES, 300, 1e-3);
    for (int frame = 51; frame <= 100; ++frame) field.Move();
    EXPECT_EQ(field.LIVELINES, 600.0f);
    field.Move();
    EXPECT_EQ(field.LIVELINES, 600.0f);
}

TEST_F(CodeFieldTest, PartlyLiveLineMovesButTakesNoPartInTheSort) {
    LoadRestView(true);
    KORVELCODE field;
    SETTINGS s = Settings(0, 7);
    s.FORWARDMOTION = false;
    field.Setup(&s);
    for (int i = 0; i < 7; ++i) {
        field.LINES[i].POS = MakePoint(0, 0, 4.0f - i);  // nearest the eye first
        field.LINES[i].SPEED = 1;
        field.LINES[i].LENGTH = 30;
    }
    field.LINES[5].POS.z = -20;  // the farthest, but index 5 is only partly live
    field.LIVELINES = 5.5f;
    field.FRAMETIME = 0.1;
    field.Move();
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(field.LINES[i].POS.y, -0.1f, 1e-6) << i;
    EXPECT_EQ(field.LINES[6].POS.y, 0.0f);  // not live: not moved
    // Lines 0 to 4 are sorted farthest first; line 5 keeps its place.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(field.LINES[i].POS.z, static_cast<float>(i));
    EXPECT_EQ(field.LINES[5].POS.z, -20.0f);
}

TEST_F(CodeFieldTest, SortPutsTheFarthestFirst) {
    LoadRestView(true);
    KORVELCODE field;
    SETTINGS s = Settings(0, 100);
    field.Setup(&s);
    field.LIVELINES = 100;
    field.FRAMETIME = 0.01;
    field.Move();
    for (int i = 1; i < 100; ++i) EXPECT_GE(field.LINES[i - 1].DEPTH, field.LINES[i].DEPTH);
}

TEST(CompareDepth, LargerDepthFirstAndNaNIsEqual) {
    ONELINE a, b;
    a.DEPTH = 3;
    b.DEPTH = 5;
    EXPECT_EQ(compare_depth(&a, &b), 1);
    EXPECT_EQ(compare_depth(&b, &a), -1);
    EXPECT_EQ(compare_depth(&a, &a), 0);
    b.DEPTH = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(compare_depth(&a, &b), 0);
    EXPECT_EQ(compare_depth(&b, &a), 0);
}

TEST_F(CodeFieldTest, DriftTimersDrawOnTheFirstFrameWithTime) {
    LoadRestView(true);
    KORVELCODE field;
    SETTINGS s = Settings(0, 0);
    s.SIDEWAYSMOTION = true;
    field.Setup(&s);

    const auto r = Draws(40, 5);
    srand(40);
    field.FRAMETIME = 0;  // no time: no timer runs out, nothing is drawn
    field.Move();
    EXPECT_EQ(rand(), r[0]);

    srand(40);
    field.FRAMETIME = 0.5;
    field.Move();
    EXPECT_EQ(field.SIDETARGET, (r[0] % 2000 - 1000) / 100.0f);
    EXPECT_EQ(field.SIDETIMER, (r[1] % 500) / 100.0f);
    EXPECT_FLOAT_EQ(field.SIDESPEED, field.SIDETARGET * 0.5f);
    EXPECT_EQ(field.FORWARDSPEED, r[2] % 120 - 60);
    EXPECT_GE(field.FORWARDSPEED, -60);
    EXPECT_LE(field.FORWARDSPEED, 59);
    EXPECT_EQ(field.FWDTIMER, (r[3] % 1500) / 100.0f);
    EXPECT_FLOAT_EQ(field.FWDSPEED, field.FORWARDSPEED * 0.5f);
}

TEST_F(CodeFieldTest, DriftSpeedsSurviveFramesOfSeconds) {
    LoadRestView(true);
    KORVELCODE field;
    SETTINGS s = Settings(0, 50);
    s.SIDEWAYSMOTION = true;
    field.Setup(&s);
    field.FRAMETIME = 3.0;  // past its target and back, ever further, without a limit
    for (int frame = 0; frame < 150; ++frame) field.Move();
    field.FRAMETIME = 1 / 60.0;
    for (int frame = 0; frame < 10; ++frame) field.Move();
    EXPECT_TRUE(std::isfinite(field.SIDESPEED));
    EXPECT_TRUE(std::isfinite(field.FWDSPEED));
    EXPECT_LE(std::fabs(field.FWDSPEED), 60.0f);
    for (int i = 0; i < 50; ++i) EXPECT_TRUE(std::isfinite(field.LINES[i].POS.x)) << i;
}

TEST_F(CodeFieldTest, HeldForwardSpeedWithoutRandomness) {
    KORVELCODE field;
    SETTINGS s = Settings(0, 0);
    s.RANDFORWARDSPEED = false;
    s.FORWARDSPEED = 40;
    field.Setup(&s);
    field.FRAMETIME = 0.25;
    field.Move();
    EXPECT_EQ(field.FORWARDSPEED, 40);
    EXPECT_FLOAT_EQ(field.FWDSPEED, 10);
}

TEST_F(CodeFieldTest, NoLinesStillSetsUpTheFlatProjectionAndExtracts) {
    KORVELCODE field;
    SETTINGS s = Settings(1, 0);
    field.Setup(&s);
    EXPECT_EQ(field.LINES, nullptr);
    frustum[0][3] = 0;
    field.FRAMETIME = 0.1;
    field.Draw();
    EXPECT_EQ(field.LIVELINES, 0.0f);
    EXPECT_EQ(field.quadsSent, 0u);
    EXPECT_NEAR(frustum[0][3], 13.95, 1e-4);
    EXPECT_NEAR(matrix(GL_PROJECTION_MATRIX)[0], 2.0f / 93, 1e-7);
}

TEST_F(CodeFieldTest, FailedAllocationLeavesAFieldWithoutLinesThatStillDraws) {
    for (int lines : {INT_MAX, -5}) {
        KORVELCODE field;
        field.VIEWWIDTH = 640;
        field.VIEWHEIGHT = 480;
        SETTINGS s = Settings(1, lines);
        field.Setup(&s);
        EXPECT_EQ(field.LINES, nullptr) << lines;
        EXPECT_EQ(field.TOT_NUM_LINES, 0) << lines;
        EXPECT_EQ(field.VIEWWIDTH, 640);  // the flat extents were not reached
        field.FRAMETIME = 0.5;
        for (int frame = 0; frame < 3; ++frame) field.Draw();
        EXPECT_EQ(field.LIVELINES, 0.0f);
        EXPECT_EQ(field.quadsSent, 0u);
    }
}

TEST_F(CodeFieldTest, AFieldDrawnBeforeItsSetupLeavesTheMissingArrayAlone) {
    // The view draws a frame before the settings are read: 600 lines by default, none made.
    LoadRestView();
    KORVELCODE field;
    field.FRAMETIME = 1.0;
    field.Draw();
    field.Draw();
    EXPECT_EQ(field.LINES, nullptr);
    EXPECT_EQ(field.quadsSent, 0u);
}

TEST_F(CodeFieldTest, ZeroSizedFlatViewDrawsNothingAndComesBack) {
    KORVELCODE field;
    SETTINGS s = Settings(1, 100);
    field.Setup(&s);
    field.FRAMETIME = 1.0;
    field.VIEWWIDTH = 0;
    field.Draw();
    for (const auto& plane : frustum)
        for (float c : plane) EXPECT_TRUE(std::isfinite(c));
    EXPECT_EQ(field.LIVELINES, 0.0f);
    field.VIEWWIDTH = 640;
    field.VIEWHEIGHT = 480;
    field.Draw();
    EXPECT_FLOAT_EQ(field.LIVELINES, 10);
    field.FRAMETIME = 0.1;
    for (int frame = 0; frame < 100; ++frame) field.Draw();  // the lines fall into view
    EXPECT_GT(field.quadsSent, 0u);
}

}  // namespace

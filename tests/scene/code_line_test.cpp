#include "scene/code_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "geometry/frustum.h"
#include "scene/code_field.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_test.h"
#include "tests/support/scene_views.h"

namespace {

class CodeLineTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        field.GLYPHSIZE = 15;
        field.FALLSPEED = 80;
        field.Col1 = MakeColour(0.0f, 0.7f, 0.0f, 0.0f);
        field.Col2 = MakeColour(0.4f, 1.0f, 0.8f, 0.0f);
        LoadBox();
    }
    // An orthographic box of +-30 on every axis: the whole field is in view.
    void LoadBox() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-30, 30, -30, 30, -30, 30);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        ExtractFrustum();
    }
    // A line of known glyphs: cell k shows column k % 16, row k % 8.
    ONELINE KnownLine(int length, int shown) {
        ONELINE line;
        line.SIZE = 0.15f;
        line.LENGTH = length;
        line.SHOWN = shown;
        line.POS = MakePoint(1, 2, 0);
        line.CHANGETIMER = 1.0f;
        line.SHADE = 0.5f;
        for (int k = 0; k < length; ++k) {
            line.GLYPHS[k][0] = k % 16;
            line.GLYPHS[k][1] = k % 8;
        }
        return line;
    }
    std::vector<FeedbackQuad> DrawLine(ONELINE& line) {
        return CaptureQuads([&] {
            glBegin(GL_QUADS);
            line.Draw(&field);
            glEnd();
        });
    }

    KORVELCODE field;
};

TEST_F(CodeLineTest, ResetDrawsInItsOrderAndWithinItsRanges) {
    field.CAMERA.CAMROTATION = true;  // 3-D with rotation: the head stays at 25
    for (unsigned seed : {1u, 2u, 99u, 12345u}) {
        const auto r = Draws(seed, 4 + 4 * 39 + 1);
        ONELINE line;
        line.CHANGETIMER = 0.33f;
        srand(seed);
        line.Reset(&field);

        ASSERT_EQ(line.LENGTH, r[0] % 30 + 10);
        EXPECT_GE(line.LENGTH, 10);
        EXPECT_LE(line.LENGTH, 39);
        EXPECT_EQ(line.SHOWN, 1);
        EXPECT_EQ(line.STEP, 0.0f);
        EXPECT_EQ(line.SIZE, 0.15f);
        EXPECT_EQ(line.POS.x, (r[1] % 5000 - 2500) / 100.0f);
        EXPECT_EQ(line.POS.y, 25.0f);
        EXPECT_EQ(line.POS.z, (r[2] % 5000 - 2500) / 100.0f);
        EXPECT_EQ(line.SPEED, r[3] % 110 / 10.0f + 2);
        EXPECT_GE(line.SPEED, 2.0f);
        EXPECT_LE(line.SPEED, 12.9f + 1e-5f);
        for (int k = 0; k < line.LENGTH; ++k) {
            EXPECT_EQ(line.GLYPHS[k][0], r[4 + 4 * k] % 16);
            EXPECT_EQ(line.GLYPHS[k][1], r[5 + 4 * k] % 8);
            EXPECT_EQ(line.CHANGING[k], (r[6 + 4 * k] & 3) == 0);
            EXPECT_EQ(line.MIRRORED[k], r[7 + 4 * k] & 1);
        }
        const int shadeDraw = r[4 + 4 * line.LENGTH];
        EXPECT_EQ(line.SHADE, (shadeDraw % 90 + 10) / 100.0f);
        EXPECT_EQ(line.DEPTH, static_cast<float>(DistanceBetweenVectors(line.POS, field.CAMERA.EYE)));
        EXPECT_EQ(line.CHANGETIMER, 0.33f);  // runs on across lives
    }
}

TEST_F(CodeLineTest, FlatResetStandsOnAColumnOfTheGridAtTheTopEdge) {
    // The flat view of glyph size 15: top plane at y = 10.35.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 93, 0, 69, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(46.5f, 34.5f, 0);
    glScalef(93.0f / (2 * (0.15f * 93)), 93.0f / (2 * (0.15f * 93)), 1);
    ExtractFrustum();
    field.IS2D = true;
    const auto r = Draws(4, 4);
    srand(4);
    ONELINE line;
    line.Reset(&field);
    // The column draw comes after z; A = 93 columns, column 46 at x = 0.
    EXPECT_EQ(line.POS.x, 2 * ((r[3] % 93 - 46) * 0.15f));
    EXPECT_EQ(line.POS.z, 0.0f);
    EXPECT_NEAR(line.POS.y, 10.35f, 1e-4);
    const double column = line.POS.x / 0.3;
    EXPECT_NEAR(column, std::round(column), 1e-4);
    EXPECT_LE(std::fabs(line.POS.x), 13.8f + 1e-4f);
}

TEST_F(CodeLineTest, ResetWithoutRotationStartsOnTheTopPlaneOfTheView) {
    LoadRestView(true);
    field.CAMERA.CAMROTATION = false;
    srand(8);
    ONELINE line;
    line.Reset(&field);
    const double tan225 = std::tan(22.5 * 3.141592653589793 / 180);
    EXPECT_NEAR(line.POS.y, (25 - line.POS.z) * tan225, 1e-3);
}

TEST_F(CodeLineTest, CellStepsKeepShownCellsFixedInSpace) {
    field.CAMERA.CAMROTATION = true;
    field.FRAMETIME = 0.25;
    ONELINE line = KnownLine(20, 3);
    line.SPEED = 3;
    line.POS.y = 5;
    std::vector<float> before;
    for (int k = 0; k < 3; ++k) before.push_back(line.POS.y + line.STEP + 2 * line.SIZE * k);

    const auto r = Draws(21, 8);
    srand(21);
    line.Move(&field);
    EXPECT_EQ(line.SHOWN, 5);
    EXPECT_NEAR(line.STEP, 0.15f, 1e-6);
    EXPECT_NEAR(line.POS.y, 4.25f, 1e-6);
    // Old cell k is now cell k + 2, at the same height.
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(line.POS.y + line.STEP + 2 * line.SIZE * (k + 2), before[k], 1e-5);
        EXPECT_EQ(line.GLYPHS[k + 2][0], k % 16);
    }
    // The newest head came from the second of the two steps.
    EXPECT_EQ(line.GLYPHS[0][0], r[4] % 16);
    EXPECT_EQ(line.GLYPHS[0][1], r[5] % 8);
    EXPECT_EQ(line.CHANGING[0], r[6] % 5 == 2);
    EXPECT_EQ(line.MIRRORED[0], r[7] & 1);
    EXPECT_EQ(line.GLYPHS[1][0], r[0] % 16);
}

TEST_F(CodeLineTest, ManyStepsInOneFrameKeepOnlyTheNewestHeadsAndEveryDraw) {
    field.CAMERA.CAMROTATION = true;
    field.FRAMETIME = 1.0;
    ONELINE line = KnownLine(12, 12);
    line.SPEED = 15.05f;  // 50 pitches of 0.3 in one frame
    line.POS.y = 100;
    const int n = 50;
    const auto r = Draws(77, 4 * n + 1);
    srand(77);
    line.Move(&field);
    EXPECT_EQ(line.SHOWN, 12);
    // Cell k holds the head of step n - k: the twelve newest, the others pushed out.
    for (int k = 0; k < 12; ++k) {
        const int first = 4 * (n - 1 - k);
        EXPECT_EQ(line.GLYPHS[k][0], r[first] % 16) << k;
        EXPECT_EQ(line.GLYPHS[k][1], r[first + 1] % 8) << k;
        EXPECT_EQ(line.CHANGING[k], r[first + 2] % 5 == 2) << k;
        EXPECT_EQ(line.MIRRORED[k], r[first + 3] & 1) << k;
    }
    EXPECT_EQ(rand(), r[4 * n]);  // four draws for every step, kept or not
}

TEST_F(CodeLineTest, NoStepUntilStrictlyPastOnePitchAndAFullLineDropsItsTop) {
    field.CAMERA.CAMROTATION = true;
    field.FRAMETIME = 0;
    ONELINE line = KnownLine(12, 12);
    line.STEP = 2 * line.SIZE;
    line.Move(&field);
    EXPECT_EQ(line.STEP, 2 * line.SIZE);
    EXPECT_EQ(line.GLYPHS[0][0], 0);

    field.FRAMETIME = 0.1;
    line.SPEED = 1;  // 0.1 more: one step
    line.Move(&field);
    EXPECT_EQ(line.SHOWN, 12);
    EXPECT_EQ(line.GLYPHS[11][0], 10);  // old cell 10; old cell 11 is gone
}

TEST_F(CodeLineTest, WrapsInTheBox) {
    field.CAMERA.CAMROTATION = true;
    field.FRAMETIME = 0;
    const struct {
        float x, z, wrappedX, wrappedZ;
    } cases[] = {
        {25.5f, 0, -24.5f, 0}, {0, -25.1f, 0, 24.9f}, {25, -25, 25, -25}, {-25, 25, -25, 25},
        {-26, 26, 24, -24},
    };
    for (const auto& c : cases) {
        ONELINE line = KnownLine(10, 1);
        line.POS = MakePoint(c.x, 0, c.z);
        line.Move(&field);
        EXPECT_NEAR(line.POS.x, c.wrappedX, 1e-5) << c.x;
        EXPECT_NEAR(line.POS.z, c.wrappedZ, 1e-5) << c.z;
    }
}

TEST_F(CodeLineTest, WithRotationALineDiesBelowMinus25) {
    field.CAMERA.CAMROTATION = true;
    field.FRAMETIME = 0.1;
    ONELINE line = KnownLine(10, 10);
    line.SPEED = 1;
    line.POS.y = -25 - 3.0f + 0.05f;  // top = -25.05 + 0.05 ... just above -25
    line.Move(&field);                // falls 0.1: top below -25
    EXPECT_EQ(line.POS.y, 25.0f);     // reborn at height 25
    EXPECT_EQ(line.SHOWN, 1);
}

TEST_F(CodeLineTest, WithoutRotationALineDiesBeyondTheBottomPlane) {
    LoadRestView(true);
    field.CAMERA.CAMROTATION = false;
    field.FRAMETIME = 0.0;
    // At z = 0 the view's bottom edge is at y = -10.36.
    ONELINE inView = KnownLine(10, 10);
    inView.POS = MakePoint(0, -13.2f, 0);  // top at -10.2: a sphere of 0.15 still reaches in
    inView.Move(&field);
    EXPECT_NEAR(inView.POS.y, -13.2f, 1e-6);

    ONELINE below = KnownLine(10, 10);
    below.POS = MakePoint(0, -13.6f, 0);  // top at -10.6: wholly beyond the bottom plane
    below.Move(&field);
    EXPECT_EQ(below.SHOWN, 1);
    EXPECT_NEAR(below.POS.y, (25 - below.POS.z) * std::tan(22.5 * 3.141592653589793 / 180), 1e-3);
}

TEST_F(CodeLineTest, TailFadeHeadColourAndFlatShade) {
    field.IS2D = true;
    field.SHADED2D = false;
    ONELINE line = KnownLine(10, 10);
    auto quads = DrawLine(line);
    ASSERT_EQ(quads.size(), 10u);
    const float expected[10] = {1, 1, 0.8f, 0.7f, 0.6f, 0.5f, 0.4f, 0.3f, 0.2f, 0.1f};
    for (int k = 0; k < 10; ++k) {
        const auto& v = quads[k].corner[0];
        EXPECT_NEAR(v.a, expected[k], 1e-6) << k;
        const colour4d& c = k == 0 ? field.Col2 : field.Col1;
        EXPECT_NEAR(v.r, c.r, 1e-6);
        EXPECT_NEAR(v.g, c.g, 1e-6);
        EXPECT_NEAR(v.b, c.b, 1e-6);
    }

    field.SHADED2D = true;  // each line its own brightness
    quads = DrawLine(line);
    EXPECT_NEAR(quads[0].corner[0].a, 0.5f, 1e-6);
    EXPECT_NEAR(quads[9].corner[0].a, 0.05f, 1e-6);

    ONELINE growing = KnownLine(20, 10);  // not yet full: no fade
    for (const auto& q : DrawLine(growing)) EXPECT_EQ(q.corner[0].a, 0.5f);
}

TEST_F(CodeLineTest, DistanceFadeIn3D) {
    field.IS2D = false;
    ONELINE line = KnownLine(20, 5);
    line.DEPTH = 675;
    for (const auto& q : DrawLine(line)) EXPECT_NEAR(q.corner[0].a, 0.75f, 1e-6);

    line.DEPTH = 2700;  // faded away: nothing reaches the frame
    EXPECT_TRUE(DrawLine(line).empty());
    field.skipFadedCells = false;  // sent anyway, they carry alpha 0 (GL clamps the negative)
    const auto sent = DrawLine(line);
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[0].corner[0].a, 0.0f);
}

TEST_F(CodeLineTest, QuadCornersAndMirroredTextureCoordinates) {
    field.IS2D = true;
    field.SHADED2D = false;
    ONELINE line = KnownLine(10, 2);  // cell 0: column 0 row 0; cell 1: column 1 row 1
    line.MIRRORED[1] = 1;
    line.STEP = 0.1f;
    const auto quads = DrawLine(line);
    ASSERT_EQ(quads.size(), 2u);

    const float s0[4] = {0, 0.0625f, 0.0625f, 0};
    const float t0[4] = {1, 1, 0.875f, 0.875f};
    const float s1[4] = {0.125f, 0.0625f, 0.0625f, 0.125f};  // column 1, mirrored
    const float t1[4] = {0.875f, 0.875f, 0.75f, 0.75f};
    const double cornerX[4] = {-1, 1, 1, -1}, cornerY[4] = {1, 1, -1, -1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(quads[0].corner[i].s, s0[i]) << i;
        EXPECT_FLOAT_EQ(quads[0].corner[i].t, t0[i]) << i;
        EXPECT_FLOAT_EQ(quads[1].corner[i].s, s1[i]) << i;
        EXPECT_FLOAT_EQ(quads[1].corner[i].t, t1[i]) << i;
        EXPECT_NEAR(quads[0].corner[i].x, 1 + 0.15 * cornerX[i], 1e-4);
        EXPECT_NEAR(quads[0].corner[i].y, 2.1 + 0.15 * cornerY[i], 1e-4);
        EXPECT_NEAR(quads[1].corner[i].y, 2.4 + 0.15 * cornerY[i], 1e-4);
    }

    // A mirrored cell of column 0 runs s the other way.
    line.GLYPHS[1][0] = 0;
    const auto mirrored = DrawLine(line);
    const float sm[4] = {0.0625f, 0, 0, 0.0625f};
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(mirrored[1].corner[i].s, sm[i]);
}

TEST_F(CodeLineTest, FlickerChangesOnlyChangingCellsInsideTheView) {
    LoadRestView(true);
    field.IS2D = false;
    field.FRAMETIME = 0.5;
    ONELINE line = KnownLine(20, 3);
    line.POS = MakePoint(0, 0, 0);
    line.CHANGETIMER = 0.2f;
    line.CHANGING[0] = 1;
    line.CHANGING[2] = 1;
    ONELINE outside = line;
    outside.POS = MakePoint(0, 60, 0);  // far above the view

    const auto r = Draws(31, 5);
    srand(31);
    DrawLine(line);
    EXPECT_EQ(line.GLYPHS[0][0], r[0] % 16);
    EXPECT_EQ(line.GLYPHS[0][1], r[1] % 8);
    EXPECT_EQ(line.GLYPHS[1][0], 1);  // not a changing cell
    EXPECT_EQ(line.GLYPHS[2][0], r[2] % 16);
    EXPECT_EQ(line.GLYPHS[2][1], r[3] % 8);
    EXPECT_EQ(line.CHANGETIMER, (r[4] % 40) / 100.0f);

    srand(31);
    DrawLine(outside);
    EXPECT_EQ(outside.GLYPHS[0][0], 0);  // out of view: keeps its glyphs
    EXPECT_EQ(outside.GLYPHS[2][0], 2);
    EXPECT_EQ(outside.CHANGETIMER, (r[0] % 40) / 100.0f);  // the timer's draw is the first
}

}  // namespace

#include "scene/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "tests/support/gl_test.h"
#include "tests/support/scene_views.h"

namespace {

class CameraTest : public GLTest {
protected:
    // The model-view matrix that gluLookAt alone builds for this pose.
    static std::array<float, 16> LookAt(VECTOR3D eye, VECTOR3D at, VECTOR3D up) {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        gluLookAt(eye.x, eye.y, eye.z, at.x, at.y, at.z, up.x, up.y, up.z);
        auto m = matrix(GL_MODELVIEW_MATRIX);
        glPopMatrix();
        return m;
    }
    static void ExpectVector(VECTOR3D v, float x, float y, float z) {
        EXPECT_NEAR(v.x, x, 1e-5);
        EXPECT_NEAR(v.y, y, 1e-5);
        EXPECT_NEAR(v.z, z, 1e-5);
    }
    void SetUp() override {
        GLTest::SetUp();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

TEST_F(CameraTest, ConstructorDrawsThreeSpinsAndStartsReturning) {
    const auto r = Draws(7, 3);
    srand(7);
    ONECAMERA camera;
    EXPECT_EQ(camera.SPIN.x, r[0] % 30 - 15);
    EXPECT_EQ(camera.SPIN.y, r[1] % 30 - 15);
    EXPECT_EQ(camera.SPIN.z, r[2] % 30 - 15);
    ExpectVector(camera.EYE, 0, 0, 25);
    ExpectVector(camera.LOOKAT, 0, 0, 0);
    ExpectVector(camera.UP, 0, 1, 0);
    EXPECT_TRUE(camera.CAMROTATION);
    EXPECT_FALSE(camera.ROAMING);
    EXPECT_EQ(camera.PHASETIMER, 10.0f);
    EXPECT_EQ(camera.EASE, 0.0f);
}

TEST_F(CameraTest, WithoutRotationEveryMoveLooksFromRestAndDrawsNothing) {
    const auto r = Draws(3, 4);
    srand(3);
    ONECAMERA camera;
    camera.CAMROTATION = false;
    for (int frame = 0; frame < 5; ++frame) {
        glLoadIdentity();
        camera.Move(3.0);
    }
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), LookAt({0, 0, 25}, {0, 0, -1}, {0, 1, 0}));
    EXPECT_EQ(camera.PHASETIMER, 10.0f);  // the timer stands still
    EXPECT_EQ(rand(), r[3]);              // no draw since the constructor's three
}

TEST_F(CameraTest, FirstTenSecondsReturnAndRedrawTheSpinEveryFrame) {
    const auto r = Draws(11, 3 + 3 * 99);
    srand(11);
    ONECAMERA camera;
    for (int frame = 0; frame < 99; ++frame) {
        glLoadIdentity();
        camera.Move(0.1);
        ASSERT_FALSE(camera.ROAMING) << frame;
        EXPECT_EQ(camera.SPIN.x, r[3 + 3 * frame] % 40 - 20);
        EXPECT_EQ(camera.SPIN.y, r[4 + 3 * frame] % 40 - 20);
        EXPECT_EQ(camera.SPIN.z, r[5 + 3 * frame] % 40 - 20);
        ExpectVector(camera.ANGLE, 0, 0, 0);
    }
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), LookAt({0, 0, 25}, {0, 0, -1}, {0, 1, 0}));
}

TEST_F(CameraTest, PhaseTimerRunningOutSwitchesPhaseWithItsDraw) {
    const auto r = Draws(5, 5);
    srand(5);
    ONECAMERA camera;
    camera.PHASETIMER = 0.05f;
    camera.Move(0.1);  // returning -> roaming: one draw for the timer, none for spins
    EXPECT_TRUE(camera.ROAMING);
    EXPECT_EQ(camera.PHASETIMER, static_cast<float>(r[3] % 120 + 10));
    EXPECT_EQ(rand(), r[4]);

    srand(5);
    ONECAMERA back;
    back.ROAMING = true;
    back.EASE = 0.7f;
    back.PHASETIMER = 0.05f;
    back.Move(0.1);  // roaming -> returning: the timer's draw, EASE reset, then the three spins
    EXPECT_FALSE(back.ROAMING);
    EXPECT_EQ(back.PHASETIMER, static_cast<float>(r[3] % 120));
    EXPECT_FLOAT_EQ(back.EASE, 0.05f);
    EXPECT_EQ(back.SPIN.x, r[4] % 40 - 20);
}

TEST_F(CameraTest, RoamingWrapsTargetsAndAnglesTogether) {
    ONECAMERA camera;
    camera.ROAMING = true;
    camera.PHASETIMER = 100;
    camera.EASE = 0;
    camera.SPIN = MakePoint(19, -20, 0);
    camera.TARGET = MakePoint(355, 5, 0);
    camera.ANGLE = MakePoint(350, 10, 0);
    camera.Move(0.5);
    EXPECT_FLOAT_EQ(camera.TARGET.x, 4.5f);   // 364.5 - 360
    EXPECT_FLOAT_EQ(camera.TARGET.y, 355.0f); // -5 + 360
    EXPECT_FLOAT_EQ(camera.EASE, 0.25f);
    // The angles moved with the wrap (-10 and 370), then eased a quarter of t toward the targets.
    EXPECT_FLOAT_EQ(camera.ANGLE.x, -10 + (4.5f + 10) * 0.5f * 0.25f);
    EXPECT_FLOAT_EQ(camera.ANGLE.y, 370 + (355.0f - 370) * 0.5f * 0.25f);
}

TEST_F(CameraTest, ReturningBringsAnglesIntoHalfTurns) {
    ONECAMERA camera;
    camera.ANGLE = MakePoint(530, -200, 360);
    camera.Move(0.0);
    EXPECT_EQ(camera.ANGLE.x, 170);
    EXPECT_EQ(camera.ANGLE.y, 160);
    EXPECT_EQ(camera.ANGLE.z, 0);
}

TEST_F(CameraTest, EaseGrowsByHalfPerSecondUntilItReachesOne) {
    ONECAMERA camera;
    camera.PHASETIMER = 1000;
    float last = camera.EASE;
    int frames = 0;
    while (last < 1.0f && frames < 100) {
        camera.Move(0.1);
        EXPECT_NEAR(camera.EASE, last + 0.05f, 1e-6);
        last = camera.EASE;
        ++frames;
    }
    EXPECT_EQ(frames, 20);
    camera.Move(0.1);
    EXPECT_EQ(camera.EASE, last);  // stops at the first value of 1 or more

    // With EASE 1 and t 0.1, each frame closes a tenth of the gap.
    camera.ROAMING = true;
    camera.SPIN = MakePoint(0, 0, 0);
    camera.TARGET = MakePoint(100, 0, 0);
    camera.ANGLE = MakePoint(0, 0, 0);
    camera.Move(0.1);
    EXPECT_NEAR(camera.ANGLE.x, 100 * 0.1 * last, 1e-4);
}

TEST_F(CameraTest, FramesOfSecondsNeitherHangNorSwingTheAnglesAway) {
    srand(2);
    ONECAMERA camera;
    camera.PHASETIMER = 0;  // roaming from the first frame
    for (int frame = 0; frame < 200; ++frame) {
        glLoadIdentity();
        camera.Move(8.0);  // a loaded machine: ticks of 8 s are still used
        ASSERT_TRUE(std::isfinite(camera.ANGLE.x) && std::isfinite(camera.ANGLE.y) && std::isfinite(camera.ANGLE.z));
        ASSERT_LT(std::fabs(camera.ANGLE.x), 1e4f) << frame;
    }
    // The returning phase's wrap also copes with an angle no turn can change.
    camera.ROAMING = false;
    camera.PHASETIMER = 100;
    camera.ANGLE = MakePoint(1e10f, -1e10f, 0);
    camera.Move(0.0);
    EXPECT_LE(std::fabs(camera.ANGLE.x), 180);
    EXPECT_LE(std::fabs(camera.ANGLE.y), 180);
}

TEST_F(CameraTest, PoseTurnsEyeAndUpAboutTheOrigin) {
    const struct {
        VECTOR3D angle, eye, up;
    } cases[] = {
        {{0, 90, 0}, {25, 0, 0}, {0, 1, 0}},
        {{90, 0, 0}, {0, -25, 0}, {0, 0, 1}},
    };
    for (const auto& c : cases) {
        ONECAMERA camera;
        camera.ROAMING = true;
        camera.PHASETIMER = 100;
        camera.SPIN = MakePoint(0, 0, 0);
        camera.TARGET = camera.ANGLE = c.angle;
        glLoadIdentity();
        camera.Move(0.01);
        ExpectVector(camera.EYE, c.eye.x, c.eye.y, c.eye.z);
        ExpectVector(camera.UP, c.up.x, c.up.y, c.up.z);
        ExpectVector(camera.LOOKAT, 0, 0, -1);  // the point looked at is never turned
        EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), LookAt(camera.EYE, camera.LOOKAT, camera.UP));
    }
}

}  // namespace

#include "scene/camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdlib>

namespace {

// Into (-180, 180]: a returning phase then takes the short way back to zero.
float wrapHalfTurn(float angle) {
    // So large that adding a turn no longer changes the float: the loops below
    // would never end. Take the remainder first.
    if (std::fabs(angle) > 1e6f) angle = std::fmod(angle, 360.0f);
    while (angle < 0) angle += 360;
    while (angle > 360) angle -= 360;
    if (angle > 180) angle -= 360;
    return angle;
}

// Keeps the target in [0, 360] and moves the angle with it, so the gap between them holds.
void roam(float& target, float& angle, float spin, double t) {
    target += t * spin;
    if (target > 360) {
        target -= 360;
        angle -= 360;
    }
    if (target < 0) {
        target += 360;
        angle += 360;
    }
}

}  // namespace

ONECAMERA::ONECAMERA()
    : EYE(MakePoint(0, 0, 25)),
      LOOKAT(MakePoint(0, 0, 0)),
      UP(MakePoint(0, 1, 0)),
      ANGLE(MakePoint(0, 0, 0)),
      TARGET(MakePoint(0, 0, 0)),
      CAMROTATION(true),
      ROAMING(false),
      PHASETIMER(10.0f),
      EASE(0.0f) {
    SPIN.x = rand() % 30 - 15;
    SPIN.y = rand() % 30 - 15;
    SPIN.z = rand() % 30 - 15;
}

void ONECAMERA::Move(double t) {
    EYE = MakePoint(0, 0, 25);
    LOOKAT = MakePoint(0, 0, -1);
    UP = MakePoint(0, 1, 0);

    if (CAMROTATION) {
        PHASETIMER -= t;
        if (PHASETIMER < 0) {
            ROAMING = !ROAMING;
            PHASETIMER = rand() % 120;
            if (ROAMING)
                PHASETIMER += 10;
            else
                EASE = 0;
        }

        if (!ROAMING) {
            TARGET = MakePoint(0, 0, 0);
            ANGLE.x = wrapHalfTurn(ANGLE.x);
            ANGLE.y = wrapHalfTurn(ANGLE.y);
            ANGLE.z = wrapHalfTurn(ANGLE.z);
            SPIN.x = rand() % 40 - 20;
            SPIN.y = rand() % 40 - 20;
            SPIN.z = rand() % 40 - 20;
        } else {
            roam(TARGET.x, ANGLE.x, SPIN.x, t);
            roam(TARGET.y, ANGLE.y, SPIN.y, t);
            roam(TARGET.z, ANGLE.z, SPIN.z, t);
        }

        if (EASE < 1) EASE += t * 0.5;
        // A step of more than twice the gap (frames of seconds) would swing the angles
        // ever further from their targets; such a step goes to the target instead.
        const double step = t * EASE > 2 ? 1.0 : t * EASE;
        ANGLE.x += (TARGET.x - ANGLE.x) * step;
        ANGLE.y += (TARGET.y - ANGLE.y) * step;
        ANGLE.z += (TARGET.z - ANGLE.z) * step;

        Rotate(&EYE, ANGLE.x, ANGLE.y, ANGLE.z);
        Rotate(&UP, ANGLE.x, ANGLE.y, ANGLE.z);
    }

    gluLookAt(EYE.x, EYE.y, EYE.z, LOOKAT.x, LOOKAT.y, LOOKAT.z, UP.x, UP.y, UP.z);
}

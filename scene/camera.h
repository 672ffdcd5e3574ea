#pragma once
// The camera: at rest at (0, 0, 25) looking toward -z. With rotation on it
// alternates between roaming (angles chase targets turning at random speeds)
// and returning (angles ease back to zero), swinging around the box's middle.
#include "geometry/vector3d.h"

class ONECAMERA {
public:
    ONECAMERA();

    // Advances the phases by t seconds and multiplies the current matrix by
    // the look-at transform.
    void Move(double t);

    VECTOR3D EYE;
    VECTOR3D LOOKAT;
    VECTOR3D UP;
    VECTOR3D ANGLE;
    VECTOR3D SPIN;
    VECTOR3D TARGET;
    bool CAMROTATION;
    bool ROAMING;
    float PHASETIMER;
    float EASE;
};

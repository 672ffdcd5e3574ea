#pragma once
// A quaternion of doubles (w is the scalar part) and the free functions over it.
#include "geometry/matrix.h"
#include "geometry/vector3d.h"

class QUAT {
public:
    QUAT();
    QUAT(double x, double y, double z, double w);
    void Identity();
    // Exact IEEE equality of all four components, no tolerance.
    bool IsEqualTo(QUAT other) const;

    double x, y, z, w;
};

// The conjugate: the inverse of a unit quaternion only (no division by the length).
QUAT InverseQuat(QUAT q);
double QuatMagnitude(QUAT q);
// (0, 0, 0, 0) gives NaN in every component.
QUAT NormalizeQuat(QUAT q);
// The Hamilton product a * b.
QUAT MultiplyQuats(QUAT a, QUAT b);
MATRIX QuatToRotationMatrix(QUAT q);
// angle in radians; the axis need not be unit length, the result is normalised.
QUAT AxisAndAngleToQuat(VECTOR3D axis, double angle);
// Angles in degrees, the same turn as Rotate(): X first, then Y, then Z.
QUAT RotationToQuat(VECTOR3D angles);
// Spherical interpolation along the shorter arc; nearly equal inputs are
// blended linearly. The result is not normalised.
QUAT QuatSlerp(const QUAT* from, const QUAT* to, double t);
// The rotation held in the upper-left 3x3 of m.
QUAT QuatFromMatrix(MATRIX m);

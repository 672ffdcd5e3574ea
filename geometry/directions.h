#pragma once
// Rotations that turn one point toward another.
#include "geometry/matrix.h"
#include "geometry/vector3d.h"

// A vector along the axis that turns +Z toward the direction from a to b,
// its length the angle of that turn in degrees. The direction is nudged
// (0.1 on x when a and b are less than 1 apart on x, 1 on z when they are
// equal) so it is never zero.
VECTOR3D AngleBetweenVectors(VECTOR3D a, VECTOR3D b);
// A rotation whose third column points from b to a; equal points give +Z.
MATRIX MatrixAngleBetweenVectors(VECTOR3D a, VECTOR3D b);

#include "geometry/directions.h"

#include <cmath>

namespace {
constexpr double kPi = 3.141592653589793;
}  // namespace

VECTOR3D AngleBetweenVectors(VECTOR3D a, VECTOR3D b) {
    const VECTOR3D forward = MakePoint(0, 0, 1);
    VECTOR3D d = SubtractVectors(b, a);
    if (std::fabs(b.x - a.x) < 1.0f) d.x += 0.1;
    if (CompareVectors(a, b)) d.z += 1.0;
    const double len = VectorLength(d);
    VECTOR3D axis = VectorCrossProduct(forward, d);
    const double axisLength = VectorLength(axis);
    if (axisLength != 0.0) {
        axis.x /= axisLength;
        axis.y /= axisLength;
        axis.z /= axisLength;
    }
    // The float length can round below |d.z| (e.g. d.z = 4097), putting the
    // cosine past 1 where acos is NaN; such a direction is along the axis.
    double cosine = VectorDotProduct(forward, d) / len;
    if (cosine > 1.0) cosine = 1.0;
    if (cosine < -1.0) cosine = -1.0;
    const double angle = std::acos(cosine) * 180.0 / kPi;
    return ScaleVector(axis, angle);
}

MATRIX MatrixAngleBetweenVectors(VECTOR3D a, VECTOR3D b) {
    VECTOR3D f = SubtractVectors(a, b);
    // A zero direction cannot be normalised: face +Z instead.
    if (CompareVectors(f, MakePoint(0, 0, 0))) f.z = 1.0f;
    f = NormalizeVector(f);
    // Straight up or down, the usual up vector is parallel to f.
    VECTOR3D u = (f.x == 0.0f && f.z == 0.0f) ? MakePoint(-f.y, 0, 0) : MakePoint(0, 1, 0);
    const VECTOR3D s = NormalizeVector(VectorCrossProduct(u, f));
    u = ScaleVector(NormalizeVector(VectorCrossProduct(s, f)), -1.0);
    MATRIX r;
    r.m[0] = s.x;
    r.m[1] = s.y;
    r.m[2] = s.z;
    r.m[4] = u.x;
    r.m[5] = u.y;
    r.m[6] = u.z;
    r.m[8] = f.x;
    r.m[9] = f.y;
    r.m[10] = f.z;
    return r;
}

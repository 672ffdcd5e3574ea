#include "geometry/quaternion.h"

#include <cmath>

namespace {
constexpr double kPi = 3.141592653589793;
}  // namespace

QUAT::QUAT() : x(0.0), y(0.0), z(0.0), w(1.0) {}

QUAT::QUAT(double x, double y, double z, double w) : x(x), y(y), z(z), w(w) {}

void QUAT::Identity() {
    x = y = z = 0.0;
    w = 1.0;
}

bool QUAT::IsEqualTo(QUAT other) const {
    return x == other.x && y == other.y && z == other.z && w == other.w;
}

QUAT InverseQuat(QUAT q) { return QUAT(-q.x, -q.y, -q.z, q.w); }

double QuatMagnitude(QUAT q) { return std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w); }

QUAT NormalizeQuat(QUAT q) {
    const double length = QuatMagnitude(q);
    return QUAT(q.x / length, q.y / length, q.z / length, q.w / length);
}

QUAT MultiplyQuats(QUAT a, QUAT b) {
    return QUAT(a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
                a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
                a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
                a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
}

MATRIX QuatToRotationMatrix(QUAT q) {
    MATRIX r;
    r.m[0] = 1.0 - 2.0 * (q.y * q.y + q.z * q.z);
    r.m[1] = 2.0 * (q.x * q.y + q.z * q.w);
    r.m[2] = 2.0 * (q.x * q.z - q.y * q.w);
    r.m[4] = 2.0 * (q.x * q.y - q.z * q.w);
    r.m[5] = 1.0 - 2.0 * (q.x * q.x + q.z * q.z);
    r.m[6] = 2.0 * (q.y * q.z + q.x * q.w);
    r.m[8] = 2.0 * (q.x * q.z + q.y * q.w);
    r.m[9] = 2.0 * (q.y * q.z - q.x * q.w);
    r.m[10] = 1.0 - 2.0 * (q.x * q.x + q.y * q.y);
    return r;
}

QUAT AxisAndAngleToQuat(VECTOR3D axis, double angle) {
    const double h = angle * 0.5;
    const double s = std::sin(h);
    return NormalizeQuat(QUAT(axis.x * s, axis.y * s, axis.z * s, std::cos(h)));
}

QUAT RotationToQuat(VECTOR3D angles) {
    const double hx = angles.x * kPi / 180.0 * 0.5;
    const double hy = angles.y * kPi / 180.0 * 0.5;
    const double hz = angles.z * kPi / 180.0 * 0.5;
    const double sx = std::sin(hx), cx = std::cos(hx);
    const double sy = std::sin(hy), cy = std::cos(hy);
    const double sz = std::sin(hz), cz = std::cos(hz);
    // qz * qy * qx written out.
    return NormalizeQuat(QUAT(sx * cy * cz - cx * sy * sz,
                              cx * sy * cz + sx * cy * sz,
                              cx * cy * sz - sx * sy * cz,
                              cx * cy * cz + sx * sy * sz));
}

QUAT QuatSlerp(const QUAT* from, const QUAT* to, double t) {
    double cosom = from->x * to->x + from->y * to->y + from->z * to->z + from->w * to->w;
    QUAT target = *to;
    if (cosom < 0.0) {
        // q and -q are the same turn: go the short way round.
        cosom = -cosom;
        target = QUAT(-to->x, -to->y, -to->z, -to->w);
    }
    double s0, s1;
    if (1.0 - cosom > 1e-05) {
        const double omega = std::acos(cosom);
        const double sinom = std::sin(omega);
        s0 = std::sin((1.0 - t) * omega) / sinom;
        s1 = std::sin(t * omega) / sinom;
    } else {
        // sin(omega) is too small to divide by.
        s0 = 1.0 - t;
        s1 = t;
    }
    return QUAT(s0 * from->x + s1 * target.x, s0 * from->y + s1 * target.y,
                s0 * from->z + s1 * target.z, s0 * from->w + s1 * target.w);
}

QUAT QuatFromMatrix(MATRIX m) {
    const double* e = m.m;
    const double trace = e[0] + e[5] + e[10];
    QUAT q;
    if (trace > 0.0) {
        double s = std::sqrt(trace + 1.0);
        q.w = s * 0.5;
        s = 0.5 / s;
        q.x = (e[6] - e[9]) * s;
        q.y = (e[8] - e[2]) * s;
        q.z = (e[1] - e[4]) * s;
        return q;
    }
    // Work from the largest diagonal element, the best-conditioned root.
    static const int next[3] = {1, 2, 0};
    int i = 0;
    if (e[5] > e[0]) i = 1;
    if (e[10] > e[i * 5]) i = 2;
    const int j = next[i];
    const int k = next[j];
    double* v[3] = {&q.x, &q.y, &q.z};
    double s = std::sqrt((e[i * 5] - (e[j * 5] + e[k * 5])) + 1.0);
    *v[i] = s * 0.5;
    if (s != 0.0) s = 0.5 / s;
    q.w = (e[j * 4 + k] - e[k * 4 + j]) * s;
    *v[j] = (e[i * 4 + j] + e[j * 4 + i]) * s;
    *v[k] = (e[i * 4 + k] + e[k * 4 + i]) * s;
    return q;
}

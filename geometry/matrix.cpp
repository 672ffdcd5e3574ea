#include "geometry/matrix.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr double kPi = 3.141592653589793;
constexpr double kDegreesPerRadian = 57.29577951308232;

double radiansOf(double degrees) { return degrees * kPi / 180.0; }

VECTOR3D rounded(double x, double y, double z) {
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}
}  // namespace

MATRIX::MATRIX() {
    Zero();
    Identity();
}

void MATRIX::Zero() {
    for (double& e : m) e = 0.0;
}

void MATRIX::Identity() {
    Zero();
    m[0] = m[5] = m[10] = m[15] = 1.0;
}

void MATRIX::SetTranslation(VECTOR3D v) {
    m[12] = v.x;
    m[13] = v.y;
    m[14] = v.z;
}

MATRIX AddMatrix(MATRIX a, MATRIX b) {
    MATRIX r;
    for (int i = 0; i < 16; ++i) r.m[i] = a.m[i] + b.m[i];
    return r;
}

MATRIX SubtractMatrix(MATRIX a, MATRIX b) {
    MATRIX r;
    for (int i = 0; i < 16; ++i) r.m[i] = a.m[i] - b.m[i];
    return r;
}

MATRIX MultiplyMatrix(MATRIX a, MATRIX b) {
    MATRIX r;
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += a.m[k * 4 + row] * b.m[c * 4 + k];
            r.m[c * 4 + row] = sum;
        }
    }
    return r;
}

VECTOR3D MatrixPointMultiply(MATRIX m, VECTOR3D p) {
    const double* e = m.m;
    return rounded(e[0] * p.x + e[4] * p.y + e[8] * p.z + e[12],
                   e[1] * p.x + e[5] * p.y + e[9] * p.z + e[13],
                   e[2] * p.x + e[6] * p.y + e[10] * p.z + e[14]);
}

VECTOR3D MatrixRotatePoint(MATRIX m, VECTOR3D p) {
    const double* e = m.m;
    return rounded(e[0] * p.x + e[4] * p.y + e[8] * p.z,
                   e[1] * p.x + e[5] * p.y + e[9] * p.z,
                   e[2] * p.x + e[6] * p.y + e[10] * p.z);
}

VECTOR3D MatrixInverseRotatePoint(MATRIX m, VECTOR3D p) {
    const double* e = m.m;
    return rounded(e[0] * p.x + e[1] * p.y + e[2] * p.z,
                   e[4] * p.x + e[5] * p.y + e[6] * p.z,
                   e[8] * p.x + e[9] * p.y + e[10] * p.z);
}

VECTOR3D MatrixTranslatePoint(MATRIX m, VECTOR3D p) {
    return rounded(p.x + m.m[12], p.y + m.m[13], p.z + m.m[14]);
}

VECTOR3D MatrixInverseTranslatePoint(MATRIX m, VECTOR3D p) {
    return rounded(p.x - m.m[12], p.y - m.m[13], p.z - m.m[14]);
}

MATRIX MatrixFromAngle(VECTOR3D angles) {
    const double x = radiansOf(angles.x), y = radiansOf(angles.y), z = radiansOf(angles.z);
    const double A = std::cos(x), B = std::sin(x);
    const double C = std::cos(y), D = std::sin(y);
    const double E = std::cos(z), F = std::sin(z);
    MATRIX r;
    r.m[0] = C * E;
    r.m[1] = -C * F;
    r.m[2] = -D;
    r.m[4] = A * F - B * D * E;
    r.m[5] = A * E + B * D * F;
    r.m[6] = -B * C;
    r.m[8] = A * D * E + B * F;
    r.m[9] = B * E - A * D * F;
    r.m[10] = A * C;
    return r;
}

VECTOR3D AngleFromMatrix(MATRIX m) {
    // A product of rotations can carry m[2] a rounding step beyond +-1, where
    // asin gives NaN; such a matrix still means Y = -+90 degrees.
    double sinY = m.m[2];
    if (sinY > 1.0) sinY = 1.0;
    if (sinY < -1.0) sinY = -1.0;
    float y = static_cast<float>(-std::asin(sinY));
    const double C = std::cos(y);
    y = static_cast<float>(y * kDegreesPerRadian);
    double x, z;
    if (std::fabs(C) > 0.005) {
        x = std::atan2(-m.m[6] / C, m.m[10] / C) * kDegreesPerRadian;
        z = std::atan2(-m.m[1] / C, m.m[0] / C) * kDegreesPerRadian;
    } else {
        // Gimbal lock: only the sum of the X and Z turns is known.
        x = 0.0;
        z = std::atan2(m.m[4], m.m[5]) * kDegreesPerRadian;
    }
    return rounded(clamp(static_cast<float>(x), 0, 360), clamp(y, 0, 360), clamp(static_cast<float>(z), 0, 360));
}

void SaveMatrix(MATRIX m) {
    FILE* file = std::fopen("test.txt", "a");
    if (!file) return;
    std::fprintf(file, "\n");
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 4; ++i) std::fprintf(file, "%4.5f ", m.m[4 * k + i]);
        std::fprintf(file, "\n");
    }
    std::fclose(file);
}

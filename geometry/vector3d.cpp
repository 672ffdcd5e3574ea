#include "geometry/vector3d.h"

#include <cmath>

namespace {
constexpr double kPi = 3.141592653589793;

float radiansOf(float degrees) { return static_cast<float>(degrees * kPi / 180.0); }
}  // namespace

VECTOR3D MakePoint(float x, float y, float z) { return {x, y, z}; }
point2d Make2DPoint(float x, float y) { return {x, y}; }
colour4d MakeColour(float r, float g, float b, float a) { return {r, g, b, a}; }

VECTOR3D AddVectors(VECTOR3D a, VECTOR3D b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
VECTOR3D SubtractVectors(VECTOR3D a, VECTOR3D b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
VECTOR3D MultiplyVectors(VECTOR3D a, VECTOR3D b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
VECTOR3D DivideVectors(VECTOR3D a, VECTOR3D b) { return {a.x / b.x, a.y / b.y, a.z / b.z}; }

VECTOR3D ScaleVector(VECTOR3D v, double s) {
    return {static_cast<float>(v.x * s), static_cast<float>(v.y * s), static_cast<float>(v.z * s)};
}

float VectorLengthNOSQRT(VECTOR3D v) { return v.x * v.x + v.y * v.y + v.z * v.z; }

double VectorLength(VECTOR3D v) { return std::sqrt(static_cast<double>(VectorLengthNOSQRT(v))); }

double DistanceBetweenVectors(VECTOR3D a, VECTOR3D b) { return VectorLengthNOSQRT(SubtractVectors(a, b)); }

VECTOR3D NormalizeVector(VECTOR3D v) {
    const double length = VectorLength(v);
    return {static_cast<float>(v.x / length), static_cast<float>(v.y / length), static_cast<float>(v.z / length)};
}

float VectorDotProduct(VECTOR3D a, VECTOR3D b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

VECTOR3D VectorCrossProduct(VECTOR3D a, VECTOR3D b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

VECTOR3D CalculateNormal(VECTOR3D p1, VECTOR3D p2, VECTOR3D p3) {
    return VectorCrossProduct(SubtractVectors(p1, p2), SubtractVectors(p2, p3));
}

bool CompareVectors(VECTOR3D a, VECTOR3D b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

void Rotate(VECTOR3D* v, float ax, float ay, float az) {
    if (ax == 0.0f && ay == 0.0f && az == 0.0f) return;
    const float rx = radiansOf(ax), ry = radiansOf(ay), rz = radiansOf(az);
    if (rx != 0.0f) {
        const double c = std::cos(rx), s = std::sin(rx);
        const float y = v->y, z = v->z;
        v->y = static_cast<float>(y * c - z * s);
        v->z = static_cast<float>(y * s + z * c);
    }
    if (ry != 0.0f) {
        const double c = std::cos(ry), s = std::sin(ry);
        const float x = v->x, z = v->z;
        v->x = static_cast<float>(x * c + z * s);
        v->z = static_cast<float>(z * c - x * s);
    }
    if (rz != 0.0f) {
        const double c = std::cos(rz), s = std::sin(rz);
        const float x = v->x, y = v->y;
        v->x = static_cast<float>(x * c - y * s);
        v->y = static_cast<float>(x * s + y * c);
    }
}

double clamp(double value, double low, double high) {
    while (value < low) value += high;
    while (value >= high) value -= high;
    return value;
}

#include "geometry/frustum.h"

#include <GL/gl.h>

#include <cmath>

float frustum[6][4] = {};

namespace {

inline float distanceFromPlane(const float* plane, VECTOR3D p) {
    return plane[0] * p.x + plane[1] * p.y + plane[2] * p.z + plane[3];
}

void setPlane(int index, float a, float b, float c, float d) {
    const float n = static_cast<float>(std::sqrt(static_cast<double>(a * a + b * b + c * c)));
    frustum[index][0] = a / n;
    frustum[index][1] = b / n;
    frustum[index][2] = c / n;
    frustum[index][3] = d / n;
}

}  // namespace

void ExtractFrustum() {
    float P[16], M[16], C[16];
    glGetFloatv(GL_PROJECTION_MATRIX, P);
    glGetFloatv(GL_MODELVIEW_MATRIX, M);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            C[i * 4 + j] = M[i * 4 + 0] * P[0 * 4 + j] + M[i * 4 + 1] * P[1 * 4 + j] +
                           M[i * 4 + 2] * P[2 * 4 + j] + M[i * 4 + 3] * P[3 * 4 + j];

    // Row r of the clip matrix is C[r], C[4 + r], C[8 + r], C[12 + r].
    setPlane(0, C[3] - C[0], C[7] - C[4], C[11] - C[8], C[15] - C[12]);  // right
    setPlane(1, C[3] + C[0], C[7] + C[4], C[11] + C[8], C[15] + C[12]);  // left
    setPlane(2, C[3] + C[1], C[7] + C[5], C[11] + C[9], C[15] + C[13]);  // bottom
    setPlane(3, C[3] - C[1], C[7] - C[5], C[11] - C[9], C[15] - C[13]);  // top
    setPlane(4, C[3] - C[2], C[7] - C[6], C[11] - C[10], C[15] - C[14]); // far
    setPlane(5, C[3] + C[2], C[7] + C[6], C[11] + C[10], C[15] + C[14]); // near
}

bool PointInFrustum(VECTOR3D p) {
    for (const auto& plane : frustum)
        if (distanceFromPlane(plane, p) <= 0.0f) return false;
    return true;
}

bool SphereInFrustum(VECTOR3D centre, float radius) {
    for (const auto& plane : frustum)
        if (distanceFromPlane(plane, centre) <= -radius) return false;
    return true;
}

bool SphereInsideSinglePlaneFrustum(int32_t plane, VECTOR3D centre, float radius) {
    return !(distanceFromPlane(frustum[plane], centre) <= -radius);
}

VECTOR3D PointAtEdgeOfFrustum(int32_t plane, VECTOR3D p) {
    const uint32_t index = static_cast<uint32_t>(plane);
    if (index > 5) return {0.0f, 0.0f, 0.0f};
    const float a = frustum[index][0], b = frustum[index][1], c = frustum[index][2], d = frustum[index][3];
    if (index <= 1) {
        float sum = b * p.y + d;
        sum = c * p.z + sum;
        return {-sum / a, p.y, p.z};
    }
    if (index <= 3) {
        float sum = c * p.z + d;
        sum = a * p.x + sum;
        return {p.x, -sum / b, p.z};
    }
    float sum = b * p.y + d;
    sum = a * p.x + sum;
    return {p.x, p.y, -sum / c};
}

#include "geometry/quaternion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/directions.h"

namespace {

constexpr double kPi = 3.141592653589793;

void ExpectNear(QUAT q, double x, double y, double z, double w, double tolerance = 1e-12) {
    EXPECT_NEAR(q.x, x, tolerance);
    EXPECT_NEAR(q.y, y, tolerance);
    EXPECT_NEAR(q.z, z, tolerance);
    EXPECT_NEAR(q.w, w, tolerance);
}

void ExpectNear(VECTOR3D v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

TEST(Quat, NewAndIdentityAreTheUnitRotationAndEqualityIsExact) {
    const QUAT q;
    EXPECT_TRUE(q.IsEqualTo(QUAT(0, 0, 0, 1)));
    QUAT p(1, 2, 3, 4);
    p.Identity();
    EXPECT_TRUE(p.IsEqualTo(QUAT(0, 0, 0, 1)));
    EXPECT_TRUE(QUAT(0, 0, 0, 1).IsEqualTo(QUAT(-0.0, 0, 0, 1)));
    EXPECT_FALSE(QUAT(0, 0, 0, 1).IsEqualTo(QUAT(0, 0, 0, std::nextafter(1.0, 2.0))));
    EXPECT_FALSE(QUAT(NAN, 0, 0, 1).IsEqualTo(QUAT(NAN, 0, 0, 1)));
}

TEST(Quat, InverseMagnitudeNormaliseAndAxisAngle) {
    EXPECT_TRUE(InverseQuat(QUAT(1, 2, 3, 4)).IsEqualTo(QUAT(-1, -2, -3, 4)));
    EXPECT_EQ(QuatMagnitude(QUAT(0, 0, 0, 2)), 2.0);
    EXPECT_EQ(QuatMagnitude(QUAT(1, 2, 2, 4)), 5.0);
    EXPECT_TRUE(NormalizeQuat(QUAT(0, 0, 0, 2)).IsEqualTo(QUAT(0, 0, 0, 1)));
    const QUAT zero = NormalizeQuat(QUAT(0, 0, 0, 0));
    EXPECT_TRUE(std::isnan(zero.x) && std::isnan(zero.y) && std::isnan(zero.z) && std::isnan(zero.w));
    // The axis need not be unit length: the result is normalised.
    ExpectNear(AxisAndAngleToQuat({0, 0, 2}, kPi), 0, 0, 1, 0);
    ExpectNear(AxisAndAngleToQuat({1, 0, 0}, kPi / 2), std::sqrt(0.5), 0, 0, std::sqrt(0.5));
}

TEST(Quat, MultiplyIsTheHamiltonProductInOrder) {
    const QUAT i(1, 0, 0, 0), j(0, 1, 0, 0), k(0, 0, 1, 0);
    EXPECT_TRUE(MultiplyQuats(i, j).IsEqualTo(k));
    EXPECT_TRUE(MultiplyQuats(j, i).IsEqualTo(QUAT(0, 0, -1, 0)));
    EXPECT_TRUE(MultiplyQuats(k, k).IsEqualTo(QUAT(0, 0, 0, -1)));
    // A quaternion times its conjugate is its squared length.
    ExpectNear(MultiplyQuats(QUAT(1, 2, 3, 4), InverseQuat(QUAT(1, 2, 3, 4))), 0, 0, 0, 30);
    // RotationToQuat is qz * qy * qx.
    const QUAT qx = AxisAndAngleToQuat({1, 0, 0}, 20 * kPi / 180);
    const QUAT qy = AxisAndAngleToQuat({0, 1, 0}, 35 * kPi / 180);
    const QUAT qz = AxisAndAngleToQuat({0, 0, 1}, 50 * kPi / 180);
    const QUAT r = RotationToQuat({20, 35, 50});
    const QUAT product = MultiplyQuats(qz, MultiplyQuats(qy, qx));
    ExpectNear(r, product.x, product.y, product.z, product.w);
}

TEST(Quat, RotationToQuatTurnsPointsAsRotateDoes) {
    ExpectNear(RotationToQuat({90, 90, 0}), 0.5, 0.5, -0.5, 0.5);
    ExpectNear(MatrixRotatePoint(QuatToRotationMatrix(RotationToQuat({90, 90, 0})), {0, 1, 0}), 1, 0, 0);

    const VECTOR3D angles[] = {{90, 90, 0}, {20, 35, 50}, {-70, 125, 310}, {0, 0, 180}, {181, -45, 7}};
    const VECTOR3D points[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {3, -1, 2}};
    for (const VECTOR3D& a : angles) {
        const MATRIX m = QuatToRotationMatrix(RotationToQuat(a));
        for (const VECTOR3D& p : points) {
            VECTOR3D expected = p;
            Rotate(&expected, a.x, a.y, a.z);
            const VECTOR3D got = MatrixRotatePoint(m, p);
            ExpectNear(got, expected.x, expected.y, expected.z);
        }
    }
}

TEST(Quat, QuatFromMatrixRecoversUnitQuaternions) {
    // Each case reaches a different branch: positive trace, then X, Y and Z largest.
    const QUAT cases[] = {
        RotationToQuat({20, 35, 50}),
        NormalizeQuat(QUAT(0.9, 0.1, 0.2, 0.1)),
        NormalizeQuat(QUAT(0.1, -0.9, 0.2, 0.1)),
        NormalizeQuat(QUAT(0.2, 0.1, 0.9, -0.1)),
    };
    for (const QUAT& q : cases) {
        const QUAT back = QuatFromMatrix(QuatToRotationMatrix(q));
        // q and -q are the same rotation; compare with the sign of w that came back.
        const double sign = (back.w * q.w < 0) ? -1.0 : 1.0;
        ExpectNear(back, sign * q.x, sign * q.y, sign * q.z, sign * q.w);
    }
}

struct HalfTurn {
    QUAT q;         // the turn that builds the matrix
    QUAT expected;  // what the largest-diagonal path gives back
};

TEST(Quat, QuatFromMatrixKeepsTheLowerIndexOnATie) {
    const double h = std::sqrt(0.5);
    const HalfTurn cases[] = {
        // Trace -1, X alone largest.
        {QUAT(1, 0, 0, 0), QUAT(1, 0, 0, 0)},
        // m[0] = m[5] = 0 > m[10]: X stays chosen, so x comes back positive.
        {QUAT(h, -h, 0, 0), QUAT(h, -h, 0, 0)},
        {QUAT(-h, h, 0, 0), QUAT(h, -h, 0, 0)},
        // m[5] = m[10] = 0 > m[0]: Y stays chosen over Z.
        {QUAT(0, -h, h, 0), QUAT(0, h, -h, 0)},
    };
    for (const auto& c : cases) {
        const QUAT back = QuatFromMatrix(QuatToRotationMatrix(c.q));
        ExpectNear(back, c.expected.x, c.expected.y, c.expected.z, c.expected.w);
    }
    EXPECT_TRUE(QuatFromMatrix(QuatToRotationMatrix(QUAT(1, 0, 0, 0))).IsEqualTo(QUAT(1, 0, 0, 0)));
}

TEST(Quat, SlerpEndsArcAndLinearPath) {
    const QUAT from = RotationToQuat({0, 0, 0});
    const QUAT to = RotationToQuat({0, 0, 90});
    const QUAT fromCopy = from, toCopy = to;
    EXPECT_TRUE(QuatSlerp(&from, &to, 0).IsEqualTo(from));
    EXPECT_TRUE(QuatSlerp(&from, &to, 1).IsEqualTo(to));
    // Halfway along the arc is the 45-degree turn, still of unit length.
    const QUAT half = QuatSlerp(&from, &to, 0.5);
    const QUAT expected = RotationToQuat({0, 0, 45});
    ExpectNear(half, expected.x, expected.y, expected.z, expected.w);
    EXPECT_TRUE(from.IsEqualTo(fromCopy) && to.IsEqualTo(toCopy));

    // A negative dot product takes the short way round, toward -to.
    const QUAT negated(-to.x, -to.y, -to.z, -to.w);
    EXPECT_TRUE(QuatSlerp(&from, &negated, 1).IsEqualTo(to));

    // Within the tolerance the blend is linear and not normalised.
    // (1 - cosom is 5e-6 here, just inside the tolerance.)
    const QUAT near(0.003, 0, 0, 0.999995);
    const QUAT blend = QuatSlerp(&from, &near, 0.5);
    EXPECT_EQ(blend.x, 0.5 * 0.003);
    EXPECT_EQ(blend.w, 0.5 * 1.0 + 0.5 * 0.999995);
    const QUAT twice(0, 0, 0, 2);
    EXPECT_TRUE(QuatSlerp(&twice, &twice, 0.25).IsEqualTo(QUAT(0, 0, 0, 2)));
}

TEST(Directions, MatrixAngleBetweenVectorsIsARightHandedFrameFacingFromBToA) {
    const MATRIX straight = MatrixAngleBetweenVectors({0, 0, 5}, {0, 0, 0});
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(straight.m[i], (i % 5 == 0) ? 1.0 : 0.0, 1e-7) << i;
    // Equal points face +Z rather than dividing by zero.
    const MATRIX same = MatrixAngleBetweenVectors({2, 2, 2}, {2, 2, 2});
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(same.m[i], (i % 5 == 0) ? 1.0 : 0.0, 1e-7) << i;

    // Straight up: the up vector becomes (-1, 0, 0), giving columns (0, 0, -1), (-1, 0, 0), (0, 1, 0).
    const MATRIX up = MatrixAngleBetweenVectors({0, 5, 0}, {0, 0, 0});
    const double expectedUp[16] = {0, 0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(up.m[i], expectedUp[i], 1e-7) << i;

    const VECTOR3D pairs[][2] = {{{0, 5, 0}, {0, 0, 0}}, {{0, -3, 0}, {0, 0, 0}}, {{1, 2, 3}, {-4, 0, 1}}, {{0, 0, -1}, {0, 0, 0}}};
    for (const auto& pair : pairs) {
        const MATRIX m = MatrixAngleBetweenVectors(pair[0], pair[1]);
        const VECTOR3D s{float(m.m[0]), float(m.m[1]), float(m.m[2])};
        const VECTOR3D u{float(m.m[4]), float(m.m[5]), float(m.m[6])};
        const VECTOR3D f{float(m.m[8]), float(m.m[9]), float(m.m[10])};
        const VECTOR3D direction = NormalizeVector(SubtractVectors(pair[0], pair[1]));
        ExpectNear(f, direction.x, direction.y, direction.z);
        EXPECT_NEAR(VectorDotProduct(s, u), 0, 1e-6);
        EXPECT_NEAR(VectorDotProduct(s, f), 0, 1e-6);
        EXPECT_NEAR(VectorDotProduct(u, f), 0, 1e-6);
        EXPECT_NEAR(VectorLength(s), 1, 1e-6);
        EXPECT_NEAR(VectorLength(u), 1, 1e-6);
        // s . (u x f) = +1: a rotation, not a reflection.
        EXPECT_NEAR(VectorDotProduct(s, VectorCrossProduct(u, f)), 1, 1e-6);
    }
}

struct AngleCase {
    VECTOR3D a, b, expected;
    float tolerance;
};

TEST(Directions, AngleBetweenVectorsNudgesTheDirectionOffTheAxis) {
    const AngleCase cases[] = {
        {{0, 0, 0}, {5, 0, 0}, {0, 90, 0}, 1e-5f},
        // Equal points: d = (0.1, 0, 1).
        {{1, 2, 3}, {1, 2, 3}, {0, 5.7105931f, 0}, 1e-4f},
        // d.x gets 0.1, so straight along +Z still tilts.
        {{0, 0, 0}, {0, 0, 5}, {0, 1.1457628f, 0}, 1e-4f},
        // Along -Y: a 90-degree turn about +X, leaning slightly to +Y with the nudged x.
        {{0, 0, 0}, {0, -5, 0}, {89.982f, 1.7996f, 0}, 1e-3f},
        // The float length rounds below d.z here; the turn is still about 0.0014 degrees, not NaN.
        {{0, 0, 0}, {0, 0, 4097}, {0, 0.0014f, 0}, 0.002f},
    };
    for (const auto& c : cases) {
        const VECTOR3D got = AngleBetweenVectors(c.a, c.b);
        ExpectNear(got, c.expected.x, c.expected.y, c.expected.z, c.tolerance);
    }
}

}  // namespace

#include "geometry/vector3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

void ExpectNear(VECTOR3D v, float x, float y, float z, float tolerance = 1e-6f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

struct RotateCase {
    VECTOR3D from;
    float ax, ay, az;
    VECTOR3D to;
};

TEST(Rotate, TurnsRightHandedAboutEachAxisInTheOrderXYZ) {
    const RotateCase cases[] = {
        {{1, 0, 0}, 0, 0, 90, {0, 1, 0}},
        {{0, 1, 0}, 90, 0, 0, {0, 0, 1}},
        {{0, 0, 1}, 0, 90, 0, {1, 0, 0}},
        // X first turns (0,1,0) to (0,0,1), then Y turns that to (1,0,0); Y first would end at (0,0,1).
        {{0, 1, 0}, 90, 90, 0, {1, 0, 0}},
    };
    for (const auto& c : cases) {
        VECTOR3D v = c.from;
        Rotate(&v, c.ax, c.ay, c.az);
        ExpectNear(v, c.to.x, c.to.y, c.to.z);
    }
}

TEST(Rotate, ZeroAnglesLeaveTheVectorBitForBit) {
    VECTOR3D v = MakePoint(0.1f, -3.7e-9f, 12345.678f);
    Rotate(&v, 0, 0, 0);
    EXPECT_TRUE(CompareVectors(v, MakePoint(0.1f, -3.7e-9f, 12345.678f)));
    // A zero angle skips its axis: only y and z change under an X turn.
    VECTOR3D w = MakePoint(0.1f, 1, 2);
    Rotate(&w, 30, 0, 0);
    EXPECT_EQ(w.x, 0.1f);
}

TEST(Vectors, ArithmeticTakesTheSecondFromTheFirst) {
    ExpectNear(SubtractVectors({5, 5, 5}, {1, 2, 3}), 4, 3, 2);
    ExpectNear(AddVectors({1, 2, 3}, {1, 1, 1}), 2, 3, 4);
    ExpectNear(MultiplyVectors({1, 2, 3}, {2, 2, 2}), 2, 4, 6);
    VECTOR3D q = DivideVectors({1, -1, 0}, {0, 0, 0});
    EXPECT_TRUE(std::isinf(q.x) && q.x > 0);
    EXPECT_TRUE(std::isinf(q.y) && q.y < 0);
    EXPECT_TRUE(std::isnan(q.z));
}

TEST(Vectors, DistanceIsTheSquareOfTheEuclideanDistance) {
    EXPECT_EQ(DistanceBetweenVectors({0, 0, 0}, {3, 4, 0}), 25.0);
    EXPECT_EQ(DistanceBetweenVectors({1.5f, 2, 3}, {1.5f, 2, 3}), 0.0);
    EXPECT_EQ(VectorLength({3, 4, 12}), 13.0);
    EXPECT_EQ(VectorLengthNOSQRT({3, 4, 12}), 169.0f);
}

TEST(Vectors, CrossProductsAndNormals) {
    ExpectNear(VectorCrossProduct({1, 0, 0}, {0, 1, 0}), 0, 0, 1);
    ExpectNear(VectorCrossProduct({0, 1, 0}, {1, 0, 0}), 0, 0, -1);
    ExpectNear(CalculateNormal({0, 0, 0}, {1, 0, 0}, {1, 1, 0}), 0, 0, 1);
    EXPECT_EQ(VectorDotProduct({1, 2, 3}, {4, 5, 6}), 32.0f);
}

TEST(Vectors, NormaliseAndScaleWorkInDoubleThenRound) {
    ExpectNear(NormalizeVector({0, 3, 4}), 0, 0.6f, 0.8f);
    VECTOR3D n = NormalizeVector({0, 0, 0});
    EXPECT_TRUE(std::isnan(n.x) && std::isnan(n.y) && std::isnan(n.z));
    // 0.1f * 3.0 in double rounds to the float nearest 0.3000000044703484, not to 0.1f*3.0f.
    VECTOR3D s = ScaleVector({0.1f, 0, 0}, 3.0);
    EXPECT_EQ(s.x, static_cast<float>(static_cast<double>(0.1f) * 3.0));
}

TEST(Vectors, CompareIsExactIEEEEquality) {
    EXPECT_TRUE(CompareVectors({0, 0, 0}, {-0.0f, 0, 0}));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(CompareVectors({nan, 0, 0}, {nan, 0, 0}));
    EXPECT_FALSE(CompareVectors({1, 0, 0}, {std::nextafter(1.0f, 2.0f), 0, 0}));
}

TEST(Vectors, ConstructorsFillTheirFieldsInOrder) {
    VECTOR3D v;
    EXPECT_TRUE(CompareVectors(v, {0, 0, 0}));
    point2d p = Make2DPoint(1, 2);
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 2);
    colour4d c = MakeColour(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(c.r, 0.1f);
    EXPECT_EQ(c.a, 0.4f);
}

TEST(Clamp, WrapsByWholeStepsOfHigh) {
    const struct {
        double value, low, high, expected;
    } cases[] = {
        {-30, 0, 360, 330}, {720, 0, 360, 0}, {360, 0, 360, 0}, {359.5, 0, 360, 359.5},
        {5, 10, 20, 5},  // the step is high, not high - low
    };
    for (const auto& c : cases) EXPECT_EQ(clamp(c.value, c.low, c.high), c.expected) << c.value;
    EXPECT_TRUE(std::isnan(clamp(std::nan(""), 0, 360)));
}

}  // namespace

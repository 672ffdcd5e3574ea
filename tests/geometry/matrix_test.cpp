#include "geometry/matrix.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "geometry/quaternion.h"

namespace {

void ExpectIdentity(const MATRIX& m) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m.m[i], (i % 5 == 0) ? 1.0 : 0.0) << "element " << i;
}

void ExpectNear(VECTOR3D v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

MATRIX Diagonal(double a, double b, double c, double d) {
    MATRIX m;
    m.m[0] = a;
    m.m[5] = b;
    m.m[10] = c;
    m.m[15] = d;
    return m;
}

TEST(Matrix, NewMatrixAndEveryResultStartAsTheIdentity) {
    ExpectIdentity(MATRIX());
    MATRIX m;
    m.Zero();
    for (double e : m.m) EXPECT_EQ(e, 0.0);
    m.m[7] = 9;
    m.Identity();
    ExpectIdentity(m);
    // Results that write only the 3x3 keep the identity's fourth row and column.
    ExpectIdentity(MatrixFromAngle({0, 0, 0}));
}

TEST(Matrix, SetTranslationWritesOnlyTheLastColumn) {
    MATRIX m = Diagonal(2, 3, 4, 5);
    m.SetTranslation({1, 2, 3});
    EXPECT_EQ(m.m[12], 1.0);
    EXPECT_EQ(m.m[13], 2.0);
    EXPECT_EQ(m.m[14], 3.0);
    EXPECT_EQ(m.m[0], 2.0);
    EXPECT_EQ(m.m[15], 5.0);
    EXPECT_EQ(m.m[3], 0.0);
}

TEST(Matrix, AddAndSubtractTakeTheSecondFromTheFirst) {
    MATRIX a = Diagonal(5, 6, 7, 8), b = Diagonal(1, 2, 3, 4);
    a.m[4] = 10;
    const MATRIX sum = AddMatrix(a, b), difference = SubtractMatrix(a, b);
    EXPECT_EQ(sum.m[0], 6.0);
    EXPECT_EQ(sum.m[4], 10.0);
    EXPECT_EQ(sum.m[15], 12.0);
    EXPECT_EQ(difference.m[0], 4.0);
    EXPECT_EQ(difference.m[4], 10.0);
    EXPECT_EQ(difference.m[15], 4.0);
}

TEST(Matrix, MultiplyAppliesTheSecondMatrixFirst) {
    MATRIX t;
    t.SetTranslation({1, 0, 0});
    const MATRIX s = Diagonal(2, 2, 2, 1);
    // T*S scales then moves; S*T moves then scales.
    ExpectNear(MatrixPointMultiply(MultiplyMatrix(t, s), {1, 0, 0}), 3, 0, 0, 0);
    ExpectNear(MatrixPointMultiply(MultiplyMatrix(s, t), {1, 0, 0}), 4, 0, 0, 0);
    // A product that is not symmetric in its indices: rows of A against columns of B.
    MATRIX a, b;
    for (int i = 0; i < 16; ++i) {
        a.m[i] = i + 1;
        b.m[i] = 16 - i;
    }
    const MATRIX p = MultiplyMatrix(a, b);
    // Row 1 of A is (2, 6, 10, 14); column 2 of B is (8, 7, 6, 5).
    EXPECT_EQ(p.m[2 * 4 + 1], 2.0 * 8 + 6.0 * 7 + 10.0 * 6 + 14.0 * 5);
}

TEST(Matrix, PointFunctionsUseOrIgnoreTheTranslation) {
    MATRIX m;
    m.SetTranslation({1, 2, 3});
    ExpectNear(MatrixPointMultiply(m, {0, 0, 0}), 1, 2, 3, 0);
    ExpectNear(MatrixRotatePoint(m, {0, 0, 0}), 0, 0, 0, 0);
    ExpectNear(MatrixTranslatePoint(m, {1, 1, 1}), 2, 3, 4, 0);
    ExpectNear(MatrixInverseTranslatePoint(m, {1, 1, 1}), 0, -1, -2, 0);

    // A quarter turn about Z and its transpose undo each other.
    const MATRIX r = MatrixFromAngle({0, 0, 90});
    const VECTOR3D turned = MatrixRotatePoint(r, {1, 2, 3});
    ExpectNear(MatrixInverseRotatePoint(r, turned), 1, 2, 3);
    // The result is rounded to float.
    MATRIX third;
    third.m[0] = 1.0 / 3.0;
    EXPECT_EQ(MatrixPointMultiply(third, {1, 0, 0}).x, static_cast<float>(1.0 / 3.0));
}

TEST(Matrix, MatrixFromAngleTurnsByMinusXThenYThenMinusZ) {
    const VECTOR3D angles[] = {{30, 0, 0}, {0, 40, 0}, {0, 0, 50}, {20, 35, 50}, {-70, 125, 310}};
    const VECTOR3D points[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, -2, 3}};
    for (const VECTOR3D& a : angles) {
        for (const VECTOR3D& p : points) {
            VECTOR3D expected = p;
            Rotate(&expected, -a.x, a.y, -a.z);
            const VECTOR3D got = MatrixRotatePoint(MatrixFromAngle(a), p);
            ExpectNear(got, expected.x, expected.y, expected.z);
        }
    }
}

struct RoundTrip {
    VECTOR3D in, out;
    float tolerance;
};

TEST(Matrix, AngleFromMatrixInvertsMatrixFromAngleWrappedIntoZeroTo360) {
    const RoundTrip cases[] = {
        {{20, 35, 50}, {20, 35, 50}, 1e-4f},
        {{-30, 10, 200}, {330, 10, 200}, 1e-4f},
        {{0, 0, 0}, {0, 0, 0}, 0},
        {{0, -40, 0}, {0, 320, 0}, 1e-4f},
        // Gimbal lock: the X angle is folded into Z (30 - 10).
        {{10, 90, 30}, {0, 90, 20}, 1e-4f},
    };
    for (const auto& c : cases) {
        const VECTOR3D got = AngleFromMatrix(MatrixFromAngle(c.in));
        ExpectNear(got, c.out.x, c.out.y, c.out.z, c.tolerance);
        EXPECT_GE(got.x, 0.0f);
        EXPECT_LT(got.x, 360.0f);
        EXPECT_LT(got.z, 360.0f);
    }
    // y is rounded to float before and after the conversion to degrees.
    EXPECT_EQ(AngleFromMatrix(MatrixFromAngle({10, 90, 30})).y, 90.0f);
}

TEST(Matrix, AngleFromMatrixSurvivesARotationRoundedJustPastOne) {
    // This matrix's m[2] comes out as 1.0000000000000002; asin of it is NaN.
    const MATRIX m = QuatToRotationMatrix(RotationToQuat({333, 270, 212}));
    ASSERT_GT(m.m[2], 1.0) << "the fixture no longer rounds past one";
    const VECTOR3D got = AngleFromMatrix(m);
    EXPECT_FALSE(std::isnan(got.x) || std::isnan(got.y) || std::isnan(got.z));
    EXPECT_NEAR(got.y, 270.0f, 1e-3f);
}

class SaveMatrixTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/korvel_matrix_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        char* cwd = getcwd(nullptr, 0);
        previous = cwd;
        std::free(cwd);
        ASSERT_EQ(chdir(folder.c_str()), 0);
    }
    void TearDown() override {
        ASSERT_EQ(chdir(previous.c_str()), 0);
        std::system(("rm -rf '" + folder + "'").c_str());
    }
    static std::string Read(const char* name) {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string folder, previous;
};

TEST_F(SaveMatrixTest, AppendsABlankLineAndOneColumnPerLine) {
    SaveMatrix(MATRIX());
    const std::string identity =
        "\n"
        "1.00000 0.00000 0.00000 0.00000 \n"
        "0.00000 1.00000 0.00000 0.00000 \n"
        "0.00000 0.00000 1.00000 0.00000 \n"
        "0.00000 0.00000 0.00000 1.00000 \n";
    EXPECT_EQ(Read("test.txt"), identity);

    MATRIX m;
    m.SetTranslation({1.5f, -2, 12345.125f});
    SaveMatrix(m);
    EXPECT_EQ(Read("test.txt"), identity + "\n"
                                           "1.00000 0.00000 0.00000 0.00000 \n"
                                           "0.00000 1.00000 0.00000 0.00000 \n"
                                           "0.00000 0.00000 1.00000 0.00000 \n"
                                           "1.50000 -2.00000 12345.12500 1.00000 \n");
}

TEST_F(SaveMatrixTest, WritesNothingWhenTheFileCannotBeOpened) {
    ASSERT_EQ(mkdir("test.txt", 0700), 0);
    SaveMatrix(MATRIX());
    struct stat info {};
    ASSERT_EQ(stat("test.txt", &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

}  // namespace

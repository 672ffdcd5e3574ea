#include "geometry/frustum.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/gl_test.h"
#include "tests/support/scene_views.h"

namespace {

class FrustumTest : public GLTest {
protected:
    void LoadIdentities() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    // The flat view of glyph size 15: 93 x 69, origin in the middle, scale 93 / (2 * 0.15 * 93).
    void LoadFlatView() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 93, 0, 69, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(93 * 0.5f, 69 * 0.5f, 0);
        const float g = 15 / 100.0f;
        const int M = static_cast<int>(0.25 / g * 56);
        const float s = 93.0f / (2 * (g * M));
        glScalef(s, s, 1);
    }
    static void ExpectPlane(int index, float a, float b, float c, float d) {
        EXPECT_NEAR(frustum[index][0], a, 1e-6) << "plane " << index;
        EXPECT_NEAR(frustum[index][1], b, 1e-6) << "plane " << index;
        EXPECT_NEAR(frustum[index][2], c, 1e-6) << "plane " << index;
        EXPECT_NEAR(frustum[index][3], d, 1e-5) << "plane " << index;
    }
};

TEST_F(FrustumTest, IdentityMatricesGiveTheUnitCube) {
    LoadIdentities();
    ExtractFrustum();
    ExpectPlane(0, -1, 0, 0, 1);
    ExpectPlane(1, 1, 0, 0, 1);
    ExpectPlane(2, 0, 1, 0, 1);
    ExpectPlane(3, 0, -1, 0, 1);
    ExpectPlane(4, 0, 0, -1, 1);
    ExpectPlane(5, 0, 0, 1, 1);
}

TEST_F(FrustumTest, PointAndSphereTestsAgainstTheUnitCube) {
    LoadIdentities();
    ExtractFrustum();
    EXPECT_TRUE(PointInFrustum({0, 0, 0}));
    EXPECT_FALSE(PointInFrustum({1, 0, 0}));  // on the right plane is outside
    EXPECT_TRUE(SphereInFrustum({1.4f, 0, 0}, 0.5f));
    EXPECT_FALSE(SphereInFrustum({1.5f, 0, 0}, 0.5f));  // only touches
    EXPECT_TRUE(SphereInsideSinglePlaneFrustum(2, {0, -1.4f, 0}, 0.5f));
    EXPECT_FALSE(SphereInsideSinglePlaneFrustum(2, {0, -1.6f, 0}, 0.5f));
    // Beyond two planes' corner but not wholly outside either: reported inside.
    EXPECT_TRUE(SphereInFrustum({1.3f, 1.3f, 0}, 0.5f));
}

TEST_F(FrustumTest, PointAtEdgeSolvesAlongTheAxisThePlaneFaces) {
    LoadIdentities();
    ExtractFrustum();
    VECTOR3D top = PointAtEdgeOfFrustum(3, {0.5f, 7, 0.25f});
    EXPECT_TRUE(CompareVectors(top, {0.5f, 1, 0.25f}));
    VECTOR3D right = PointAtEdgeOfFrustum(0, {0.3f, 2, 4});
    EXPECT_TRUE(CompareVectors(right, {1, 2, 4}));
    VECTOR3D near = PointAtEdgeOfFrustum(5, {0.3f, 2, 4});
    EXPECT_TRUE(CompareVectors(near, {0.3f, 2, -1}));
    for (int bad : {6, -1, 1000})
        EXPECT_TRUE(CompareVectors(PointAtEdgeOfFrustum(bad, {1, 2, 3}), {0, 0, 0})) << bad;
}

TEST_F(FrustumTest, TopEdgeOfThe3DRestView) {
    LoadRestView(true);
    const double tan225 = std::tan(22.5 * 3.141592653589793 / 180);
    for (float x : {-20.0f, 3.0f, 24.0f}) {
        EXPECT_NEAR(PointAtEdgeOfFrustum(3, {x, 25, -25}).y, 50 * tan225, 1e-3);  // about 20.71
        EXPECT_NEAR(PointAtEdgeOfFrustum(3, {x, 25, 0}).y, 25 * tan225, 1e-3);    // about 10.36
    }
    EXPECT_NEAR(PointAtEdgeOfFrustum(3, {3, 25, -25}).y, 20.71, 0.005);
}

TEST_F(FrustumTest, FlatViewOfGlyphSize15) {
    LoadFlatView();
    ExtractFrustum();
    ExpectPlane(3, 0, -1, 0, 10.35f);
    EXPECT_NEAR(PointAtEdgeOfFrustum(3, {2, 0, 0}).y, 10.35, 1e-5);
    EXPECT_NEAR(frustum[0][3], 13.95, 1e-5);  // right edge
}

TEST_F(FrustumTest, ExtractionReadsTheMatricesAtTheCall) {
    LoadIdentities();
    ExtractFrustum();
    glTranslatef(100, 0, 0);
    EXPECT_TRUE(PointInFrustum({0, 0, 0}));
    ExtractFrustum();
    EXPECT_FALSE(PointInFrustum({0, 0, 0}));
    EXPECT_TRUE(PointInFrustum({-100, 0, 0}));
}

TEST(FrustumBeforeExtraction, AllZeroTableAcceptsSpheresAndNoPoints) {
    // The table as the program starts, before any frame has extracted it.
    for (auto& plane : frustum)
        for (float& c : plane) c = 0.0f;
    EXPECT_FALSE(PointInFrustum({0, 0, 0}));
    EXPECT_TRUE(SphereInFrustum({5, 5, 5}, 0.1f));
    EXPECT_TRUE(SphereInsideSinglePlaneFrustum(2, {5, 5, 5}, 0.1f));
    EXPECT_TRUE(std::isnan(PointAtEdgeOfFrustum(3, {1, 2, 3}).y));
}

}  // namespace

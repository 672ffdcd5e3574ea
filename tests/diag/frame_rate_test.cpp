#include "diag/frame_rate.h"

#include <gtest/gtest.h>

namespace {

class FrameRateTest : public ::testing::Test {
protected:
    void SetUp() override {
        fCount = 0;
        frameRate = 0.0;
        lastcountTime = 0.0;
        lastcountFrame = 0;
    }
    static void ExpectState(double rate, double time, int32_t frame) {
        EXPECT_EQ(frameRate, rate);
        EXPECT_EQ(lastcountTime, time);
        EXPECT_EQ(lastcountFrame, frame);
    }
};

TEST_F(FrameRateTest, NothingDuringTheFirstQuarterSecond) {
    fCount = 30;
    CalcFrameRate(0.2);
    ExpectState(0, 0, 0);
    // Exactly 0.25 is not beyond 0 + 0.25.
    CalcFrameRate(0.25);
    ExpectState(0, 0, 0);
    CalcFrameRate(0.5);
    ExpectState(60, 0.5, 30);
}

TEST_F(FrameRateTest, RateOverEachSpanLongerThanAQuarterSecond) {
    fCount = 30;
    CalcFrameRate(1.0);
    ExpectState(30, 1.0, 30);
    // 1.2 and 1.25 are not beyond 1.0 + 0.25.
    fCount = 40;
    CalcFrameRate(1.2);
    ExpectState(30, 1.0, 30);
    CalcFrameRate(1.25);
    ExpectState(30, 1.0, 30);
    fCount = 45;
    CalcFrameRate(1.5);
    ExpectState(30, 1.5, 45);
    // A counter that stays put gives a rate of 0.
    CalcFrameRate(2.0);
    ExpectState(0, 2.0, 45);
}

}  // namespace

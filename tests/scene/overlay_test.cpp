// The overlay's timelines with steady frames, and the clock's cells.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "scene/clock.h"
#include "scene/scene_driver.h"
#include "tests/support/gl_test.h"
#include "tests/support/scene_views.h"

namespace {

class OverlayTest : public GLTest {
protected:
    // A driver of an 800 x 600 view whose field has no lines: the overlay alone draws.
    std::unique_ptr<SSMAIN> Driver(bool preview = false) {
        auto driver = std::make_unique<SSMAIN>(800);
        driver->Setup(preview, 800, 600);
        SETTINGS settings;
        settings.GLYPHSIZE = 15;
        settings.CLOCKSIZE = 90;
        settings.SHOWCLOCK = true;
        driver->CODE->Setup(&settings);
        driver->SetSize(800, 600);
        return driver;
    }
    // Steady frames of 0.1 s up to a total time; the camera's and the lines' draws are none
    // (no lines, rotation off), so rand() is drawn only by the overlay.
    static void RunTo(SSMAIN& driver, double seconds) {
        while (driver.TOTALTIME < seconds - 1e-9) {
            driver.Update(0.1);
            driver.Draw();
        }
    }
};

TEST_F(OverlayTest, BannersComeInAtTheTopAfter15sLeaveAt35sAndReturnAtTheBottomAt55s) {
    const auto r = Draws(9, 4);
    srand(9);
    auto driver = Driver();
    const int slotDraw = r[1], sideDraw = r[2];  // r[0]: the starting slot

    RunTo(*driver, 14.9);
    EXPECT_FALSE(driver->BANNERSHOWN);
    EXPECT_LT(driver->BANNERPOS.y, -35.0f);  // gliding from -35 toward -40
    EXPECT_GT(driver->BANNERPOS.y, -40.0f);

    RunTo(*driver, 15.1);  // the first choice: top edge
    EXPECT_TRUE(driver->BANNERSHOWN);
    EXPECT_TRUE(driver->BANNERATTOP);
    EXPECT_EQ(driver->BANNERSLOT, 4u + slotDraw % 2);
    EXPECT_EQ(driver->BANNERPOS.x, sideDraw % 2 == 0 ? 0.0f : 800 - 256.0f);
    EXPECT_GT(driver->BANNERPOS.y, 560.0f);  // started at HEIGHT + 40, gliding toward HEIGHT - 40
    EXPECT_LT(driver->BANNERPOS.y, 640.0f);
    EXPECT_NEAR(driver->BANNERTIMER, 20.0f - 0.1f, 1e-4);

    RunTo(*driver, 34.9);
    EXPECT_TRUE(driver->BANNERSHOWN);
    EXPECT_NEAR(driver->BANNERPOS.y, 560.0f, 1.0);
    RunTo(*driver, 35.1);  // back out over the top
    EXPECT_FALSE(driver->BANNERSHOWN);
    EXPECT_TRUE(driver->BANNERATTOP);

    RunTo(*driver, 55.1);  // the second choice: bottom edge
    EXPECT_TRUE(driver->BANNERSHOWN);
    EXPECT_FALSE(driver->BANNERATTOP);
    EXPECT_GT(driver->BANNERPOS.y, -40.0f);
    EXPECT_LT(driver->BANNERPOS.y, 5.0f);
    RunTo(*driver, 74.9);
    EXPECT_NEAR(driver->BANNERPOS.y, 5.0f, 0.5);
}

TEST_F(OverlayTest, TimerExpiryDropsTheOvershootAndTheTwoDrawsPickSlotAndSide) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        auto driver = Driver();
        const auto r = Draws(seed, 2);
        srand(seed);
        driver->BANNERTIMER = 0.005f;
        driver->Update(0.017);
        driver->Draw();
        EXPECT_EQ(driver->BANNERTIMER, 20.0f);
        EXPECT_EQ(driver->BANNERSLOT, 4u + r[0] % 2);
        EXPECT_EQ(driver->BANNERPOS.x, r[1] % 2 == 0 ? 0.0f : 544.0f);
    }
}

TEST_F(OverlayTest, IntroFadesOneAfterTheOtherAndThenIsDone) {
    auto driver = Driver();
    const struct {
        double time;
        float a, b;
    } timeline[] = {
        {5, 0.0f, -1.0f}, {6, 1.0f, -1.0f}, {7, 1.0f, 0.0f},  {8, 1.0f, 1.0f},
        {12, 1.0f, 1.0f}, {13, 0.0f, 1.0f}, {14, 0.0f, 0.0f},
    };
    for (const auto& at : timeline) {
        RunTo(*driver, at.time);
        EXPECT_NEAR(driver->INTROFADEA, at.a, 0.11) << at.time;
        EXPECT_NEAR(driver->INTROFADEB, at.b, 0.11) << at.time;
        EXPECT_FALSE(driver->INTRODONE) << at.time;
    }
    RunTo(*driver, 14.5);
    EXPECT_TRUE(driver->INTRODONE);
}

TEST_F(OverlayTest, PreviewDrawsNoneOfItAndTheIntroWaits) {
    const int next = Draws(3, 5)[4];  // after the starting slot and the camera's three
    srand(3);
    auto driver = Driver(true);
    RunTo(*driver, 30);
    EXPECT_FALSE(driver->INTRODONE);
    EXPECT_EQ(driver->INTROFADEA, -5.0f);
    EXPECT_EQ(driver->BANNERTIMER, 15.0f);
    EXPECT_EQ(rand(), next);  // the overlay drew nothing
}

TEST(ClockCells, TwoDigitsEachWithSeparators) {
    int cells[8];
    SSMAIN::ClockCells(9, 5, 3, false, cells);
    EXPECT_EQ(std::vector<int>(cells, cells + 8), (std::vector<int>{0, 9, 10, 0, 5, 10, 0, 3}));

    const struct {
        int hour;
        int twentyFour, twelve;
    } hours[] = {{0, 0, 12}, {12, 12, 12}, {13, 13, 1}, {23, 23, 11}, {1, 1, 1}};
    for (const auto& h : hours) {
        SSMAIN::ClockCells(h.hour, 0, 0, false, cells);
        EXPECT_EQ(cells[0] * 10 + cells[1], h.twentyFour) << h.hour;
        SSMAIN::ClockCells(h.hour, 0, 0, true, cells);
        EXPECT_EQ(cells[0] * 10 + cells[1], h.twelve) << h.hour;
    }
}

TEST(Clock, BreaksTheTimeDownInTheLocalZone) {
    setenv("TZ", "Asia/Kolkata", 1);  // UTC+5:30: the zone is really applied
    tzset();
    SetClockTimeSource([]() -> std::time_t { return 1765443903; });  // 2025-12-11 09:05:03 UTC
    int h = -1, m = -1, s = -1;
    Clock(&h, &m, &s);
    SetClockTimeSource(nullptr);
    EXPECT_EQ(h, 14);
    EXPECT_EQ(m, 35);
    EXPECT_EQ(s, 3);
}

}  // namespace

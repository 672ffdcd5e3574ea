#include "front/korvel3d_ss_view.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "front/preferences.h"
#include "platform/bundle.h"
#include "platform/display_services.h"
#include "platform/offscreen_window.h"
#include "platform/screen_saver_defaults.h"
#include "tests/support/stepped_clock.h"
#include "tests/support/temp_folder.h"

namespace {

// Each test needs its own preference folder, and the module's store is opened
// once per process: CTest runs every test in a process of its own.
class ScreenSaverViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("KORVEL3D_CONFIG_DIR", config.path().c_str(), 1);
        // The main screen comes from the X server; these tests place windows on screens by hand.
        unsetenv("DISPLAY");
        CloseDisplayServices();  // forget a connection an earlier test of this process made
        SetResourceSearchFolder(KORVEL_BUILD_DIR "/app");
    }
    void TearDown() override { SetResourceSearchFolder(""); }

    // A store of the current version holding the user's own values.
    void StoreUserValues(bool mainMonitorOnly, int glyphSize, int mode) {
        ScreenSaverDefaults store(config.path(), "zqKorvel3D");
        bool flag = false;
        SETTINGS settings;
        ReadPreferences(store, flag, settings);  // writes the defaults and the version mark
        settings.GLYPHSIZE = glyphSize;
        settings.MODE = mode;
        ASSERT_TRUE(WritePreferences(store, mainMonitorOnly, settings));
    }

    std::unique_ptr<Korvel3DSSView> Make(OffscreenWindow& window, bool preview = false) {
        auto view = std::make_unique<Korvel3DSSView>();
        view->setWindow(&window);
        EXPECT_TRUE(view->initWithFrame({0, 0, 320, 200}, preview));
        return view;
    }

    TempFolder config;
    SteppedClock clock;
};

TEST_F(ScreenSaverViewTest, PreferencesAreReadAfterTheDriverAndSetUpTheField) {
    StoreUserValues(false, 30, 1);
    OffscreenWindow window(320, 200);
    auto view = Make(window);
    ASSERT_NE(view->glView, nullptr);
    SSMAIN* driver = view->glView->ssMain;
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(view->mySettings.GLYPHSIZE, 30);
    EXPECT_EQ(driver->CODE->GLYPHSIZE, 30);
    EXPECT_TRUE(driver->CODE->IS2D);
    EXPECT_EQ(driver->CODE->VIEWWIDTH, 46.0f);  // the field's own flat extents for glyph size 30
    EXPECT_NE(driver->CODE->GLYPHTEX, 0u);
    EXPECT_DOUBLE_EQ(view->animationTimeInterval(), 1 / 60.0);
    EXPECT_TRUE(view->ThisScreenIsOn);
    EXPECT_FALSE(driver->PREVIEW);
}

TEST_F(ScreenSaverViewTest, AnEmptyStoreGetsTheDefaults) {
    OffscreenWindow window(320, 200);
    auto view = Make(window);
    EXPECT_EQ(view->mySettings.TOT_NUM_LINES, 600);
    EXPECT_EQ(view->glView->ssMain->CODE->TOT_NUM_LINES, 600);
    ScreenSaverDefaults store(config.path(), "zqKorvel3D");
    EXPECT_EQ(store.stringForKey("version").value_or(""), "1.0");
}

TEST_F(ScreenSaverViewTest, PreviewReachesTheDriver) {
    OffscreenWindow window(320, 200);
    auto view = Make(window, true);
    EXPECT_TRUE(view->isPreview());
    EXPECT_TRUE(view->glView->isPreview);
    EXPECT_TRUE(view->glView->ssMain->PREVIEW);
}

TEST_F(ScreenSaverViewTest, OverridesApplyAfterTheStoreAndAreNotWritten) {
    OffscreenWindow window(320, 200);
    auto view = std::make_unique<Korvel3DSSView>();
    view->setWindow(&window);
    view->setSettingsOverride([](bool&, SETTINGS& settings) { settings.TOT_NUM_LINES = 77; });
    ASSERT_TRUE(view->initWithFrame({0, 0, 320, 200}, false));
    EXPECT_EQ(view->glView->ssMain->CODE->TOT_NUM_LINES, 77);
    ScreenSaverDefaults store(config.path(), "zqKorvel3D");
    EXPECT_EQ(store.integerForKey("LineDensity"), 600);
}

TEST_F(ScreenSaverViewTest, EveryTickAnimatesWhileTheRuleAllows) {
    OffscreenWindow window(320, 200);
    auto view = Make(window);
    view->startAnimation();
    EXPECT_TRUE(view->isAnimating());
    for (int tick = 0; tick < 3; ++tick) {
        clock.advance(1 / 60.0);
        view->animateOneFrame();
    }
    EXPECT_EQ(window.flushCount(), 3);
    EXPECT_NEAR(view->glView->ssMain->TOTALTIME, 3 / 60.0, 1e-9);
}

TEST_F(ScreenSaverViewTest, MainDisplayRule) {
    StoreUserValues(true, 15, 0);
    // No X display: the main screen is none, number 0.
    OffscreenWindow elsewhere(320, 200);
    elsewhere.setScreen(DisplayScreen{7, "RIGHT", {1920, 0, 1920, 1080}, false});
    auto off = Make(elsewhere);
    EXPECT_TRUE(off->MainMonitorOnly);
    off->startAnimation();
    EXPECT_FALSE(off->ThisScreenIsOn);
    clock.advance(1 / 60.0);
    off->animateOneFrame();  // the first tick stops it before any animation step
    EXPECT_FALSE(off->isAnimating());
    EXPECT_EQ(elsewhere.flushCount(), 0);

    // A window without a screen gives number 0, the same as the (missing) main screen.
    OffscreenWindow nowhere(320, 200);
    auto on = Make(nowhere);
    on->startAnimation();
    EXPECT_TRUE(on->ThisScreenIsOn);
    clock.advance(1 / 60.0);
    on->animateOneFrame();
    EXPECT_TRUE(on->isAnimating());
    EXPECT_EQ(nowhere.flushCount(), 1);
}

TEST_F(ScreenSaverViewTest, WithoutAContextTheViewLogsAndStaysBlank) {
    auto view = std::make_unique<Korvel3DSSView>();  // in no window: no context can be made
    testing::internal::CaptureStderr();
    EXPECT_TRUE(view->initWithFrame({0, 0, 320, 200}, false));
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Error: OpenGL Screen Saver failed to initialize NSOpenGLView!\n"), std::string::npos);
    EXPECT_EQ(view->glView, nullptr);
    view->startAnimation();
    view->animateOneFrame();  // does nothing, fails nothing
    ScreenSaverDefaults store(config.path(), "zqKorvel3D");
    EXPECT_FALSE(store.stringForKey("version").has_value());  // no preferences were read
}

TEST_F(ScreenSaverViewTest, ResizingTheViewReachesTheDriver) {
    OffscreenWindow window(320, 200);
    auto view = Make(window);
    view->startAnimation();
    clock.advance(1 / 60.0);
    view->animateOneFrame();
    window.resize(200, 100);
    view->setFrameSize(200, 100);  // sub-views follow
    clock.advance(1 / 60.0);
    view->animateOneFrame();
    EXPECT_EQ(view->glView->ssMain->WIDTH, 200);
    EXPECT_EQ(view->glView->ssMain->HEIGHT, 100);
}

}  // namespace

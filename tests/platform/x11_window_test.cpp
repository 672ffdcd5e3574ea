// Screens, X11 windows and saver views in them, on private X servers with RandR monitors.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <memory>
#include <thread>

#include "front/basic_opengl_view.h"
#include "front/korvel3d_ss_view.h"
#include "front/preferences.h"
#include "platform/bundle.h"
#include "platform/display_services.h"
#include "platform/saver_engine.h"
#include "platform/screen_saver_defaults.h"
#include "platform/screens.h"
#include "platform/window_server.h"
#include "platform/x11_window.h"
#include "tests/support/temp_folder.h"
#include "tests/support/x_window_pixels.h"
#include "tests/support/xvfb_server.h"

namespace {

class X11HostTest : public ::testing::Test {
protected:
    void Start(int width, int height) {
        ASSERT_TRUE(server.start(width, height)) << server.error();
        setenv("DISPLAY", server.name().c_str(), 1);
        setenv("KORVEL3D_CONFIG_DIR", config.path().c_str(), 1);
        SetResourceSearchFolder(KORVEL_BUILD_DIR "/app");
        CloseDisplayServices();  // the next look goes to this server
        windows = WindowServer::open();
        ASSERT_NE(windows, nullptr);
        format = BasicOpenGLView::basicPixelFormat();
    }
    void TearDown() override {
        views.clear();
        hosts.clear();
        windows.reset();
        // Before the server goes: a dead server under an open connection ends the process.
        CloseDisplayServices();
        SetResourceSearchFolder("");
    }
    void StoreMainMonitorOnly(bool on) {
        ScreenSaverDefaults store(config.path(), "zqKorvel3D");
        bool flag = false;
        SETTINGS settings;
        ReadPreferences(store, flag, settings);  // writes the version mark and the defaults
        ASSERT_TRUE(WritePreferences(store, on, settings));
    }
    Korvel3DSSView* AddView(std::unique_ptr<X11Window> window) {
        auto view = std::make_unique<Korvel3DSSView>();
        view->setWindow(window.get());
        EXPECT_TRUE(view->initWithFrame(window->contentBounds(), false));
        window->setContentView(view.get());
        hosts.push_back(std::move(window));
        views.push_back(std::move(view));
        return views.back().get();
    }

    XvfbServer server;
    TempFolder config;
    std::unique_ptr<WindowServer> windows;
    std::unique_ptr<PixelFormat> format;
    std::vector<std::unique_ptr<X11Window>> hosts;  // after the views: views go first
    std::vector<std::unique_ptr<Korvel3DSSView>> views;
};

TEST_F(X11HostTest, ScreensAreTheRandRMonitorsWithThePrimaryAsMain) {
    Start(2000, 1000);
    ASSERT_TRUE(server.setMonitor({"LEFT", 0, 0, 1000, 1000, false, true}));
    ASSERT_TRUE(server.setMonitor({"RIGHT", 1000, 0, 1000, 1000, true, false}));
    const std::vector<DisplayScreen> screens = Screens();
    ASSERT_EQ(screens.size(), 2u);
    const DisplayScreen* left = screens[0].name == "LEFT" ? &screens[0] : &screens[1];
    const DisplayScreen* right = screens[0].name == "RIGHT" ? &screens[0] : &screens[1];
    EXPECT_NE(left->number, 0);
    EXPECT_NE(right->number, 0);
    EXPECT_NE(left->number, right->number);
    EXPECT_EQ(right->frame.x, 1000);
    EXPECT_EQ(MainScreen()->number, right->number);
    // The same monitor keeps its number.
    EXPECT_EQ(Screens()[0].number, screens[0].number);

    struct Case {
        Rect area;
        const char* monitor;  // nullptr: none
    };
    const Case cases[] = {
        {{100, 100, 200, 200}, "LEFT"},
        {{900, 0, 300, 100}, "RIGHT"},   // more of it on the right
        {{-500, -500, 100, 100}, nullptr},  // off every monitor
    };
    for (const Case& c : cases) {
        const std::optional<DisplayScreen> holding = ScreenHolding(c.area);
        if (!c.monitor) {
            EXPECT_FALSE(holding);
        } else {
            ASSERT_TRUE(holding);
            EXPECT_EQ(holding->name, c.monitor);
        }
    }
    // With no primary monitor, the one at the origin is the main one.
    ASSERT_TRUE(server.setMonitor({"RIGHT", 1000, 0, 1000, 1000, false, false}));
    EXPECT_EQ(MainScreen()->number, left->number);
}

TEST_F(X11HostTest, WithMainMonitorOnlyTheOtherMonitorStopsAfterItsFirstTick) {
    Start(1280, 480);
    ASSERT_TRUE(server.setMonitor({"LEFT", 0, 0, 640, 480, false, true}));
    ASSERT_TRUE(server.setMonitor({"RIGHT", 640, 0, 640, 480, true, false}));
    StoreMainMonitorOnly(true);
    SaverEngine engine;
    for (const DisplayScreen& monitor : Screens()) {
        std::string error;
        auto window = X11Window::createFullScreen(*windows, monitor, *format, &error);
        ASSERT_NE(window, nullptr) << error;
        window->show();
        EXPECT_EQ(window->screen()->number, monitor.number);
        engine.add(AddView(std::move(window)), monitor.name);
    }
    ASSERT_EQ(engine.entries().size(), 2u);
    engine.startAnimation();
    // Ticks 50 ms apart for four seconds: the field shows on the animating monitor.
    for (int tick = 0; tick < 80; ++tick) {
        engine.tick(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (const SaverEngine::Entry& entry : engine.entries()) {
        SCOPED_TRACE(entry.name);
        Display* dpy = static_cast<Display*>(windows->display());
        WindowColours colours;
        const X11Window* window = entry.name == hosts[0]->screen()->name ? hosts[0].get() : hosts[1].get();
        ASSERT_TRUE(CountWindowColours(dpy, window->id(), &colours));
        if (entry.name == "RIGHT") {
            EXPECT_TRUE(entry.view->isAnimating());
            EXPECT_EQ(entry.frames, 80);
            EXPECT_GT(colours.code, 200);
        } else {
            EXPECT_FALSE(entry.view->isAnimating());
            EXPECT_EQ(entry.ticks, 1);
            EXPECT_EQ(entry.frames, 0);
            EXPECT_EQ(colours.code, 0);  // never drawn
        }
    }
}

TEST_F(X11HostTest, ResizingTheWindowReachesTheDriverAtTheNextFrame) {
    Start(800, 600);
    std::string error;
    auto window = X11Window::createTopLevel(*windows, 320, 240, *format, &error);
    ASSERT_NE(window, nullptr) << error;
    window->show();
    X11Window* host = window.get();
    Korvel3DSSView* view = AddView(std::move(window));
    view->startAnimation();
    view->animateOneFrame();
    ASSERT_NE(view->glView, nullptr);
    EXPECT_EQ(view->glView->ssMain->WIDTH, 320);

    Display* dpy = static_cast<Display*>(windows->display());
    XResizeWindow(dpy, host->id(), 500, 410);
    windows->sync();
    windows->dispatchEvents();
    EXPECT_EQ(host->contentBounds().width, 500);
    EXPECT_EQ(view->glView->bounds().height, 410);
    EXPECT_EQ(view->glView->ssMain->WIDTH, 320);  // not before the next redraw
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    view->animateOneFrame();
    EXPECT_EQ(view->glView->ssMain->WIDTH, 500);
    EXPECT_EQ(view->glView->ssMain->HEIGHT, 410);
}

TEST_F(X11HostTest, AForeignWindowDestroyedMidDrawEndsItsViewQuietly) {
    Start(800, 600);
    Display* other = XOpenDisplay(server.name().c_str());  // the window's owner
    ASSERT_NE(other, nullptr);
    const Window foreign = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 300, 200, 0, 0, 0);
    XMapWindow(other, foreign);
    XSync(other, False);
    std::string error;
    auto window = X11Window::adopt(*windows, foreign, &error);
    ASSERT_NE(window, nullptr) << error;
    EXPECT_EQ(window->contentBounds().width, 300);
    X11Window* host = window.get();
    Korvel3DSSView* view = AddView(std::move(window));
    view->startAnimation();
    view->animateOneFrame();

    XDestroyWindow(other, foreign);
    XSync(other, False);
    // Drawing on after the window went must neither end the process nor report success forever.
    for (int tick = 0; tick < 3; ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        view->animateOneFrame();
        windows->sync();
    }
    windows->dispatchEvents();
    EXPECT_TRUE(host->lost());
    bool destroyed = false;
    for (const WindowEvent& event : host->takeEvents()) destroyed |= event.kind == WindowEvent::Kind::Destroyed;
    EXPECT_TRUE(destroyed);
    XCloseDisplay(other);

    EXPECT_EQ(X11Window::adopt(*windows, foreign, &error), nullptr);
    EXPECT_NE(error.find("no window"), std::string::npos) << error;
}

}  // namespace

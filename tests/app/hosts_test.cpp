// The korvel3d program in its host modes, run as a user or XScreenSaver runs
// it, on private X servers.
// gtest before Xlib: Xlib's macros (None, Bool) break gtest's headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/x_window_pixels.h"
#include "tests/support/xvfb_server.h"

namespace {

const std::string kProgram = KORVEL_BUILD_DIR "/app/korvel3d";

bool WaitUntil(double seconds, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

class HostOnDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start(800, 600)) << server.error();
        dpy = XOpenDisplay(server.name().c_str());
        ASSERT_NE(dpy, nullptr);
    }
    void TearDown() override {
        if (dpy) XCloseDisplay(dpy);
    }
    std::vector<std::pair<std::string, std::string>> env() const {
        return {{"DISPLAY", server.name()}, {"KORVEL3D_CONFIG_DIR", config.path()}, {"XSCREENSAVER_WINDOW", "-"}};
    }
    // Waits until the window shows glyphs in the code colour over the background.
    WindowColours WaitForCode(unsigned long window) {
        WindowColours colours;
        WaitUntil(15, [&] { return CountWindowColours(dpy, window, &colours) && colours.code > 200; });
        return colours;
    }

    XvfbServer server;
    TempFolder config;
    Display* dpy = nullptr;
};

void SendToWindow(Display* dpy, Window window, XEvent event) {
    XSendEvent(dpy, window, False, NoEventMask, &event);
    XFlush(dpy);
}

XEvent KeyPressOf(Display* dpy, Window window, KeySym symbol) {
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = dpy;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(dpy);
    event.xkey.keycode = XKeysymToKeycode(dpy, symbol);
    event.xkey.same_screen = True;
    return event;
}

XEvent CloseRequestOf(Display* dpy, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    return event;
}

TEST_F(HostOnDisplayTest, WindowModeDrawsFramesUntilEscapeQOrClose) {
    struct Case {
        const char* what;
        std::function<XEvent(Display*, Window)> event;
    };
    const Case cases[] = {
        {"Escape", [](Display* d, Window w) { return KeyPressOf(d, w, XK_Escape); }},
        {"q", [](Display* d, Window w) { return KeyPressOf(d, w, XK_q); }},
        {"close", [](Display* d, Window w) { return CloseRequestOf(d, w); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChildProcess program;
        ASSERT_TRUE(program.start(kProgram, {"--window", "320x240"}, env()));
        unsigned long window = 0;
        ASSERT_TRUE(WaitUntil(10, [&] { return (window = FindWindowNamed(dpy, "Korvel 3D")) != 0; }))
            << program.errorOutput();
        const WindowColours colours = WaitForCode(window);
        EXPECT_EQ(colours.total, 320 * 240);
        EXPECT_GT(colours.code, 200);
        // The field is sparse: most of the window is the background.
        EXPECT_GT(colours.background, colours.total / 2);
        // A key other than Escape or q leaves it running.
        SendToWindow(dpy, window, KeyPressOf(dpy, window, XK_a));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_TRUE(program.running());
        SendToWindow(dpy, window, c.event(dpy, window));
        EXPECT_EQ(program.wait(5), 0) << program.errorOutput();
        XSync(dpy, False);
    }
}

class ForeignWindowTest : public HostOnDisplayTest {
protected:
    void SetUp() override {
        HostOnDisplayTest::SetUp();
        if (HasFatalFailure()) return;
        // The window another client (XScreenSaver) made and hands to the hack.
        window = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 50, 40, 400, 300, 0, 0, 0);
        XMapWindow(dpy, window);
        XSync(dpy, False);
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", window);
        idText = id;
    }
    Window window = 0;
    std::string idText;
};

TEST_F(ForeignWindowTest, HackModeDrawsIntoTheGivenWindowAndExitsZeroOnSigterm) {
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        bool viaEnvironment;
    };
    const Case cases[] = {
        {"--window-id", {"--window-id", ""}, false},
        {"-window-id", {"-window-id", ""}, false},
        {"XSCREENSAVER_WINDOW with -root", {"-root"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> arguments = c.arguments;
        if (arguments.size() == 2) arguments[1] = idText;
        auto environment = env();
        if (c.viaEnvironment) environment.back() = {"XSCREENSAVER_WINDOW", idText};
        ChildProcess program;
        ASSERT_TRUE(program.start(kProgram, arguments, environment));
        const WindowColours colours = WaitForCode(window);
        EXPECT_GT(colours.code, 200) << program.errorOutput();
        EXPECT_GT(colours.background, colours.total / 2);
        // No window of its own.
        EXPECT_EQ(FindWindowNamed(dpy, "Korvel 3D"), 0u);
        program.signal(SIGTERM);
        EXPECT_EQ(program.wait(5), 0) << program.errorOutput();
        // Clear the window for the next case.
        XClearWindow(dpy, window);
        XSync(dpy, False);
    }
}

TEST_F(ForeignWindowTest, HackModeFollowsTheWindowAndEndsCleanlyWhenItIsDestroyed) {
    ChildProcess program;
    ASSERT_TRUE(program.start(kProgram, {"--window-id", idText}, env()));
    ASSERT_GT(WaitForCode(window).code, 200) << program.errorOutput();
    // A larger window is drawn whole: glyphs reach its new lower right part.
    XResizeWindow(dpy, window, 640, 480);
    XSync(dpy, False);
    bool reachesNewArea = WaitUntil(15, [&] {
        XImage* image = XGetImage(dpy, window, 400, 300, 240, 180, AllPlanes, ZPixmap);
        if (!image) return false;
        int green = 0;
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x) green += ((XGetPixel(image, x, y) >> 8) & 0xFF) >= 60;
        XDestroyImage(image);
        return green > 50;
    });
    EXPECT_TRUE(reachesNewArea);
    // The owner destroys the window mid-draw: the hack leaves quietly, status 0.
    XDestroyWindow(dpy, window);
    XSync(dpy, False);
    EXPECT_EQ(program.wait(5), 0) << program.errorOutput();
}

// PNG files of a folder, sorted by name.
std::vector<std::string> Files(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Decodes the PNG whole; false when libpng refuses it.
bool DecodePNG(const std::string& path, png_uint_32* width, png_uint_32* height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    const bool ok = png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    *width = image.width;
    *height = image.height;
    return ok;
}

class RenderTest : public ::testing::Test {
protected:
    // Headless: no display at all.
    int Render(const std::string& folder, const std::string& seed, std::string* errors = nullptr) {
        ChildProcess program;
        // 12 frames a second: 24 frames reach two seconds in, when the field shows.
        if (!program.start(kProgram,
                           {"--render", folder, "--frames", "24", "--size", "160x120", "--fps", "12", "--seed", seed},
                           {{"DISPLAY", "-"}, {"KORVEL3D_CONFIG_DIR", config.path()}}))
            return -3;
        const int status = program.wait(60);
        if (errors) *errors = program.errorOutput();
        return status;
    }
    TempFolder out;
    TempFolder config;
};

TEST_F(RenderTest, WritesNValidFramesTheSameForTheSameSeed) {
    std::string errors;
    ASSERT_EQ(Render(out / "a", "42", &errors), 0) << errors;
    ASSERT_EQ(Render(out / "b", "42"), 0);
    ASSERT_EQ(Render(out / "c", "43"), 0);
    const std::vector<std::string> names = Files(out / "a");
    ASSERT_EQ(names.size(), 24u);
    EXPECT_EQ(names.front(), "frame-00001.png");
    EXPECT_EQ(names.back(), "frame-00024.png");
    for (const std::string& name : names) {
        png_uint_32 width = 0, height = 0;
        EXPECT_TRUE(DecodePNG(out / "a/" + name, &width, &height)) << name;
        EXPECT_EQ(width, 160u);
        EXPECT_EQ(height, 120u);
    }
    // The last frames show the field (not an empty background) ...
    const std::string last = ReadWholeFile(out / "a/frame-00024.png");
    EXPECT_NE(last, ReadWholeFile(out / "a/frame-00001.png"));
    // ... the same for the same seed, byte for byte, and another for another seed.
    for (const std::string& name : names) EXPECT_EQ(ReadWholeFile(out / "a/" + name), ReadWholeFile(out / "b/" + name)) << name;
    EXPECT_NE(last, ReadWholeFile(out / "c/frame-00024.png"));
    // One progress line every tenth of the way when stderr is not a terminal, and a last line saying where.
    const std::vector<std::string> lines = Lines(errors);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("wrote 24 frames of 160x120 to " + (out / "a")), std::string::npos) << errors;
}

TEST(ProgramArgumentsTest, BadArgumentsExitTwoWithOneLine) {
    TempFolder config;
    struct Case {
        std::vector<std::string> arguments;
        const char* says;
    };
    const Case cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"--window", "0x100"}, "size"},
        {{"--render", "/proc/korvel3d-frames", "--frames", "2"}, "/proc/korvel3d-frames"},
        {{"--render", "/dev/null", "--frames", "2"}, "/dev/null"},
        // No display where one is needed.
        {{"--window", "320x240"}, "display"},
        {{}, "display"},
        {{"--window-id", "0x1234"}, "display"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.arguments) shown += a + " ";
        SCOPED_TRACE(shown);
        ChildProcess program;
        ASSERT_TRUE(program.start(kProgram, c.arguments,
                                  {{"DISPLAY", "-"}, {"XSCREENSAVER_WINDOW", "-"}, {"KORVEL3D_CONFIG_DIR", config.path()}}));
        EXPECT_EQ(program.wait(10), 2);
        const std::vector<std::string> lines = Lines(program.errorOutput());
        ASSERT_EQ(lines.size(), 1u) << program.errorOutput();
        EXPECT_NE(lines[0].find(c.says), std::string::npos) << lines[0];
        EXPECT_EQ(program.output(), "");
    }
}

TEST_F(HostOnDisplayTest, AWindowIdThatIsNoWindowExitsTwo) {
    ChildProcess program;
    ASSERT_TRUE(program.start(kProgram, {"--window-id", "0x7fffff0"}, env()));
    EXPECT_EQ(program.wait(10), 2);
    EXPECT_EQ(Lines(program.errorOutput()).size(), 1u) << program.errorOutput();
}

}  // namespace

// The survey against private Xvfb servers whose RandR monitors the tests set.
#include "caps/gl_caps.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "caps/gl_caps_rules.h"
#include "platform/display_services.h"
#include "platform/headless_gl_context.h"
#include "tests/support/xvfb_server.h"

// Last: Xlib's macros (None, Bool, Status) clash with GoogleTest's names.
#include <EGL/egl.h>
#include <GL/glx.h>

namespace {

void ForgetTable() {
    delete[] gDisplayCaps;
    gDisplayCaps = nullptr;
    gNumDisplays = 0;
}

class SurveyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetTable();
        ASSERT_TRUE(server.start(3840, 1080)) << server.error();
        ASSERT_TRUE(server.setMonitor({"LEFT", 0, 0, 1920, 1080, false, true}));
        ASSERT_TRUE(server.setMonitor({"RIGHT", 1920, 0, 1920, 1080, true, false}));
        ASSERT_EQ(server.monitorCount(), 2);
        ASSERT_TRUE(OpenDisplayServices(server.name().c_str()));
    }
    void TearDown() override {
        ForgetTable();
        // Before the server goes: a dead server under an open connection ends the process.
        CloseDisplayServices();
    }

    static const GLCaps* RecordAt(int x, int y) {
        for (uint32_t i = 0; i < gNumDisplays; ++i)
            if (gDisplayCaps[i].originX == x && gDisplayCaps[i].originY == y) return &gDisplayCaps[i];
        return nullptr;
    }
    // Every survey refills every record, so a mark in a field the change test
    // does not compare survives exactly as long as the table is not rebuilt.
    static void MarkTable() {
        for (uint32_t i = 0; i < gNumDisplays; ++i) gDisplayCaps[i].maxTextureUnits = kMark;
    }
    static int MarkedRecords() {
        int marked = 0;
        for (uint32_t i = 0; i < gNumDisplays; ++i) marked += gDisplayCaps[i].maxTextureUnits == kMark;
        return marked;
    }

    static constexpr int32_t kMark = -4242;
    XvfbServer server;
};

TEST_F(SurveyTest, OneRecordPerMonitorWithItsGeometryRendererAndFlags) {
    getCurrentCaps();
    ASSERT_NE(gDisplayCaps, nullptr);
    ASSERT_EQ(gNumDisplays, 2u);

    // The primary is listed first, and the masks follow the list.
    EXPECT_EQ(gDisplayCaps[0].originX, 1920);
    EXPECT_EQ(gDisplayCaps[0].openGLDisplayMask, 1u);
    EXPECT_EQ(gDisplayCaps[1].originX, 0);
    EXPECT_EQ(gDisplayCaps[1].openGLDisplayMask, 2u);
    EXPECT_NE(gDisplayCaps[0].displayID, gDisplayCaps[1].displayID);
    EXPECT_NE(gDisplayCaps[0].device, gDisplayCaps[1].device);
    // Only LEFT holds an output to give a display-manager id.
    EXPECT_EQ(gDisplayCaps[0].dmDisplayID, 0u);
    EXPECT_NE(gDisplayCaps[1].dmDisplayID, 0u);

    for (uint32_t i = 0; i < gNumDisplays; ++i) {
        const GLCaps& caps = gDisplayCaps[i];
        SCOPED_TRACE("display " + std::to_string(i));
        EXPECT_NE(caps.displayID, 0u);
        EXPECT_NE(caps.device, 0u);
        EXPECT_EQ(caps.width, 1920);
        EXPECT_EQ(caps.height, 1080);
        EXPECT_EQ(caps.originY, 0);
        EXPECT_EQ(caps.bitsPerPixel, 32);  // depth 24 is stored in 32-bit pixels
        EXPECT_EQ(caps.refreshRate, 0);    // Xvfb's modes carry no timings
        ASSERT_NE(caps.rendererString[0], '\0') << "no context was made on this display";
        EXPECT_NE(caps.vendorString[0], '\0');
        EXPECT_EQ(caps.versionNumber, GLVersionNumber(caps.versionString));
        EXPECT_GE(caps.versionNumber, 0x140);
        EXPECT_TRUE(caps.hasEXT_stencil_wrap);  // by the 1.4 rule
        EXPECT_GT(caps.maxTextureUnits, 0);
        EXPECT_GT(caps.maxTextureSize, 0);
        if (std::string(caps.rendererString).find("llvmpipe") != std::string::npos) {
            // A software renderer is not the accelerated one the record describes.
            EXPECT_EQ(caps.rendererID, 0);
            EXPECT_EQ(caps.videoMemory, 0);
            EXPECT_FALSE(caps.fullScreen);
        }
    }
}

TEST_F(SurveyTest, SecondCallWithoutChangeKeepsTheTable) {
    getCurrentCaps();
    ASSERT_EQ(gNumDisplays, 2u);
    GLCaps* table = gDisplayCaps;
    MarkTable();
    EXPECT_FALSE(HaveOpenGLCapsChanged(gDisplayCaps, gNumDisplays));
    getCurrentCaps();
    getCurrentCaps();
    EXPECT_EQ(gDisplayCaps, table);
    EXPECT_EQ(MarkedRecords(), 2) << "the table was surveyed again without a change";
}

TEST_F(SurveyTest, MonitorChangesMakeTheNextCallRebuild) {
    struct Step {
        const char* what;
        std::function<bool(XvfbServer&)> change;
        uint32_t displays;
        int x, y, width, height;  // a record the new table must hold
    };
    const Step steps[] = {
        {"LEFT resized", [](XvfbServer& s) { return s.setMonitor({"LEFT", 0, 0, 1280, 1024, false, true}); }, 2,
         0, 0, 1280, 1024},
        {"RIGHT moved", [](XvfbServer& s) { return s.setMonitor({"RIGHT", 2000, 50, 1920, 1080, true, false}); },
         2, 2000, 50, 1920, 1080},
        {"THIRD added", [](XvfbServer& s) { return s.setMonitor({"THIRD", 0, 1024, 640, 56, false, false}); }, 3,
         0, 1024, 640, 56},
        {"RIGHT removed", [](XvfbServer& s) { return s.deleteMonitor("RIGHT"); }, 2, 0, 0, 1280, 1024},
    };
    getCurrentCaps();
    ASSERT_EQ(gNumDisplays, 2u);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        MarkTable();
        ASSERT_TRUE(step.change(server));
        EXPECT_TRUE(HaveOpenGLCapsChanged(gDisplayCaps, gNumDisplays));
        getCurrentCaps();
        ASSERT_EQ(gNumDisplays, step.displays);
        EXPECT_EQ(MarkedRecords(), 0) << "the table was not surveyed again";
        const GLCaps* caps = RecordAt(step.x, step.y);
        ASSERT_NE(caps, nullptr);
        EXPECT_EQ(caps->width, step.width);
        EXPECT_EQ(caps->height, step.height);
        EXPECT_NE(caps->rendererString[0], '\0');
        EXPECT_FALSE(HaveOpenGLCapsChanged(gDisplayCaps, gNumDisplays));
    }
    EXPECT_EQ(RecordAt(2000, 50), nullptr);
}

TEST_F(SurveyTest, AtMost32DisplaysAreListed) {
    for (int i = 0; i < 33; ++i)
        ASSERT_TRUE(server.setMonitor({"M" + std::to_string(i), i * 100, 0, 100, 100, false, false}));
    ASSERT_EQ(server.monitorCount(), 35);
    uint32_t count = 0;
    EXPECT_EQ(CheckOpenGLCaps(0, nullptr, &count), 0);
    EXPECT_EQ(count, 32u);
    // A table for the first 32 is current, however many more the server has.
    DisplayID listed[64];
    ASSERT_EQ(GetActiveDisplayList(64, listed, &count), 0);
    EXPECT_EQ(count, 35u);
}

TEST_F(SurveyTest, CallersEGLContextIsCurrentAgainAfterTheSurvey) {
    HeadlessGLContext gl;
    ASSERT_TRUE(gl.create(8, 8)) << gl.error();
    const EGLContext before = eglGetCurrentContext();
    GLint framebuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    ASSERT_NE(framebuffer, 0);

    getCurrentCaps();
    ASSERT_EQ(gNumDisplays, 2u);
    ASSERT_NE(gDisplayCaps[1].rendererString[0], '\0') << "the survey made no context, so nothing was switched";

    EXPECT_EQ(eglGetCurrentContext(), before);
    EXPECT_EQ(glXGetCurrentContext(), nullptr);
    // GL calls reach the caller's context: its framebuffer is still bound and draws.
    GLint after = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &after);
    EXPECT_EQ(after, framebuffer);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const auto pixels = gl.readPixels();
    ASSERT_EQ(pixels.size(), 8u * 8 * 4);
    EXPECT_EQ(pixels[1], 255);
    EXPECT_EQ(pixels[0], 0);
}

TEST_F(SurveyTest, CallersGLXContextIsCurrentAgainAfterTheSurvey) {
    // The caller's own connection and context, as a window's would be.
    Display* dpy = XOpenDisplay(server.name().c_str());
    ASSERT_NE(dpy, nullptr);
    const int want[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT, None};
    int n = 0;
    GLXFBConfig* formats = glXChooseFBConfig(dpy, DefaultScreen(dpy), want, &n);
    ASSERT_TRUE(formats && n > 0);
    const int size[] = {GLX_PBUFFER_WIDTH, 4, GLX_PBUFFER_HEIGHT, 4, None};
    GLXPbuffer drawable = glXCreatePbuffer(dpy, formats[0], size);
    GLXContext context = glXCreateNewContext(dpy, formats[0], GLX_RGBA_TYPE, nullptr, True);
    XFree(formats);
    ASSERT_TRUE(glXMakeContextCurrent(dpy, drawable, drawable, context));

    getCurrentCaps();
    ASSERT_EQ(gNumDisplays, 2u);
    ASSERT_NE(gDisplayCaps[0].rendererString[0], '\0');

    EXPECT_EQ(glXGetCurrentContext(), context);
    EXPECT_EQ(glXGetCurrentDisplay(), dpy);
    EXPECT_EQ(glXGetCurrentDrawable(), drawable);
    EXPECT_EQ(glXGetCurrentReadDrawable(), drawable);
    EXPECT_NE(glGetString(GL_RENDERER), nullptr);

    glXMakeContextCurrent(dpy, None, None, nullptr);
    glXDestroyContext(dpy, context);
    glXDestroyPbuffer(dpy, drawable);
    XCloseDisplay(dpy);
}

TEST_F(SurveyTest, NoContextIsLeftCurrentWhenTheCallerHadNone) {
    getCurrentCaps();
    ASSERT_EQ(gNumDisplays, 2u);
    ASSERT_NE(gDisplayCaps[0].rendererString[0], '\0');
    EXPECT_EQ(glXGetCurrentContext(), nullptr);
    EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
}

TEST(HeadlessSurveyTest, WithoutAnXDisplayTheTableIsEmptyAndNothingFails) {
    CloseDisplayServices();
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");

    ForgetTable();
    getCurrentCaps();
    EXPECT_EQ(gNumDisplays, 0u);
    EXPECT_FALSE(HaveOpenGLCapsChanged(gDisplayCaps, gNumDisplays));
    getCurrentCaps();
    EXPECT_EQ(gNumDisplays, 0u);
    uint32_t count = 7;
    EXPECT_EQ(CheckOpenGLCaps(0, nullptr, &count), 0);
    EXPECT_EQ(count, 0u);

    ForgetTable();
    if (display) setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace

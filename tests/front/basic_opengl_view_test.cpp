#include "front/basic_opengl_view.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>

#include "platform/bundle.h"
#include "platform/offscreen_window.h"
#include "tests/support/stepped_clock.h"

namespace {

std::array<float, 16> Matrix(GLenum which) {
    std::array<float, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

class BasicOpenGLViewTest : public ::testing::Test {
protected:
    // A view over a whole offscreen window, set up as the screen-saver view does it.
    void Make(float width, float height, bool withArchive = true) {
        SetResourceSearchFolder(withArchive ? KORVEL_BUILD_DIR "/app" : "/nonexistent");
        window = std::make_unique<OffscreenWindow>(static_cast<int>(width), static_cast<int>(height));
        ASSERT_TRUE(window->valid()) << window->error();
        view = std::make_unique<BasicOpenGLView>();
        ASSERT_TRUE(view->initWithFrame({0, 0, width, height}));
        view->setWindow(window.get());
        view->prepareOpenGL();
        view->Setup();
    }
    void TearDown() override {
        view.reset();
        window.reset();
        SetResourceSearchFolder("");
    }

    SteppedClock clock;
    std::unique_ptr<OffscreenWindow> window;
    std::unique_ptr<BasicOpenGLView> view;
};

TEST_F(BasicOpenGLViewTest, PixelFormatIsTheNineWordList) {
    auto format = BasicOpenGLView::basicPixelFormat();
    ASSERT_NE(format, nullptr);
    EXPECT_TRUE(format->window && format->allRenderers && format->accelerated && format->doubleBuffer);
    EXPECT_EQ(format->colorSize, 32);
    EXPECT_EQ(format->depthSize, 16);
    const uint32_t unknown[] = {NSOpenGLPFADoubleBuffer, 99, 0};
    EXPECT_EQ(PixelFormat::initWithAttributes(unknown), nullptr);
}

TEST_F(BasicOpenGLViewTest, SetupSeedsFromTheStartTimeAndLoadsTheArchive) {
    Make(640, 480);
    SSMAIN* driver = view->ssMain;
    ASSERT_NE(driver, nullptr);
    // The banner slot is the first draw after the seed.
    srand(static_cast<uint32_t>(gStartTime));
    EXPECT_EQ(driver->BANNERSLOT, 4u + rand() % 2);
    EXPECT_EQ(driver->NUMTEXTURES, 6);
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_NE(driver->TEXTURES[slot].glName, 0u) << slot;
        EXPECT_EQ(driver->TEXTURES[slot].pixels, nullptr) << slot;
    }
    EXPECT_EQ(driver->CODE->GLYPHTEX, driver->TEXTURES[0].glName);
    EXPECT_EQ(driver->BANNERPOS.x, 640 - 256);
    EXPECT_TRUE(view->fAnimate);
    EXPECT_NEAR(view->getElapsedTime(), 0.0, 5.0);
}

TEST_F(BasicOpenGLViewTest, MissingArchiveLeavesSixEmptySlots) {
    Make(320, 200, false);
    ASSERT_NE(view->ssMain, nullptr);
    EXPECT_EQ(view->ssMain->NUMTEXTURES, 0);
    for (int slot = 0; slot < 6; ++slot) EXPECT_EQ(view->ssMain->TEXTURES[slot].glName, 0u);
    EXPECT_EQ(view->ssMain->CODE->GLYPHTEX, 0u);
    clock.advance(0.02);
    view->animateSS();  // draws untextured, without failing
    EXPECT_EQ(window->flushCount(), 1);
}

TEST_F(BasicOpenGLViewTest, TicksPassTheirIntervalAndALongPauseIsSkipped) {
    Make(320, 200);
    clock.advance(0.02);
    view->animateSS();
    EXPECT_NEAR(view->ssMain->FRAMETIME, 0.02, 1e-9);
    EXPECT_EQ(window->flushCount(), 1);

    clock.advance(12.0);  // the machine slept: nothing is updated or drawn
    view->animateSS();
    EXPECT_NEAR(view->ssMain->FRAMETIME, 0.02, 1e-9);
    EXPECT_EQ(window->flushCount(), 1);

    clock.advance(0.05);  // measured from the skipped tick
    view->animateSS();
    EXPECT_NEAR(view->ssMain->FRAMETIME, 0.05, 1e-9);
    EXPECT_NEAR(view->ssMain->TOTALTIME, 0.07, 1e-9);
    EXPECT_EQ(window->flushCount(), 2);

    clock.advance(10.0);  // exactly 10 s is still used
    view->animateSS();
    EXPECT_NEAR(view->ssMain->FRAMETIME, 10.0, 1e-9);
}

TEST_F(BasicOpenGLViewTest, ReshapeSetsViewportAndPerspective) {
    Make(1024, 768);
    view->ssMain->PREVIEW = true;  // the field's projection, not the overlay's
    view->ssMain->CODE->IS2D = false;
    view->reshape();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, 1.3333334f, 1.0, 100.0);
    const auto expected = Matrix(GL_PROJECTION_MATRIX);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    EXPECT_EQ(Matrix(GL_PROJECTION_MATRIX), expected);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);
}

TEST_F(BasicOpenGLViewTest, FractionalBoundsReachTheDriverAsWholePixels) {
    Make(800.7f, 600.2f);
    clock.advance(0.02);
    view->animateSS();
    EXPECT_EQ(view->ssMain->WIDTH, 800);
    EXPECT_EQ(view->ssMain->HEIGHT, 600);
}

TEST_F(BasicOpenGLViewTest, ASizeChangeReachesTheDriverAtTheNextRedraw) {
    Make(640, 480);
    clock.advance(0.02);
    view->animateSS();
    EXPECT_EQ(view->ssMain->WIDTH, 640);
    window->resize(400, 300);
    view->setFrameSize(400, 300);  // the platform does not announce it through reshape
    clock.advance(0.02);
    view->animateSS();
    EXPECT_EQ(view->ssMain->WIDTH, 400);
    EXPECT_EQ(view->ssMain->HEIGHT, 300);
    EXPECT_EQ(view->ssMain->CODE->VIEWWIDTH, 400.0f);
}

TEST_F(BasicOpenGLViewTest, ZeroHeightKeepsTheProjectionFinite) {
    Make(640, 480);
    view->setFrameSize(640, 0);
    clock.advance(0.02);
    view->animateSS();
    for (float v : Matrix(GL_PROJECTION_MATRIX)) EXPECT_TRUE(std::isfinite(v));
    view->setFrameSize(640, 480);
    clock.advance(0.02);
    view->animateSS();
    EXPECT_EQ(view->ssMain->HEIGHT, 480);
}

TEST_F(BasicOpenGLViewTest, FirstRedrawPreparesGLWithTheBackgroundColour) {
    Make(320, 200);
    view->ssMain->CODE->BGCol = MakeColour(0.25f, 0.5f, 0.75f, 0);
    clock.advance(0.02);
    view->animateSS();
    EXPECT_TRUE(view->fGLInit);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.25f);
    EXPECT_FLOAT_EQ(clear[2], 0.75f);
    EXPECT_EQ(window->swapInterval(), 1);
    GLint depthFunc = 0, shade = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(depthFunc, GL_LEQUAL);
    EXPECT_EQ(shade, GL_SMOOTH);
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    // The frame was cleared to it: a corner pixel far from any glyph at the start.
    const auto pixels = window->pixels();
    EXPECT_NEAR(pixels[0], 64, 1);
    EXPECT_NEAR(pixels[2], 191, 1);
}

TEST_F(BasicOpenGLViewTest, DestroyingTheViewReleasesTheTextures) {
    Make(320, 200);
    const GLuint atlas = view->ssMain->TEXTURES[0].glName;
    ASSERT_TRUE(glIsTexture(atlas));
    view.reset();
    window->createContext(PixelFormat())->makeCurrentContext();
    EXPECT_FALSE(glIsTexture(atlas));
}

TEST_F(BasicOpenGLViewTest, StartAnimRunsATimerThatStopAnimInvalidates) {
    Make(320, 200);
    view->StartAnim();
    ASSERT_NE(view->timer, nullptr);
    EXPECT_TRUE(view->timer->isValid());
    EXPECT_FLOAT_EQ(static_cast<float>(view->timer->timeInterval()), static_cast<float>(1.0 / 60));
    EXPECT_EQ(RunLoop::current().timerCount(), 1u);
    view->StopAnim();
    EXPECT_FALSE(view->timer->isValid());
    EXPECT_EQ(RunLoop::current().timerCount(), 0u);
}

}  // namespace

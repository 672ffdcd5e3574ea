// The overlay drawn on the headless Mesa context with the real resource archive.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "front/default_settings.h"
#include "platform/png_file.h"
#include "resources/texture_set.h"
#include "scene/clock.h"
#include "scene/scene_driver.h"
#include "tests/support/gl_test.h"

namespace {

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // pixels, inclusive, top row 0
    bool empty() const { return right < 0; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

enum class Layer { Clock, Intro, Banners, All };

class OverlayFrameTest : public GLTest {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        SetClockTimeSource([]() -> std::time_t { return 9 * 3600 + 5 * 60 + 3; });  // 09:05:03
    }
    void TearDown() override { SetClockTimeSource(nullptr); }

    // One overlay frame over an empty field, with only the chosen layer in view.
    void Render(int width, int height, Layer layer) {
        if (gl.width() != width) createContext(width, height);
        srand(1);
        SSMAIN driver(width);
        driver.Setup(false, width, height);
        ASSERT_TRUE(LoadTexturesFromDataFile(KORVEL_BUILD_DIR "/app/quimble.drovanets", &driver.TEXTURES,
                                             &driver.NUMTEXTURES));
        driver.CODE->GLYPHTEX = driver.TEXTURES[0].glName;
        SETTINGS settings = Defaults().settings;
        settings.TOT_NUM_LINES = 0;
        settings.SHOWCLOCK = layer == Layer::Clock || layer == Layer::All;
        driver.CODE->Setup(&settings);
        driver.SetSize(width, height);
        driver.INTRODONE = !(layer == Layer::Intro || layer == Layer::All);
        driver.INTROFADEA = driver.INTROFADEB = 1.0f;
        driver.TOTALTIME = 9;  // both pictures full
        if (layer == Layer::Banners || layer == Layer::All) {
            driver.BANNERSHOWN = true;  // resting on the bottom edge
            driver.BANNERPOS = Make2DPoint(0, 5);
            driver.BANNERSLOT = 4;
        }
        glClearColor(0, 0, 0, 0);
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, static_cast<float>(width) / height, 1.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        driver.Draw();  // FRAMETIME 0: nothing glides
        capture();
    }

    Box Lit(int x0 = 0, int x1 = -1) {
        if (x1 < 0) x1 = gl.width() - 1;
        Box box;
        for (int y = 0; y < gl.height(); ++y)
            for (int x = x0; x <= x1; ++x) {
                const RGBA p = pixel(x, y);
                if (p.r + p.g + p.b == 0) continue;
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        return box;
    }

    void Keep(const std::string& name) {
        std::string error;
        EXPECT_TRUE(WritePNG(name, gl.width(), gl.height(), pixels, &error)) << error;
    }

    // The pixels of a column band, for comparing glyphs.
    std::vector<uint8_t> Band(int x0, int width) {
        std::vector<uint8_t> band;
        for (int y = 0; y < gl.height(); ++y)
            for (int x = x0; x < x0 + width; ++x) {
                const RGBA p = pixel(x, y);
                band.insert(band.end(), {p.r, p.g, p.b});
            }
        return band;
    }
};

TEST_F(OverlayFrameTest, ClockGlyphsSitWhereTheLayoutPutsThemInTheHighlightColour) {
    Render(1024, 768, Layer::Clock);
    Keep("overlay_clock_1024.png");
    // Eight 90 x 90 glyphs from x = 228.5, each 67.5 further, y from 339 to 429.
    const Box all = Lit();
    ASSERT_FALSE(all.empty());
    EXPECT_GE(all.left, 228);
    EXPECT_LE(all.right, 791);
    EXPECT_GE(all.top, 339);
    EXPECT_LE(all.bottom, 429);

    int brightest = 0;
    for (int y = 339; y <= 429; ++y)
        for (int x = 228; x <= 791; ++x) {
            const RGBA p = pixel(x, y);
            if (p.g == 0) continue;
            brightest = std::max<int>(brightest, p.g);
            // (0.4, 1.0, 0.8) at some strength over black.
            EXPECT_NEAR(p.r, 0.4 * p.g, 2.5) << x << "," << y;
            EXPECT_NEAR(p.b, 0.8 * p.g, 2.5) << x << "," << y;
        }
    // A full-brightness texel at alpha 0.75 gives 0.75 of the highlight's green.
    EXPECT_NEAR(brightest, 0.75 * 255, 3);

    // The middle half of each glyph belongs to it alone: every one has ink, the two
    // zeros drawn at the same sub-pixel phase (glyphs 0 and 6) are identical, and
    // different cells differ.
    std::vector<std::vector<uint8_t>> glyphs;
    for (int k = 0; k < 8; ++k) {
        const int x0 = static_cast<int>(228.5 + 67.5 * k + 22.5 + 1);
        EXPECT_FALSE(Lit(x0, x0 + 43).empty()) << "glyph " << k;
        glyphs.push_back(Band(x0, 43));
    }
    EXPECT_EQ(glyphs[0], glyphs[6]);  // 0 and 0
    EXPECT_NE(glyphs[0], glyphs[4]);  // 0 and 5
    EXPECT_NE(glyphs[2], glyphs[4]);  // separator and 5
    EXPECT_NE(glyphs[0], glyphs[2]);  // 0 and separator
}

TEST_F(OverlayFrameTest, ClockAndIntroScaleWithTheViewWhileBannersKeepTheirPixelSize) {
    Render(1024, 768, Layer::All);
    Keep("overlay_1024.png");
    Render(2048, 1536, Layer::All);
    Keep("overlay_2048.png");

    for (Layer layer : {Layer::Clock, Layer::Intro}) {
        Render(1024, 768, layer);
        const Box small = Lit();
        Render(2048, 1536, layer);
        const Box large = Lit();
        ASSERT_FALSE(small.empty());
        EXPECT_NEAR(large.left, 2 * small.left, 2);
        EXPECT_NEAR(large.top, 2 * small.top, 2);
        EXPECT_NEAR(large.width(), 2 * small.width(), 3);
        EXPECT_NEAR(large.height(), 2 * small.height(), 3);
    }

    // The small banner at the left edge, the wide one centred: 512 pixels about the middle.
    Render(1024, 768, Layer::Banners);
    const Box small = Lit(0, 255), wideSmall = Lit(256, 767);
    Render(2048, 1536, Layer::Banners);
    const Box large = Lit(0, 255), wideLarge = Lit(768, 1279);
    ASSERT_FALSE(small.empty());
    ASSERT_FALSE(wideSmall.empty());
    EXPECT_EQ(large.width(), small.width());
    EXPECT_EQ(large.height(), small.height());
    EXPECT_LE(small.height(), 32);
    EXPECT_GE(small.top, 768 - 5 - 32);  // resting 5 pixels above the bottom edge
    EXPECT_EQ(wideLarge.width(), wideSmall.width());
    EXPECT_EQ(wideLarge.left - 768, wideSmall.left - 256);
}

}  // namespace

// Whole frames of the effect on the headless Mesa context, read back as pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "front/default_settings.h"
#include "platform/png_file.h"
#include "scene/scene_driver.h"
#include "tests/support/gl_test.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

class FrameTest : public GLTest {
protected:
    void SetUp() override {
        createContext(kWidth, kHeight);
        // A plain white atlas: every glyph cell is a solid quad in its own colour.
        glGenTextures(1, &atlas);
        glBindTexture(GL_TEXTURE_2D, atlas);
        std::vector<uint8_t> white(64 * 32 * 4, 255);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, 64, 32, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    void TearDown() override { glDeleteTextures(1, &atlas); }

    std::unique_ptr<SSMAIN> Scene(uint32_t mode) {
        srand(2024);
        auto driver = std::make_unique<SSMAIN>(kWidth);
        driver->Setup(true, kWidth, kHeight);  // the field alone: no overlay
        driver->CODE->GLYPHTEX = atlas;
        SETTINGS settings = Defaults().settings;
        settings.MODE = mode;
        driver->CODE->Setup(&settings);
        const colour4d bg = driver->CODE->BGCol;
        glClearColor(bg.r, bg.g, bg.b, 0);
        return driver;
    }

    // One tick as the OpenGL view runs it: time, viewport and perspective, the driver's frame.
    static void Tick(SSMAIN& driver, double seconds) {
        driver.Update(seconds);
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, static_cast<float>(kWidth) / static_cast<float>(kHeight), 1.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        driver.Draw();
    }

    // Writes the frame beside the test's output, for a person to look at.
    void Keep(const std::string& name) {
        std::string error;
        EXPECT_TRUE(WritePNG(name, kWidth, kHeight, pixels, &error)) << error;
    }

    struct Census {
        int background = 0, code = 0, head = 0;
        int brightestCode = 0, brightestHead = 0;
    };
    // Sorts every pixel: background, the code colour (0, 0.7, 0) at some alpha, or the
    // highlight colour (0.4, 1, 0.8) at some alpha, blended over either.
    Census Count() {
        Census census;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const RGBA p = pixel(x, y);
                if (p.r == 0 && p.g == 0 && p.b == 0) {
                    ++census.background;
                } else if (p.r == 0 && p.b == 0) {
                    ++census.code;
                    census.brightestCode = std::max<int>(census.brightestCode, p.g);
                } else if (p.r > 4 && std::abs(p.b - 2 * p.r) <= 3 && p.g >= p.b) {
                    ++census.head;
                    census.brightestHead = std::max<int>(census.brightestHead, p.g);
                }
            }
        return census;
    }

    GLuint atlas = 0;
};

TEST_F(FrameTest, ThreeDimensionalFrameShowsCodeAndBrighterHeadsOverTheBackground) {
    auto driver = Scene(0);
    for (int frame = 0; frame < 80; ++frame) Tick(*driver, 0.1);
    capture();
    Keep("frame_3d.png");
    const Census census = Count();
    EXPECT_GT(census.background, kWidth * kHeight / 4);
    EXPECT_GT(census.code, 2000);
    EXPECT_GT(census.head, 50);
    EXPECT_LE(census.brightestCode, 179);  // 0.7 of full green at most
    EXPECT_GT(census.brightestHead, census.brightestCode);
}

TEST_F(FrameTest, FlatFrameColumnsSitOnTheGrid) {
    auto driver = Scene(1);
    for (int frame = 0; frame < 80; ++frame) Tick(*driver, 0.1);
    capture();
    Keep("frame_flat.png");
    const Census census = Count();
    EXPECT_GT(census.background, kWidth * kHeight / 10);
    EXPECT_GT(census.code, 2000);
    EXPECT_GT(census.head, 50);
    EXPECT_GT(census.brightestHead, census.brightestCode);

    // Every quad spans exactly one column of the grid, so along a row the colour can
    // change only where two columns meet: at world x = 0.3 j + 0.15.
    const KORVELCODE& field = *driver->CODE;
    const float g = 0.15f;
    const float scale = field.VIEWWIDTH / (2 * (g * 93));
    auto pixelOf = [&](double worldX) { return (field.VIEWWIDTH * 0.5 + scale * worldX) / field.VIEWWIDTH * kWidth; };
    int changes = 0;
    for (int y = 0; y < kHeight; y += 7)
        for (int x = 0; x + 1 < kWidth; ++x) {
            const RGBA a = pixel(x, y), b = pixel(x + 1, y);
            if (std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) < 12) continue;
            ++changes;
            // The edge lies between the two pixel centres: find the nearest column boundary.
            const double worldEdge = ((x + 1.0) / kWidth * field.VIEWWIDTH - field.VIEWWIDTH * 0.5) / scale;
            const double j = std::round((worldEdge - 0.15) / 0.3);
            EXPECT_NEAR(pixelOf(0.3 * j + 0.15), x + 1.0, 1.01) << "row " << y << " x " << x;
        }
    EXPECT_GT(changes, 100);
}

}  // namespace

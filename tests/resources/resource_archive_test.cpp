// The archive that the build makes: its lumps, their decoding and upload, and
// the glyph atlas's clock cells as the clock draws them.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/res_file.h"
#include "resources/texture_set.h"
#include "resources/tga_loader.h"
#include "tests/support/alert_capture.h"
#include "tests/support/gl_test.h"

namespace {

const std::string kArchive = KORVEL_BUILD_DIR "/app/quimble.drovanets";

// The build makes the archive before the tests run.
#define REQUIRE_ARCHIVE()                                                                          \
    do {                                                                                           \
        struct stat info;                                                                          \
        ASSERT_EQ(stat(kArchive.c_str(), &info), 0) << "the build should have made " << kArchive;  \
    } while (0)

struct SlotSize {
    uint32_t width, height;
};
// Slots 1 to 5 are drawn at these sizes; the atlas only needs whole cells.
const SlotSize kOverlaySizes[] = {{256, 32}, {512, 128}, {512, 256}, {512, 32}, {512, 32}};

class ResourceArchiveTest : public GLTest {
protected:
    void SetUp() override { createContext(512, 64); }
};

TEST_F(ResourceArchiveTest, HoldsSixImagesThatDecode) {
    REQUIRE_ARCHIVE();
    RESFILE reader;
    ASSERT_TRUE(reader.Open(kArchive.c_str()));
    ASSERT_EQ(reader.HEADER.NUMLUMPS, 6u);
    AlertCapture alerts;
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(reader.LUMPS[i].LUMPTYPE, 1);
        EXPECT_EQ(reader.LUMPS[i].ALPHAMODE, 2);
        ASSERT_TRUE(reader.SeekLump(i));
        Texture t;
        ASSERT_TRUE(LoadTGA2(&t, &reader.STREAM));
        EXPECT_EQ(reader.STREAM.tellg(), std::streamoff(reader.LUMPS[i].LUMPOFFSET + reader.LUMPS[i].LUMPSIZE))
            << "the image fills its lump";
        if (i == 0) {
            EXPECT_EQ(t.width % 16, 0u);
            EXPECT_EQ(t.height % 8, 0u);
        } else {
            EXPECT_EQ(t.width, kOverlaySizes[i - 1].width);
            EXPECT_EQ(t.height, kOverlaySizes[i - 1].height);
        }
    }
    EXPECT_TRUE(alerts.alerts.empty());
}

TEST_F(ResourceArchiveTest, LoadsAsTheTextureSet) {
    REQUIRE_ARCHIVE();
    Texture* slots = new Texture[6];
    int32_t count = 0;
    AlertCapture alerts;
    EXPECT_TRUE(LoadTexturesFromDataFile(kArchive.c_str(), &slots, &count));
    EXPECT_EQ(count, 6);
    EXPECT_TRUE(alerts.alerts.empty());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(slots[i].pixels, nullptr);
        EXPECT_NE(slots[i].glName, 0u);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    delete[] slots;
}

// One rendered atlas cell, thresholded: true where there is ink.
struct Cell {
    int width = 0, height = 0;
    std::vector<bool> ink;  // top row first
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && ink[y * width + x]; }
    int Ink() const { return int(std::count(ink.begin(), ink.end(), true)); }
};

// Connected regions of ink (8-neighbours) or of background (4-neighbours).
// Background regions that do not touch the border are holes.
struct Region {
    int size = 0, top = 1 << 30, bottom = -1;
    bool border = false;
};

std::vector<Region> Regions(const Cell& cell, bool ofInk) {
    std::vector<int> label(cell.ink.size(), -1);
    std::vector<Region> regions;
    for (int start = 0; start < int(cell.ink.size()); ++start) {
        if (label[start] >= 0 || cell.ink[start] != ofInk) continue;
        Region region;
        std::vector<int> stack = {start};
        label[start] = int(regions.size());
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            const int x = p % cell.width, y = p / cell.width;
            ++region.size;
            region.top = std::min(region.top, y);
            region.bottom = std::max(region.bottom, y);
            if (x == 0 || y == 0 || x == cell.width - 1 || y == cell.height - 1) region.border = true;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if ((dx == 0 && dy == 0) || (!ofInk && dx != 0 && dy != 0)) continue;
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= cell.width || ny >= cell.height) continue;
                    const int q = ny * cell.width + nx;
                    if (label[q] < 0 && cell.ink[q] == ofInk) {
                        label[q] = label[p];
                        stack.push_back(q);
                    }
                }
            }
        }
        regions.push_back(region);
    }
    return regions;
}

std::vector<Region> Holes(const Cell& cell) {
    std::vector<Region> holes;
    for (const Region& r : Regions(cell, false)) {
        if (!r.border && r.size >= 3) holes.push_back(r);
    }
    return holes;
}

// Draws cells 0 to 10 of the atlas's top row side by side, as the clock
// takes them (t from 1 - CELLH to 1), one texel to a pixel, and reads them back.
TEST_F(ResourceArchiveTest, AtlasTopRowHoldsTheDigitsAndTheSeparator) {
    REQUIRE_ARCHIVE();
    Texture* slots = new Texture[6];
    int32_t count = 0;
    AlertCapture alerts;
    ASSERT_TRUE(LoadTexturesFromDataFile(kArchive.c_str(), &slots, &count));
    glBindTexture(GL_TEXTURE_2D, slots[0].glName);
    GLint atlasWidth = 0, atlasHeight = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &atlasWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &atlasHeight);
    const int cw = atlasWidth / 16, ch = atlasHeight / 8;
    if (11 * cw > 512 || ch > 64) {
        delete[] slots;
        ASSERT_TRUE(gl.resize(11 * cw, ch)) << gl.error();
        slots = new Texture[6];
        ASSERT_TRUE(LoadTexturesFromDataFile(kArchive.c_str(), &slots, &count));
        glBindTexture(GL_TEXTURE_2D, slots[0].glName);
    }

    glViewport(0, 0, gl.width(), gl.height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, gl.width(), 0, gl.height(), -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    const float cellW = 0.0625f, cellH = 0.125f;
    glBegin(GL_QUADS);
    for (int c = 0; c < 11; ++c) {
        const float x0 = float(c * cw), x1 = float((c + 1) * cw);
        glTexCoord2f(cellW * c, 1);
        glVertex2f(x0, float(ch));
        glTexCoord2f(cellW * (c + 1), 1);
        glVertex2f(x1, float(ch));
        glTexCoord2f(cellW * (c + 1), 1 - cellH);
        glVertex2f(x1, 0);
        glTexCoord2f(cellW * c, 1 - cellH);
        glVertex2f(x0, 0);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    capture();
    delete[] slots;

    std::vector<Cell> cells(11);
    const int top = gl.height() - ch;  // the quads sit on the bottom edge
    for (int c = 0; c < 11; ++c) {
        cells[c].width = cw;
        cells[c].height = ch;
        for (int y = 0; y < ch; ++y) {
            for (int x = 0; x < cw; ++x) {
                const RGBA p = pixel(c * cw + x, top + y);
                cells[c].ink.push_back(std::max({p.r, p.g, p.b}) >= 96);
            }
        }
    }

    // Every cell has ink, and no two cells are alike.
    for (int c = 0; c < 11; ++c) EXPECT_GT(cells[c].Ink(), cw * ch / 100) << "cell " << c << " is empty";
    for (int a = 0; a < 11; ++a) {
        for (int b = a + 1; b < 11; ++b) {
            EXPECT_NE(cells[a].ink, cells[b].ink) << "cells " << a << " and " << b << " are the same";
        }
    }

    // Which digit a cell holds shows in its holes: 1, 2, 3, 5 and 7 have
    // none; 6 and 9 one, low in 6 and high in 9; 8 two, one above the other;
    // 0 one tall counter, split in two when the zero is slashed.
    // Upside-down, mirrored row or shifted cells fail here.
    for (int digit : {1, 2, 3, 5, 7}) EXPECT_EQ(Holes(cells[digit]).size(), 0u) << "digit " << digit;
    const auto middle = [](const Region& r) { return (r.top + r.bottom) / 2.0; };
    const std::vector<Region> six = Holes(cells[6]), eight = Holes(cells[8]), nine = Holes(cells[9]),
                              zero = Holes(cells[0]);
    ASSERT_EQ(six.size(), 1u);
    ASSERT_EQ(nine.size(), 1u);
    EXPECT_GT(middle(six[0]), ch / 2.0) << "6 has its loop in the lower half";
    EXPECT_LT(middle(nine[0]), ch / 2.0) << "9 has its loop in the upper half";
    ASSERT_EQ(eight.size(), 2u);
    EXPECT_TRUE(eight[0].bottom < eight[1].top || eight[1].bottom < eight[0].top) << "8's loops are stacked";
    ASSERT_TRUE(zero.size() == 1 || zero.size() == 2) << zero.size();
    const int zeroTop = std::min(zero.front().top, zero.back().top);
    const int zeroBottom = std::max(zero.front().bottom, zero.back().bottom);
    EXPECT_GT(zeroBottom - zeroTop, ch / 3) << "0's counter is tall";

    // The separator: two marks, one above the other, with less ink than any digit.
    std::vector<Region> marks = Regions(cells[10], true);
    ASSERT_EQ(marks.size(), 2u) << "the separator has two marks";
    EXPECT_TRUE(marks[0].bottom < marks[1].top || marks[1].bottom < marks[0].top);
    for (int digit = 0; digit < 10; ++digit) EXPECT_LT(cells[10].Ink(), cells[digit].Ink()) << digit;
}

}  // namespace

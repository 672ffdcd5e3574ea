#include "resources/texture_set.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/support/alert_capture.h"
#include "tests/support/gl_test.h"
#include "tests/support/resource_bytes.h"

namespace {

// The scene driver's slot array: six empty slots until a load replaces them.
struct Slots {
    Slots() : array(new Texture[6]) {}
    ~Slots() { delete[] array; }
    Texture* array;
    int32_t count = -1;
};

class TextureSetTest : public GLTest {
protected:
    // The RGBA bytes OpenGL holds for a texture name.
    static Bytes Uploaded(GLuint name) {
        glBindTexture(GL_TEXTURE_2D, name);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        Bytes rgba(size_t(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }
    static GLint Parameter(GLuint name, GLenum which) {
        glBindTexture(GL_TEXTURE_2D, name);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
        return value;
    }
    static void ExpectBuilt(const Texture& t) {
        EXPECT_EQ(t.pixels, nullptr);
        ASSERT_NE(t.glName, 0u);
        EXPECT_TRUE(glIsTexture(t.glName));
        EXPECT_EQ(Parameter(t.glName, GL_TEXTURE_WRAP_S), GL_CLAMP);
        EXPECT_EQ(Parameter(t.glName, GL_TEXTURE_WRAP_T), GL_CLAMP);
        EXPECT_EQ(Parameter(t.glName, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(Parameter(t.glName, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    }
    static void ExpectEmpty(const Texture& t) {
        EXPECT_EQ(t.pixels, nullptr);
        EXPECT_EQ(t.glName, 0u);
    }
    // A decoded texture as the decoder leaves it.
    static void Decoded(Texture* t, uint32_t width, uint32_t height, uint32_t bits, const Bytes& bytes) {
        t->width = width;
        t->height = height;
        t->bitsPerPixel = bits;
        t->pixels = static_cast<uint8_t*>(std::malloc(bytes.size()));
        std::memcpy(t->pixels, bytes.data(), bytes.size());
    }
};

// Black (the first pixel), black, red 0 green 0 blue 1, red 200 green 10 blue 50, white.
const Bytes kRgb = {0, 0, 0, 0, 0, 0, 0, 0, 1, 200, 10, 50, 255, 255, 255};

Bytes WithAlpha(const Bytes& rgb, const Bytes& alpha) {
    Bytes rgba;
    for (size_t p = 0; p < alpha.size(); ++p) {
        rgba.insert(rgba.end(), {rgb[3 * p], rgb[3 * p + 1], rgb[3 * p + 2], alpha[p]});
    }
    return rgba;
}

TEST_F(TextureSetTest, BuildTextureMakesAlphaByMode) {
    const struct {
        int mode;
        Bytes alpha;
    } cases[] = {
        {1, {0, 0, 255, 255, 255}},    // colour key: the first pixel's colour, exactly
        {2, {0, 0, 1, 200, 255}},      // brightness: the largest component
        {0, {255, 255, 255, 255, 255}},
        {3, {255, 255, 255, 255, 255}},
        {-1, {255, 255, 255, 255, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Texture t;
        Decoded(&t, 5, 1, 24, kRgb);
        ASSERT_TRUE(BuildTexture(&t, c.mode));
        ExpectBuilt(t);
        EXPECT_EQ(Uploaded(t.glName), WithAlpha(kRgb, c.alpha));
    }
}

TEST_F(TextureSetTest, BuildTextureUploadsRowsInStoredOrder) {
    Texture t;
    const Bytes rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};  // 3 x 2
    Decoded(&t, 3, 2, 24, rgb);
    ASSERT_TRUE(BuildTexture(&t, 0));
    EXPECT_EQ(Uploaded(t.glName), WithAlpha(rgb, Bytes(6, 255)));
}

// A 32-bit image is read 4 bytes a pixel; its own alpha gives way to the mode.
TEST_F(TextureSetTest, BuildTextureReads32BitPixelsWhole) {
    Texture t;
    Decoded(&t, 2, 1, 32, {200, 10, 50, 7, 0, 30, 0, 9});
    ASSERT_TRUE(BuildTexture(&t, 2));
    EXPECT_EQ(Uploaded(t.glName), Bytes({200, 10, 50, 200, 0, 30, 0, 30}));
}

// Six one-pixel images, lump i of colour (10 i, 0, 0).
std::vector<ArchiveLump> SixImages() {
    std::vector<ArchiveLump> lumps;
    for (int i = 0; i < 6; ++i) lumps.push_back({RgbTga(1, 1, {uint8_t(10 * i), 0, 0}), 1, 0});
    return lumps;
}

TEST_F(TextureSetTest, LoadsEveryImageLumpIntoTheSlotOfItsIndex) {
    std::vector<ArchiveLump> lumps = SixImages();
    lumps[2].type = 0;  // not an image: slot 2 stays empty
    lumps[1].alphaMode = 1;
    TempFile file(BuildArchive(lumps));
    Slots slots;
    Texture* const before = slots.array;
    AlertCapture alerts;
    ASSERT_TRUE(LoadTexturesFromDataFile(file.path(), &slots.array, &slots.count));
    EXPECT_NE(slots.array, before);
    EXPECT_EQ(slots.count, 6);
    EXPECT_TRUE(alerts.alerts.empty());
    ExpectEmpty(slots.array[2]);
    for (int i : {0, 1, 3, 4, 5}) {
        SCOPED_TRACE(i);
        ExpectBuilt(slots.array[i]);
        const uint8_t alpha = i == 1 ? 0 : 255;  // a one-pixel image keyed by its own colour
        EXPECT_EQ(Uploaded(slots.array[i].glName), Bytes({uint8_t(10 * i), 0, 0, alpha}));
    }
}

TEST_F(TextureSetTest, AFailingLumpStopsTheLoadWithTheSlotsBeforeItBuilt) {
    std::vector<ArchiveLump> lumps = SixImages();
    lumps[3].data = Concat(TgaHeader(10, 2, 2, 24), {0x84, 1, 2, 3});  // one pixel too many
    TempFile file(BuildArchive(lumps));
    Slots slots;
    AlertCapture alerts;
    EXPECT_FALSE(LoadTexturesFromDataFile(file.path(), &slots.array, &slots.count));
    EXPECT_EQ(slots.count, 6);
    EXPECT_EQ(alerts.alerts, std::vector<CapturedAlert>({{"ERROR", "Too many pixels read"}}));
    for (int i : {0, 1, 2}) ExpectBuilt(slots.array[i]);
    for (int i : {3, 4, 5}) ExpectEmpty(slots.array[i]);
    EXPECT_EQ(slots.array[3].width, 2u) << "the failed slot keeps the sizes from its header";
}

TEST_F(TextureSetTest, AShortArchiveStillGivesSixSlots) {
    for (size_t lumps : {0u, 2u}) {
        SCOPED_TRACE(lumps);
        std::vector<ArchiveLump> images = SixImages();
        images.resize(lumps);
        TempFile file(BuildArchive(images));
        Slots slots;
        ASSERT_TRUE(LoadTexturesFromDataFile(file.path(), &slots.array, &slots.count));
        EXPECT_EQ(slots.count, int32_t(lumps));
        for (size_t i = 0; i < lumps; ++i) ExpectBuilt(slots.array[i]);
        for (size_t i = lumps; i < 6; ++i) ExpectEmpty(slots.array[i]);
    }
}

TEST_F(TextureSetTest, AnArchiveThatCannotBeOpenedLeavesTheSlotsAlone) {
    Bytes bytes = BuildArchive(SixImages());
    bytes.push_back(0);  // one byte more than SIZECHECK allows
    TempFile file(bytes);
    Slots slots;
    Texture* const before = slots.array;
    for (const char* path : {file.path(), "/nonexistent/quimble.drovanets"}) {
        EXPECT_FALSE(LoadTexturesFromDataFile(path, &slots.array, &slots.count));
        EXPECT_EQ(slots.array, before);
        EXPECT_EQ(slots.count, -1);
    }
}

}  // namespace

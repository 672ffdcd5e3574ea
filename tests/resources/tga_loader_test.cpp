#include "resources/tga_loader.h"

#include <GL/gl.h>
#include <dirent.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/alert_capture.h"
#include "tests/support/resource_bytes.h"

namespace {

const CapturedAlert kInvalidImage{"Invalid Image", "TGA file be type 2 or type 10 "};

CapturedAlert Error(const char* text) { return {"ERROR", text}; }

Bytes Pixels(std::vector<uint8_t> bytes) { return bytes; }

// Decodes bytes through the stream family, as the texture set does.
class StreamDecode {
public:
    explicit StreamDecode(const Bytes& bytes) : file(bytes), stream(file.path(), std::ios::binary) {}
    bool Load() { return LoadTGA2(&texture, &stream); }
    std::streamoff Position() { return stream.tellg(); }
    TempFile file;
    std::ifstream stream;
    Texture texture;
};

int OpenDescriptors() {
    int count = 0;
    if (DIR* folder = opendir("/proc/self/fd")) {
        while (readdir(folder)) ++count;
        closedir(folder);
    }
    return count;
}

TEST(TgaLoaderTest, Uncompressed24BitSwapsBlueAndRed) {
    // Two pixels stored blue-green-red, then a byte after the image.
    const Bytes image = UncompressedTga(2, 1, 24, Pixels({10, 20, 30, 1, 2, 3}));
    StreamDecode decode(Concat(image, {0xEE}));
    AlertCapture alerts;
    ASSERT_TRUE(decode.Load());
    EXPECT_TRUE(alerts.alerts.empty());
    const Texture& t = decode.texture;
    EXPECT_EQ(t.width, 2u);
    EXPECT_EQ(t.height, 1u);
    EXPECT_EQ(t.bitsPerPixel, 24u);
    EXPECT_EQ(t.format, unsigned(GL_RGB));
    EXPECT_EQ(Bytes(t.pixels, t.pixels + 6), Pixels({30, 20, 10, 3, 2, 1}));
    EXPECT_EQ(decode.Position(), std::streamoff(image.size())) << "the stream stops after the image";
    EXPECT_EQ(tga.bytesPerPixel, 3u);
    EXPECT_EQ(tga.imageSize, 6u);
}

TEST(TgaLoaderTest, Uncompressed32BitKeepsAlphaInTheFourthPlace) {
    StreamDecode decode(UncompressedTga(1, 2, 32, Pixels({10, 20, 30, 40, 50, 60, 70, 0})));
    AlertCapture alerts;
    ASSERT_TRUE(decode.Load());
    EXPECT_EQ(decode.texture.format, unsigned(GL_RGBA));
    EXPECT_EQ(Bytes(decode.texture.pixels, decode.texture.pixels + 8), Pixels({30, 20, 10, 40, 70, 60, 50, 0}));
}

TEST(TgaLoaderTest, DescriptorIsIgnoredAndRowsKeepTheirStoredOrder) {
    Bytes image = UncompressedTga(1, 2, 24, Pixels({1, 2, 3, 4, 5, 6}));
    image[17] = 0x28;  // top row first, 8 alpha bits
    StreamDecode decode(image);
    AlertCapture alerts;
    ASSERT_TRUE(decode.Load());
    EXPECT_EQ(Bytes(decode.texture.pixels, decode.texture.pixels + 6), Pixels({3, 2, 1, 6, 5, 4}));
}

// Packets 0 (raw, 1 pixel), 127 (raw, 128), 128 (run of 1) and 255 (run of 128).
TEST(TgaLoaderTest, RunLengthPacketsOfEveryBoundaryLength) {
    Bytes body = {0, 1, 2, 3};
    body.push_back(127);
    for (int i = 0; i < 128; ++i) body.insert(body.end(), {uint8_t(i), 0, 0});
    body.insert(body.end(), {128, 4, 5, 6});
    body.insert(body.end(), {255, 7, 8, 9});
    const Bytes image = Concat(TgaHeader(10, 258, 1, 24), body);
    StreamDecode decode(Concat(image, {0xEE, 0xEE}));
    AlertCapture alerts;
    ASSERT_TRUE(decode.Load());
    EXPECT_TRUE(alerts.alerts.empty());
    EXPECT_EQ(decode.Position(), std::streamoff(image.size())) << "the stream stops after the last packet";
    const uint8_t* p = decode.texture.pixels;
    EXPECT_EQ(Bytes(p, p + 3), Pixels({3, 2, 1}));
    for (int i = 0; i < 128; ++i) ASSERT_EQ(p[3 * (1 + i) + 2], i) << "raw pixel " << i;
    EXPECT_EQ(Bytes(p + 3 * 129, p + 3 * 130), Pixels({6, 5, 4}));
    for (int i = 130; i < 258; ++i) ASSERT_EQ(Bytes(p + 3 * i, p + 3 * i + 3), Pixels({9, 8, 7})) << i;
}

TEST(TgaLoaderTest, RunLength32BitKeepsAlpha) {
    const Bytes image = Concat(TgaHeader(10, 3, 1, 32), {0x81, 1, 2, 3, 4, 0x00, 5, 6, 7, 8});
    StreamDecode decode(image);
    AlertCapture alerts;
    ASSERT_TRUE(decode.Load());
    EXPECT_EQ(Bytes(decode.texture.pixels, decode.texture.pixels + 12),
              Pixels({3, 2, 1, 4, 3, 2, 1, 4, 7, 6, 5, 8}));
}

struct Failure {
    const char* name;
    Bytes bytes;
    CapturedAlert alert;
};

Bytes Truncated(Bytes bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

std::vector<Failure> Failures() {
    const Bytes rle2x2 = TgaHeader(10, 2, 2, 24);
    Bytes withId = TgaHeader(2, 1, 1, 24);
    withId[0] = 1;
    Bytes withOrigin = TgaHeader(2, 1, 1, 24);
    withOrigin[10] = 1;
    Bytes withColourMap = TgaHeader(2, 1, 1, 24);
    withColourMap[1] = 1;
    return {
        {"header cut short", Bytes(11, 0), Error("Could not read file header")},
        {"colour-mapped, type 1", Concat(TgaHeader(1, 1, 1, 24), {0, 0, 0}), kInvalidImage},
        {"greyscale, type 3", Concat(TgaHeader(3, 1, 1, 8), {0}), kInvalidImage},
        {"with an ID field", withId, kInvalidImage},
        {"with a non-zero origin", withOrigin, kInvalidImage},
        {"with a colour map", withColourMap, kInvalidImage},
        {"info header cut short", Truncated(TgaHeader(2, 1, 1, 24), 17), Error("Could not read info header")},
        {"width 0", UncompressedTga(0, 1, 24, {}), Error("Invalid texture information")},
        {"height 0", Concat(TgaHeader(10, 1, 0, 24), {0, 1, 2, 3}), Error("Invalid texture information")},
        {"16-bit", UncompressedTga(1, 1, 16, {0, 0}), Error("Invalid texture information")},
        // 65535 x 65535 x 4 and x 3 bytes do not fit in 32 bits.
        {"32-bit size past 4 GiB", TgaHeader(2, 65535, 65535, 32), Error("Invalid texture information")},
        {"24-bit size past 4 GiB", TgaHeader(10, 65535, 65535, 24), Error("Invalid texture information")},
        {"uncompressed data cut short", UncompressedTga(2, 1, 24, {1, 2, 3, 4, 5}), Error("Could not read image data")},
        {"no packet header", rle2x2, Error("Could not read RLE header")},
        {"packet header missing after a packet", Concat(rle2x2, {0x81, 1, 2, 3}), Error("Could not read RLE header")},
        {"raw pixel cut short", Concat(rle2x2, {1, 1, 2, 3, 4, 5}), Error("Could not read image data")},
        {"run pixel cut short", Concat(rle2x2, {0x83, 1, 2}), Error("Could not read from file")},
        {"run past the image", Concat(rle2x2, {0x84, 1, 2, 3}), Error("Too many pixels read")},
        {"raw packet past the image", Concat(rle2x2, {0x82, 1, 2, 3, 1, 4, 5, 6, 7, 8, 9}),
         Error("Too many pixels read")},
    };
}

void ExpectFailedDecode(const Texture& texture, const AlertCapture& alerts, const CapturedAlert& expected) {
    EXPECT_EQ(texture.pixels, nullptr) << "no buffer is left behind";
    ASSERT_EQ(alerts.alerts.size(), 1u);
    EXPECT_EQ(alerts.alerts[0].title, expected.title);
    EXPECT_EQ(alerts.alerts[0].text, expected.text);
}

TEST(TgaLoaderTest, StreamFamilyFailuresAlertAndLeaveNoPixels) {
    for (const Failure& f : Failures()) {
        SCOPED_TRACE(f.name);
        StreamDecode decode(f.bytes);
        AlertCapture alerts;
        EXPECT_FALSE(decode.Load());
        ExpectFailedDecode(decode.texture, alerts, f.alert);
    }
}

TEST(TgaLoaderTest, FileFamilyFailuresAlertAndCloseTheFile) {
    for (const Failure& f : Failures()) {
        SCOPED_TRACE(f.name);
        TempFile file(f.bytes);
        Texture texture;
        AlertCapture alerts;
        const int before = OpenDescriptors();
        EXPECT_FALSE(LoadTGA(&texture, file.path()));
        EXPECT_EQ(OpenDescriptors(), before) << "the file is closed";
        ExpectFailedDecode(texture, alerts, f.alert);
    }
}

TEST(TgaLoaderTest, WidthZeroIsRecordedBeforeTheRefusal) {
    StreamDecode decode(UncompressedTga(0, 7, 24, {}));
    AlertCapture alerts;
    decode.texture.width = 99;
    EXPECT_FALSE(decode.Load());
    EXPECT_EQ(decode.texture.width, 0u);
    EXPECT_EQ(decode.texture.height, 7u);
}

TEST(TgaLoaderTest, AMissingOrClosedStreamCannotBeOpened) {
    AlertCapture alerts;
    Texture texture;
    std::ifstream closed;
    EXPECT_FALSE(LoadTGA2(&texture, nullptr));
    EXPECT_FALSE(LoadTGA2(&texture, &closed));
    EXPECT_FALSE(LoadTGA(&texture, "/nonexistent/picture.tga"));
    const std::vector<CapturedAlert> expected(3, Error("Could not open texture file"));
    EXPECT_EQ(alerts.alerts, expected);
}

TEST(TgaLoaderTest, FileFamilyDecodesLikeTheStreamFamily) {
    const Bytes images[] = {
        UncompressedTga(2, 1, 24, Pixels({10, 20, 30, 1, 2, 3})),
        Concat(TgaHeader(10, 3, 1, 32), {0x81, 1, 2, 3, 4, 0x00, 5, 6, 7, 8}),
    };
    for (const Bytes& image : images) {
        TempFile file(image);
        Texture fromFile;
        StreamDecode fromStream(image);
        AlertCapture alerts;
        const int before = OpenDescriptors();
        ASSERT_TRUE(LoadTGA(&fromFile, file.path()));
        EXPECT_EQ(OpenDescriptors(), before) << "the file is closed";
        ASSERT_TRUE(fromStream.Load());
        const size_t size = fromFile.width * fromFile.height * fromFile.bitsPerPixel / 8;
        EXPECT_EQ(Bytes(fromFile.pixels, fromFile.pixels + size),
                  Bytes(fromStream.texture.pixels, fromStream.texture.pixels + size));
    }
}

}  // namespace

// Hostile input: truncated, bit-flipped and overwritten copies of archives and
// images go through the reader, the decoder and the texture set. Built with
// AddressSanitizer and UndefinedBehaviorSanitizer as its own program, so any
// read or write out of bounds, leak-free misuse or overflow stops the run.
// The mutations come from a fixed-seed generator: every run tests the same cases.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "resources/res_file.h"
#include "resources/texture_set.h"
#include "resources/tga_loader.h"
#include "tests/support/alert_capture.h"
#include "tests/support/gl_test.h"
#include "tests/support/resource_bytes.h"

namespace {

const std::string kArchivePath = KORVEL_BUILD_DIR "/app/quimble.drovanets";

class Mutator {
public:
    explicit Mutator(uint32_t seed) : random_(seed) {}

    uint32_t Below(uint32_t n) { return n == 0 ? 0 : uint32_t(random_() % n); }

    // One of: cut short, flip a few bits, or overwrite an aligned word with a
    // value that sits on a boundary. Archives get their SIZECHECK mended half
    // of the time, so that the damage reaches the directory and the lumps.
    Bytes Mutate(const Bytes& original, bool archive) {
        Bytes bytes = original;
        switch (Below(3)) {
            case 0:
                bytes.resize(Below(uint32_t(bytes.size())));
                break;
            case 1:
                for (uint32_t flips = 1 + Below(4); flips > 0 && !bytes.empty(); --flips) {
                    bytes[Below(uint32_t(bytes.size()))] ^= uint8_t(1u << Below(8));
                }
                break;
            default: {
                if (bytes.size() < 4) break;
                // Early words (headers, directories) are the interesting ones.
                const uint32_t span = Below(2) ? uint32_t(bytes.size() - 3) : std::min<uint32_t>(64, uint32_t(bytes.size() - 3));
                const size_t at = Below(span) & ~size_t(1);
                const uint32_t values[] = {0, 1, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xFFFFu,
                                           uint32_t(bytes.size()), uint32_t(bytes.size()) + 1, 0x24924925u};
                const uint32_t value = values[Below(sizeof values / sizeof values[0])];
                for (int i = 0; i < 4 && at + i < bytes.size(); ++i) bytes[at + i] = uint8_t(value >> (8 * i));
            }
        }
        if (archive && bytes.size() >= kHeaderSize && Below(2)) {
            PutLittleEndian32(bytes, kSizeCheckAt, ~uint32_t(bytes.size()));
        }
        return bytes;
    }

private:
    std::mt19937 random_;
};

class HostileInputFuzz : public GLTest {
protected:
    void SetUp() override { createContext(16, 16); }

    // An archive of small images of every kind the decoder accepts, with every alpha mode.
    static Bytes SyntheticArchive() {
        Bytes rle = Concat(TgaHeader(10, 4, 3, 24), {0x83, 1, 2, 3, 0x02, 4, 5, 6, 7, 8, 9, 1, 2, 3, 0x84, 0, 0, 0});
        Bytes rle32 = Concat(TgaHeader(10, 2, 2, 32), {0x81, 1, 2, 3, 4, 0x01, 5, 6, 7, 8, 9, 9, 9, 9});
        Bytes plain32 = UncompressedTga(2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 8});
        return BuildArchive({{RgbTga(3, 2, Bytes(18, 7)), 1, 1},
                             {rle, 1, 2},
                             {{'n', 'o', 't'}, 5, 0},
                             {rle32, 1, 0},
                             {plain32, 1, 2},
                             {RgbTga(1, 1, {9, 9, 9}), 1, -1}});
    }

    static std::vector<Bytes> ImagesOf(const Bytes& archive) {
        TempFile file(archive);
        RESFILE reader;
        std::vector<Bytes> images;
        if (!reader.Open(file.path())) return images;
        for (uint32_t i = 0; i < reader.HEADER.NUMLUMPS; ++i) {
            unsigned char* data = nullptr;
            if (reader.LUMPS[i].LUMPTYPE == 1 && reader.LoadData(int(i), &data)) {
                images.emplace_back(data, data + reader.LUMPS[i].LUMPSIZE);
                delete[] data;
            }
        }
        return images;
    }

    static std::vector<Bytes> Archives() {
        std::vector<Bytes> archives = {SyntheticArchive()};
        Bytes real;
        EXPECT_TRUE(ReadBytes(kArchivePath, &real)) << "the build makes " << kArchivePath;
        if (!real.empty()) archives.push_back(real);
        return archives;
    }

    // The reader on its own: every index, in place and copied out.
    static void Walk(const char* path) {
        RESFILE reader;
        if (!reader.Open(path)) {
            EXPECT_FALSE(reader.SeekLump(0));
            return;
        }
        for (int i = -1; i <= int(reader.HEADER.NUMLUMPS) && i < 64; ++i) {
            unsigned char* data = nullptr;
            if (reader.LoadData(i, &data)) delete[] data;
            if (reader.SeekLump(i)) {
                char c;
                reader.STREAM.read(&c, 1);
            }
        }
    }

    // The texture set: the scene reads slots 0 to 5 whatever the count.
    static void LoadSet(const char* path) {
        Texture* slots = new Texture[6];
        int32_t count = 0;
        LoadTexturesFromDataFile(path, &slots, &count);
        // Every slot ends empty or built: a failed decode keeps no pixels.
        for (int i = 0; i < kMinTextureSlots; ++i) EXPECT_EQ(slots[i].pixels, nullptr) << "slot " << i;
        delete[] slots;
    }
};

TEST_F(HostileInputFuzz, DamagedArchivesThroughReaderAndTextureSet) {
    const std::vector<Bytes> archives = Archives();
    Mutator mutator(20240611);
    AlertCapture alerts;
    TempFile file({});
    for (size_t a = 0; a < archives.size(); ++a) {
        // Larger archives cost more per case; the small one gets more cases.
        const int cases = archives[a].size() < 4096 ? 2500 : 500;
        for (int n = 0; n < cases; ++n) {
            SCOPED_TRACE("archive " + std::to_string(a) + " case " + std::to_string(n));
            file.Rewrite(mutator.Mutate(archives[a], true));
            Walk(file.path());
            LoadSet(file.path());
            if (HasFatalFailure()) return;
        }
    }
}

TEST_F(HostileInputFuzz, DamagedImagesThroughBothDecodersAndTheBuilder) {
    std::vector<Bytes> images;
    for (const Bytes& archive : Archives()) {
        for (Bytes& image : ImagesOf(archive)) images.push_back(std::move(image));
    }
    ASSERT_GE(images.size(), 5u);
    Mutator mutator(7);
    AlertCapture alerts;
    TempFile file({});
    for (size_t i = 0; i < images.size(); ++i) {
        const int cases = images[i].size() < 4096 ? 600 : 150;
        for (int n = 0; n < cases; ++n) {
            SCOPED_TRACE("image " + std::to_string(i) + " case " + std::to_string(n));
            file.Rewrite(mutator.Mutate(images[i], false));
            alerts.alerts.clear();
            Texture fromStream;
            std::ifstream stream(file.path(), std::ios::binary);
            const bool decoded = LoadTGA2(&fromStream, &stream);
            // Every failure says why exactly once and keeps no pixels.
            EXPECT_EQ(alerts.alerts.size(), decoded ? 0u : 1u);
            EXPECT_EQ(fromStream.pixels == nullptr, !decoded);
            if (decoded) {
                EXPECT_TRUE(BuildTexture(&fromStream, int(n % 4)));
            }
            Texture fromFile;
            EXPECT_EQ(LoadTGA(&fromFile, file.path()), decoded);
        }
    }
}

}  // namespace

#include "resources/res_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/resource_bytes.h"

namespace {

ArchiveLump Lump(const std::string& text, int32_t type, int32_t alpha) {
    return {Bytes(text.begin(), text.end()), type, alpha};
}

Bytes TwoLumps() { return BuildArchive({Lump("hello", 1, 2), Lump("abc", 7, -1)}); }

std::string ReadFromStream(RESFILE& reader, size_t count) {
    std::string text(count, '\0');
    reader.STREAM.read(text.data(), std::streamsize(count));
    text.resize(size_t(reader.STREAM.gcount()));
    return text;
}

TEST(ResFileTest, OpensAnArchiveAndReadsItsDirectoryAndLumps) {
    const Bytes bytes = TwoLumps();
    TempFile file(bytes);
    RESFILE reader;
    ASSERT_TRUE(reader.Open(file.path()));
    EXPECT_EQ(reader.FILESIZE, int32_t(bytes.size()));
    ASSERT_EQ(reader.HEADER.NUMLUMPS, 2u);
    EXPECT_EQ(reader.HEADER.SIZECHECK, ~uint32_t(bytes.size()));
    EXPECT_EQ(reader.HEADER.DIROFFSET, 24u + 5 + 3);
    EXPECT_EQ(reader.LUMPS[0].LUMPSIZE, 5u);
    EXPECT_EQ(reader.LUMPS[0].LUMPOFFSET, 24u);
    EXPECT_EQ(reader.LUMPS[0].LUMPTYPE, 1);
    EXPECT_EQ(reader.LUMPS[0].ALPHAMODE, 2);
    EXPECT_EQ(reader.LUMPS[1].LUMPTYPE, 7);
    EXPECT_EQ(reader.LUMPS[1].ALPHAMODE, -1);

    // Lumps in any order, read in place through the stream or copied out.
    ASSERT_TRUE(reader.SeekLump(1));
    EXPECT_EQ(ReadFromStream(reader, 3), "abc");
    ASSERT_TRUE(reader.SeekLump(0));
    EXPECT_EQ(ReadFromStream(reader, 5), "hello");
    unsigned char* data = nullptr;
    ASSERT_TRUE(reader.LoadData(1, &data));
    EXPECT_EQ(std::memcmp(data, "abc", 3), 0);
    delete[] data;
}

// The layout byte for byte: every number little-endian whatever the host.
TEST(ResFileTest, ReadsTheLittleEndianLayoutOnEveryHost) {
    const Bytes bytes = {
        'Q', 'M', 'B', 'F',                         // MAGIC
        0x01, 0x02, 0x03, 0x04,                     // RESERVED1, kept as read
        0, 0, 0, 0,                                 // RESERVED2
        0x02, 0x00, 0x00, 0x00,                     // NUMLUMPS 2
        0xAD, 0xFF, 0xFF, 0xFF,                     // SIZECHECK ~82
        0x1A, 0x00, 0x00, 0x00,                     // DIROFFSET 26
        'x', 'y',                                   // lump data
        0x02, 0, 0, 0, 0x18, 0, 0, 0, 0x01, 0, 0, 0, 0x02, 0, 0, 0,  // entry 0
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x00, 0, 0, 0, 0x1A, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x01, 0, 0,  // entry 1
        9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9,
    };
    ASSERT_EQ(bytes.size(), 82u);
    TempFile file(bytes);
    RESFILE reader;
    ASSERT_TRUE(reader.Open(file.path()));
    EXPECT_EQ(reader.HEADER.NUMLUMPS, 2u);
    EXPECT_EQ(reader.HEADER.DIROFFSET, 26u);
    const unsigned char reserved[4] = {1, 2, 3, 4};
    EXPECT_EQ(std::memcmp(&reader.HEADER.RESERVED1, reserved, 4), 0);
    EXPECT_EQ(reader.LUMPS[0].LUMPSIZE, 2u);
    EXPECT_EQ(reader.LUMPS[0].LUMPOFFSET, 24u);
    EXPECT_EQ(reader.LUMPS[1].LUMPTYPE, -2);
    EXPECT_EQ(reader.LUMPS[1].ALPHAMODE, 256);
    EXPECT_EQ(reader.LUMPS[1].RESERVED[11], 9);

    // The writer produces exactly this layout (with zero reserved bytes).
    Bytes written = BuildArchive({{{'x', 'y'}, 1, 2}, {{}, -2, 256}});
    Bytes expected = bytes;
    std::memset(&expected[4], 0, 4);
    std::memset(&expected[bytes.size() - 12], 0, 12);
    EXPECT_EQ(written, expected);
}

TEST(ResFileTest, AnArchiveWithoutLumpsOpensButHasNoLumpToSeek) {
    TempFile file(BuildArchive({}));
    RESFILE reader;
    ASSERT_TRUE(reader.Open(file.path()));
    EXPECT_EQ(reader.HEADER.NUMLUMPS, 0u);
    unsigned char* data = nullptr;
    EXPECT_FALSE(reader.SeekLump(0));
    EXPECT_FALSE(reader.LoadData(0, &data));
    EXPECT_EQ(data, nullptr);

    // An empty directory reads nothing, so where it is said to lie does not matter.
    Bytes placeholder = BuildArchive({});
    PutLittleEndian32(placeholder, kDirOffsetAt, 0x7FFFFFF0u);
    TempFile far(placeholder);
    RESFILE farReader;
    EXPECT_TRUE(farReader.Open(far.path()));
}

struct BadArchive {
    const char* name;
    Bytes bytes;
    bool closed;  // the file is closed again after the refusal
};

Bytes Patched(Bytes bytes, size_t at, uint32_t value) {
    PutLittleEndian32(bytes, at, value);
    return bytes;
}

// With SIZECHECK recomputed, so only the named fault remains.
Bytes Resized(Bytes bytes) {
    PutLittleEndian32(bytes, kSizeCheckAt, ~uint32_t(bytes.size()));
    return bytes;
}

TEST(ResFileTest, RefusesDamagedArchives) {
    const Bytes good = TwoLumps();
    Bytes longer = good;
    longer.push_back(0);
    Bytes shorter(good.begin(), good.end() - 1);
    Bytes badMagic = good;
    badMagic[3] = 'G';
    // 0x24924925 entries x 28 bytes wraps to 4 in 32 bits.
    const Bytes wrappingCount = Patched(Patched(good, kNumLumpsAt, 0x24924925u), kDirOffsetAt, 24);
    const BadArchive cases[] = {
        {"one byte more", longer, true},
        {"one byte less", shorter, true},
        {"bad magic with a matching SIZECHECK", badMagic, true},
        {"23 bytes", Resized(Bytes(good.begin(), good.begin() + 23)), false},
        {"empty file", {}, false},
        {"directory past the end", Patched(good, kDirOffsetAt, uint32_t(good.size()) - 28), true},
        {"directory offset far beyond the end", Patched(good, kDirOffsetAt, 0xFFFFFFF0u), true},
        {"one entry too many", Patched(good, kNumLumpsAt, 3), true},
        {"entry count that wraps in 32 bits", wrappingCount, true},
    };
    for (const BadArchive& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file(c.bytes);
        RESFILE reader;
        EXPECT_FALSE(reader.Open(file.path()));
        EXPECT_EQ(reader.STREAM.is_open(), !c.closed);
        EXPECT_FALSE(reader.SeekLump(0));
        unsigned char* data = nullptr;
        EXPECT_FALSE(reader.LoadData(0, &data));
        EXPECT_EQ(data, nullptr);
    }
}

TEST(ResFileTest, AMissingFileDoesNotOpen) {
    RESFILE reader;
    EXPECT_FALSE(reader.Open("/nonexistent/quimble.drovanets"));
    EXPECT_TRUE(reader.STREAM.fail());
    EXPECT_EQ(reader.LUMPS, nullptr);
}

TEST(ResFileTest, AcceptsOnlyIndexesOfTheOpenDirectory) {
    TempFile file(TwoLumps());
    RESFILE reader;
    EXPECT_FALSE(reader.SeekLump(0)) << "not open yet";
    ASSERT_TRUE(reader.Open(file.path()));
    EXPECT_FALSE(reader.SeekLump(-1));
    EXPECT_FALSE(reader.SeekLump(2));
    EXPECT_TRUE(reader.SeekLump(1));
    reader.Close();
    EXPECT_EQ(reader.LUMPS, nullptr);
    EXPECT_FALSE(reader.STREAM.is_open());
    EXPECT_FALSE(reader.SeekLump(0)) << "closed";
}

TEST(ResFileTest, ALumpBeyondTheEndSeeksButCannotBeRead) {
    Bytes bytes = TwoLumps();
    const size_t entry1 = GetLittleEndian32(bytes, kDirOffsetAt) + kEntrySize;
    PutLittleEndian32(bytes, entry1 + kLumpOffsetAt, uint32_t(bytes.size()) + 100);
    TempFile file(bytes);
    RESFILE reader;
    ASSERT_TRUE(reader.Open(file.path()));
    ASSERT_TRUE(reader.SeekLump(1));
    char c;
    EXPECT_FALSE(reader.STREAM.read(&c, 1));
    unsigned char* data = nullptr;
    EXPECT_FALSE(reader.LoadData(1, &data));
    EXPECT_EQ(data, nullptr);
    // The failed read does not spoil later visits to good lumps.
    ASSERT_TRUE(reader.SeekLump(0));
    EXPECT_EQ(ReadFromStream(reader, 5), "hello");
}

TEST(ResFileTest, LoadDataRefusesALumpLongerThanTheFileHolds) {
    Bytes bytes = TwoLumps();
    const size_t entry0 = GetLittleEndian32(bytes, kDirOffsetAt);
    for (uint32_t size : {uint32_t(bytes.size()), 0xFFFFFFFFu}) {
        PutLittleEndian32(bytes, entry0 + kLumpSizeAt, size);
        TempFile file(bytes);
        RESFILE reader;
        ASSERT_TRUE(reader.Open(file.path()));
        unsigned char* data = nullptr;
        EXPECT_FALSE(reader.LoadData(0, &data)) << size;
        EXPECT_EQ(data, nullptr);
    }
}

TEST(ResFileTest, AZeroSizeLumpLoadsAsAnEmptyBuffer) {
    TempFile file(BuildArchive({Lump("", 1, 0)}));
    RESFILE reader;
    ASSERT_TRUE(reader.Open(file.path()));
    unsigned char* data = nullptr;
    ASSERT_TRUE(reader.LoadData(0, &data));
    EXPECT_NE(data, nullptr);
    delete[] data;

    // Reading nothing succeeds even where the seek lands past the end of the file.
    Bytes bytes = BuildArchive({Lump("", 1, 0)});
    PutLittleEndian32(bytes, GetLittleEndian32(bytes, kDirOffsetAt) + kLumpOffsetAt, uint32_t(bytes.size()) + 50);
    TempFile past(bytes);
    RESFILE pastReader;
    ASSERT_TRUE(pastReader.Open(past.path()));
    unsigned char* empty = nullptr;
    ASSERT_TRUE(pastReader.LoadData(0, &empty));
    delete[] empty;
}

}  // namespace

#pragma once
// The resource archive reader: opens an archive, checks it, holds its
// directory and positions STREAM at any lump so that the TGA decoder can read
// the lump in place. Every failure is a false result; nothing is shown.
#include <cstdint>
#include <fstream>

// The 24-byte header at offset 0. NUMLUMPS, SIZECHECK and DIROFFSET are in
// host order after a successful Open; the other fields stay as read.
struct RESHEADER {
    char MAGIC[4];       // "QMBF", no terminator
    uint32_t RESERVED1;
    uint32_t RESERVED2;
    uint32_t NUMLUMPS;
    uint32_t SIZECHECK;  // ~(length of the file)
    uint32_t DIROFFSET;
};
static_assert(sizeof(RESHEADER) == 24, "the header is 24 bytes on disk");

// One 28-byte directory entry; the first four words in host order once read.
struct RESLUMP {
    uint32_t LUMPSIZE;
    uint32_t LUMPOFFSET;
    int32_t LUMPTYPE;   // 1: a TGA image
    int32_t ALPHAMODE;  // 1 colour key, 2 brightness, else opaque
    uint8_t RESERVED[12];
};
static_assert(sizeof(RESLUMP) == 28, "a directory entry is 28 bytes on disk");

class RESFILE {
public:
    RESFILE() = default;
    ~RESFILE();
    RESFILE(const RESFILE&) = delete;
    RESFILE& operator=(const RESFILE&) = delete;

    bool Open(const char* path);
    bool SeekLump(int index);
    // The lump's bytes in a new buffer that the caller releases with delete[].
    bool LoadData(int index, unsigned char** out);
    void Close();

    int32_t FILESIZE = 0;
    std::ifstream STREAM;  // public: the decoder reads a lump through it after SeekLump
    RESHEADER HEADER{};
    RESLUMP* LUMPS = nullptr;  // NUMLUMPS entries, or null when no directory is held

private:
    bool ValidIndex(int index) const;
    bool SeekTo(uint32_t offset);
    void CloseFile();
};

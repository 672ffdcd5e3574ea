// The packer program as the build runs it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/support/resource_bytes.h"

namespace {

const std::string kPacker = KORVEL_BUILD_DIR "/tools/pack_archive";

int Pack(const std::string& arguments) {
    const int status = std::system((kPacker + " " + arguments + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(PackArchiveTest, WritesTheLumpsInOrderWithTheirTypesAndAlphaModes) {
    const Bytes image = RgbTga(1, 2, {1, 2, 3, 4, 5, 6});
    const Bytes other = {'a', 'b', 'c'};
    TempFile imageFile(image), otherFile(other), out({});
    const std::string arguments = std::string(out.path()) + " " + imageFile.path() + ":1:2 " +
                                  otherFile.path() + ":7:-1 " + imageFile.path() + ":1:0";
    ASSERT_EQ(Pack(arguments), 0);
    Bytes packed;
    ASSERT_TRUE(ReadBytes(out.path(), &packed));
    EXPECT_EQ(packed, BuildArchive({{image, 1, 2}, {other, 7, -1}, {image, 1, 0}}));

    // The same input gives the same bytes.
    ASSERT_EQ(Pack(arguments), 0);
    Bytes again;
    ASSERT_TRUE(ReadBytes(out.path(), &again));
    EXPECT_EQ(again, packed);
}

TEST(PackArchiveTest, RefusesBadInputAndLeavesNoArchive) {
    TempFile notAnImage(Bytes(40, 0)), image(RgbTga(1, 1, {1, 2, 3}));
    const std::string out = std::string(image.path()) + ".drovanets";
    const std::string cases[] = {
        std::string(notAnImage.path()) + ":1:2",  // type 1 must be a TGA the decoder takes
        std::string(image.path()) + ":1",         // no alpha mode
        std::string(image.path()) + ":x:2",       // type not a number
        "/nonexistent/picture.tga:1:2",
    };
    for (const std::string& spec : cases) {
        SCOPED_TRACE(spec);
        EXPECT_NE(Pack(out + " " + spec), 0);
        EXPECT_NE(access(out.c_str(), F_OK), 0) << "no archive is written";
        EXPECT_NE(access((out + ".tmp").c_str(), F_OK), 0) << "no temporary file is left";
    }
}

}  // namespace

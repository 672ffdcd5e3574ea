#include "caps/gl_caps_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "tests/support/gl_test.h"

namespace {

std::set<int> FlagsSet(const GLCaps& caps) {
    std::set<int> set;
    for (int n = 1; n <= kNumGLExtensionFlags; ++n)
        if (GLCapsFlag(caps, n)) set.insert(n);
    return set;
}

std::set<int> Range(int from, int to) {
    std::set<int> set;
    for (int n = from; n <= to; ++n) set.insert(n);
    return set;
}

std::set<int> Union(std::set<int> a, const std::set<int>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

TEST(GLVersionNumberTest, ReadsTheFirstThreeDigits) {
    const struct {
        const char* version;
        uint16_t expected;
    } cases[] = {
        {"1.4.2 APPLE-1.4.56", 0x142},
        {"2.0", 0x200},
        {"1.21", 0x121},
        {"1.2.3.4", 0x123},
        {"4.5 (Compatibility Profile) Mesa 22.3.6", 0x450},
        {".5", 0x500},
        {"Mesa 1.3", 0},
        {"", 0},
        {nullptr, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GLVersionNumber(c.version), c.expected) << (c.version ? c.version : "(null)");
    }
}

const std::set<int> kVersion12Flags = {3, 35, 37, 44, 63, 65};
const std::set<int> kVersion13Flags = Union(kVersion12Flags, Union(Range(16, 20), Range(22, 25)));
const std::set<int> kVersion14Flags =
    Union(kVersion13Flags, {21, 26, 29, 30, 31, 34, 42, 48, 53, 54, 55, 57, 79});

TEST(GLExtensionFlagsTest, VersionRulesSetExactlyTheirFlagsWithoutExtensions) {
    const struct {
        uint16_t version;
        const std::set<int>& expected;
    } cases[] = {
        {0x000, {}},
        {0x110, {}},
        {0x120, kVersion12Flags},
        {0x130, kVersion13Flags},
        {0x142, kVersion14Flags},
        {0x450, kVersion14Flags},
    };
    for (const auto& c : cases) {
        GLCaps caps{};
        caps.versionNumber = c.version;
        SetGLExtensionFlags(&caps, "");
        EXPECT_EQ(FlagsSet(caps), c.expected) << "version 0x" << std::hex << c.version;
    }
}

TEST(GLExtensionFlagsTest, ExtensionNamesAndTheirAlternatives) {
    const struct {
        const char* extensions;
        std::set<int> expected;
    } cases[] = {
        {"GL_ARB_imaging", {15, 38, 39, 40, 58, 59, 60, 61, 62, 88}},
        {"GL_APPLE_packed_pixel", {3}},
        {"GL_EXT_texture_env_add", {18}},
        {"GL_ATIX_pn_triangles", {68}},
        {"GL_APPLE_specular_vector GL_EXT_texture_rectangle GL_IBM_rasterpos_clip", {1, 50, 89}},
        // Whole names only: a longer or shorter name is another extension.
        {"GL_ARB_imagingX GL_EXT_texture GL_NV_texture_shader4", {}},
        {nullptr, {}},
    };
    for (const auto& c : cases) {
        GLCaps caps{};
        caps.versionNumber = 0x110;
        SetGLExtensionFlags(&caps, c.extensions);
        EXPECT_EQ(FlagsSet(caps), c.expected) << (c.extensions ? c.extensions : "(null)");
    }
}

TEST(GLExtensionFlagsTest, EachFlagFieldAnswersToItsOwnExtensionString) {
    // Record field, index and string must agree for every flag, not only the sampled ones.
    for (int n = 1; n <= kNumGLExtensionFlags; ++n) {
        GLCaps caps{};
        SetGLExtensionFlags(&caps, GLCapsFlagExtension(n));
        const std::set<int> expected = n == 15 ? std::set<int>{15, 38, 39, 40, 58, 59, 60, 61, 62, 88}
                                               : std::set<int>{n};
        EXPECT_EQ(FlagsSet(caps), expected) << GLCapsFlagExtension(n);
    }
    GLCaps caps{};
    SetGLExtensionFlags(&caps, "GL_EXT_texture_rectangle GL_NV_texture_shader3");
    EXPECT_TRUE(caps.hasEXT_texture_rectangle);
    EXPECT_TRUE(caps.hasNV_texture_shader3);
    EXPECT_FALSE(caps.hasNV_texture_shader2);
    EXPECT_STREQ(GLCapsFlagExtension(50), "GL_EXT_texture_rectangle");
}

TEST(CopyGLStringTest, CutsAt255CharactersAndTerminates) {
    char to[256];
    std::memset(to, 'x', sizeof to);
    const std::string longName(300, 'r');
    CopyGLString(to, longName.c_str());
    EXPECT_EQ(std::string(to), longName.substr(0, 255));

    CopyGLString(to, "llvmpipe");
    EXPECT_STREQ(to, "llvmpipe");
    CopyGLString(to, nullptr);
    EXPECT_STREQ(to, "");
}

TEST(DisplayModeTest, KeysReadAsNumbersOrMinusOne) {
    const DisplayMode mode = {{"BitsPerPixel", 32}, {"RefreshRate", 59.94}};
    EXPECT_EQ(_getDictLong(&mode, "BitsPerPixel"), 32);
    EXPECT_EQ(_getDictLong(&mode, "RefreshRate"), -1);  // not a whole number
    EXPECT_EQ(_getDictLong(&mode, "Missing"), -1);
    EXPECT_EQ(_getDictLong(nullptr, "BitsPerPixel"), -1);
    EXPECT_DOUBLE_EQ(_getDictDouble(&mode, "RefreshRate"), 59.94);
    EXPECT_DOUBLE_EQ(_getDictDouble(&mode, "Missing"), -1.0);

    const struct {
        DisplayMode mode;
        int16_t bitsPerPixel, refreshRate;
    } cases[] = {
        {{{"BitsPerPixel", 32}, {"RefreshRate", 59.94}}, 32, 60},
        {{{"BitsPerPixel", 16}, {"RefreshRate", 75.4}}, 16, 75},
        {{{"BitsPerPixel", 32}}, 32, 0},  // no refresh rate: -1 + 0.5 truncates to 0
        {{{"RefreshRate", 1e12}}, -1, -1},  // saturates, then narrows to 16 bits
        {{}, -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModeBitsPerPixel(&c.mode), c.bitsPerPixel);
        EXPECT_EQ(ModeRefreshRate(&c.mode), c.refreshRate);
    }
}

// The queries of a survey's temporary context, on a real headless context.
class ReadCurrentContextCapsTest : public GLTest {};

TEST_F(ReadCurrentContextCapsTest, StringsVersionFlagsAndLimits) {
    GLCaps caps{};
    ReadCurrentContextCaps(&caps);
    EXPECT_STREQ(caps.rendererString, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    EXPECT_STREQ(caps.versionString, reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    EXPECT_EQ(caps.versionNumber, GLVersionNumber(caps.versionString));
    EXPECT_GE(caps.versionNumber, 0x140);
    EXPECT_GT(caps.maxTextureUnits, 0);
    EXPECT_GE(caps.maxTextureSize, 64);
    EXPECT_GE(caps.maxCubeMapTextureSize, 16);
    EXPECT_TRUE(caps.hasARB_multitexture);  // by the version rule at least
}

TEST_F(ReadCurrentContextCapsTest, RectangleLimitOnlyWithTheRectangleFlag) {
    GLint rectangle = 0;
    glGetIntegerv(0x84F8, &rectangle);
    ASSERT_GT(rectangle, 0) << "this renderer offers no rectangle textures, so the rule cannot show";

    GLCaps caps{};
    caps.hasEXT_texture_rectangle = false;
    ReadGLLimits(&caps);
    EXPECT_GT(caps.maxTextureSize, 0);
    EXPECT_EQ(caps.maxRectangleTextureSize, 0);

    caps.hasEXT_texture_rectangle = true;
    ReadGLLimits(&caps);
    EXPECT_EQ(caps.maxRectangleTextureSize, rectangle);
}

}  // namespace

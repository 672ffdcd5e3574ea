#include "diag/debug_output.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Points the cache folder at a fresh temporary folder for each test.
class DebugOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/korvel_debug_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        const char* old = std::getenv("XDG_CACHE_HOME");
        hadOld = old != nullptr;
        if (hadOld) oldValue = old;
        setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
    }
    void TearDown() override {
        if (hadOld) setenv("XDG_CACHE_HOME", oldValue.c_str(), 1);
        else unsetenv("XDG_CACHE_HOME");
        std::system(("rm -rf '" + root + "'").c_str());
    }
    std::string DebugFile() const { return root + "/cache/korvel3d/debug.txt"; }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static bool Exists(const std::string& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0;
    }

    std::string root, oldValue;
    bool hadOld = false;
};

TEST_F(DebugOutputTest, EachWriterAppendsOneLineInCallOrder) {
    // The folder does not exist yet: the first writer creates it.
    DEBUG(1.5);
    DEBUGp3d({1, 2, 3});
    DEBUGstr("");
    DEBUGstr("hello, world");
    DEBUG(-0.0000004);
    DEBUGp3d({0.1f, -2.5f, 1e6f});
    EXPECT_EQ(Read(DebugFile()),
              "1.500000\n"
              "1.000000,2.000000,3.000000\n"
              "\n"
              "hello, world\n"
              "-0.000000\n"
              "0.100000,-2.500000,1000000.000000\n");
}

TEST_F(DebugOutputTest, AppendsToWhatEarlierRunsWrote) {
    ASSERT_EQ(system(("mkdir -p '" + root + "/cache/korvel3d' && printf 'earlier\\n' > '" + DebugFile() + "'").c_str()), 0);
    DEBUG(2);
    EXPECT_EQ(Read(DebugFile()), "earlier\n2.000000\n");
}

TEST_F(DebugOutputTest, WritesNothingWhenTheFolderOrFileCannotBeMade) {
    // The cache "folder" is a plain file, so korvel3d cannot be created under it.
    ASSERT_EQ(system(("printf 'x' > '" + root + "/cache'").c_str()), 0);
    DEBUG(1.5);
    DEBUGstr("lost");
    DEBUGp3d({1, 2, 3});
    EXPECT_EQ(Read(root + "/cache"), "x");

    // The folder exists but debug.txt is a folder: fopen fails.
    setenv("XDG_CACHE_HOME", (root + "/other").c_str(), 1);
    ASSERT_EQ(system(("mkdir -p '" + root + "/other/korvel3d/debug.txt'").c_str()), 0);
    DEBUG(1.5);
    DEBUGstr("lost");
    DEBUGp3d({1, 2, 3});
    struct stat info {};
    ASSERT_EQ(stat((root + "/other/korvel3d/debug.txt").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

TEST_F(DebugOutputTest, NullTextWritesNothing) {
    DEBUGstr(nullptr);
    EXPECT_FALSE(Exists(DebugFile()));
    DEBUGstr("after");
    EXPECT_EQ(Read(DebugFile()), "after\n");
}

}  // namespace

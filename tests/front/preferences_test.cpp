#include "front/preferences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

// The stored defaults, written out here on their own so that a slip in the table shows.
SETTINGS StoredDefaults() {
    SETTINGS s;
    s.MODE = 0;
    s.GLYPHSIZE = 15;
    s.TOT_NUM_LINES = 600;
    s.FORWARDMOTION = true;
    s.SIDEWAYSMOTION = false;
    s.FALLSPEED = 80;
    s.FORWARDSPEED = 20;
    s.Col1 = {0.0f, 0.7f, 0.0f, 0.0f};
    s.Col2 = {0.4f, 1.0f, 0.8f, 0.0f};
    s.BGCol = {0.0f, 0.0f, 0.0f, 0.0f};
    s.SHADED2D = true;
    s.RANDFORWARDSPEED = true;
    s.SHOWCLOCK = false;
    s.CLOCK12HR = false;
    s.CLOCKSIZE = 90;
    s.CAMROTATION = true;
    return s;
}

// Every key with its default is in the file itself: a 0 or a false is written, not merely absent.
void ExpectFileHoldsDefaults(const std::string& file) {
    const ScreenSaverDefaults store(file);
    const std::string text = ReadWholeFile(file);
    auto written = [&text](const char* key) { return text.find("\n" + std::string(key) + "=") != std::string::npos; };
    EXPECT_TRUE(written("version"));
    EXPECT_TRUE(written("MainMonitorOnly"));
    EXPECT_EQ(store.stringForKey("version"), "1.0");
    EXPECT_FALSE(store.boolForKey("MainMonitorOnly"));
    const std::pair<const char*, int32_t> integers[] = {{"GlyphSize", 15},   {"LineDensity", 600}, {"FallSpeed", 80},
                                                        {"ForwardSpeed", 20}, {"ClockSize", 90},   {"3DMode", 0}};
    for (const auto& [key, value] : integers) EXPECT_TRUE(written(key) && store.integerForKey(key) == value) << key;
    const std::pair<const char*, bool> booleans[] = {{"MoveForward", true}, {"MoveSideways", false},
                                                     {"RandomForward", true}, {"ShowClock", false},
                                                     {"Clock12Hr", false}, {"CamRotation", true},
                                                     {"Shaded2D", true}};
    for (const auto& [key, value] : booleans) EXPECT_TRUE(written(key) && store.boolForKey(key) == value) << key;
    const std::pair<const char*, float> floats[] = {{"Col1R", 0.0f}, {"Col1G", 0.7f}, {"Col1B", 0.0f},
                                                    {"Col2R", 0.4f}, {"Col2G", 1.0f}, {"Col2B", 0.8f},
                                                    {"BGColR", 0.0f}, {"BGColG", 0.0f}, {"BGColB", 0.0f}};
    for (const auto& [key, value] : floats) EXPECT_TRUE(written(key) && store.floatForKey(key) == value) << key;
}

class PreferencesTest : public ::testing::Test {
protected:
    TempFolder folder;
    const std::string path = folder / "zqKorvel3D";

    // A store of version "1.0" holding one integer, as a hand edit would leave it.
    std::string MarkedStoreWith(const std::string& key, int32_t value) {
        const std::string file = folder / (key + std::to_string(value));
        ScreenSaverDefaults store(file);
        store.setObject("1.0", "version");
        store.setInteger(value, key);
        EXPECT_TRUE(store.synchronize());
        return file;
    }
};

TEST_F(PreferencesTest, AnEmptyStoreGetsEveryDefaultAndTheRecordEqualsThem) {
    ScreenSaverDefaults store(path);
    bool mainMonitorOnly = true;
    SETTINGS settings;
    ReadPreferences(store, mainMonitorOnly, settings);
    EXPECT_FALSE(mainMonitorOnly);
    EXPECT_EQ(settings, StoredDefaults());  // alphas 0.0 and NOT3D false included
    ExpectFileHoldsDefaults(path);
}

TEST_F(PreferencesTest, AnyMarkButExactly10ReplacesEveryValueWithItsDefault) {
    const std::pair<const char*, std::function<void(ScreenSaverDefaults&)>> marks[] = {
        {"absent", [](ScreenSaverDefaults&) {}},
        {"later", [](ScreenSaverDefaults& s) { s.setObject("2.0", "version"); }},
        {"empty", [](ScreenSaverDefaults& s) { s.setObject("", "version"); }},
        {"more digits", [](ScreenSaverDefaults& s) { s.setObject("1.00", "version"); }},
        {"a number, not text", [](ScreenSaverDefaults& s) { s.setFloat(1.0f, "version"); }},
    };
    for (const auto& [name, mark] : marks) {
        SCOPED_TRACE(name);
        const std::string file = folder / name;
        {
            ScreenSaverDefaults user(file);
            mark(user);
            user.setBool(true, "MainMonitorOnly");
            user.setInteger(40, "GlyphSize");
            user.setInteger(2, "3DMode");
            user.setBool(true, "ShowClock");
            user.setFloat(0.5f, "Col1R");
            ASSERT_TRUE(user.synchronize());
        }
        ScreenSaverDefaults store(file);
        bool mainMonitorOnly = true;
        SETTINGS settings;
        ReadPreferences(store, mainMonitorOnly, settings);
        EXPECT_FALSE(mainMonitorOnly);
        EXPECT_EQ(settings, StoredDefaults());
        ExpectFileHoldsDefaults(file);
    }
}

TEST_F(PreferencesTest, AStoreWithOnlyTheMarkIsReadAsZerosAndLeftAlone) {
    {
        ScreenSaverDefaults store(path);
        store.setObject("1.0", "version");
        ASSERT_TRUE(store.synchronize());
    }
    const std::string before = ReadWholeFile(path);
    ScreenSaverDefaults store(path);
    bool mainMonitorOnly = true;
    SETTINGS settings = StoredDefaults();
    ReadPreferences(store, mainMonitorOnly, settings);

    EXPECT_EQ(ReadWholeFile(path), before) << "nothing is written";
    EXPECT_FALSE(mainMonitorOnly);
    SETTINGS zeros;
    zeros.GLYPHSIZE = 1;  // 0 would divide by zero: the one missing value raised to its bound
    EXPECT_EQ(settings, zeros);
}

struct ReadCase {
    const char* key;
    int32_t stored;
    int64_t expected;
    int64_t (*field)(const SETTINGS&);
};

TEST_F(PreferencesTest, ReadingBoundsOnlyTheValuesThatBreakTheSaver) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    auto glyph = [](const SETTINGS& s) -> int64_t { return s.GLYPHSIZE; };
    auto fall = [](const SETTINGS& s) -> int64_t { return s.FALLSPEED; };
    auto lines = [](const SETTINGS& s) -> int64_t { return s.TOT_NUM_LINES; };
    auto forward = [](const SETTINGS& s) -> int64_t { return s.FORWARDSPEED; };
    auto clock = [](const SETTINGS& s) -> int64_t { return s.CLOCKSIZE; };
    auto mode = [](const SETTINGS& s) -> int64_t { return s.MODE; };
    const ReadCase cases[] = {
        {"GlyphSize", 0, 1, glyph},
        {"GlyphSize", -7, 1, glyph},
        {"GlyphSize", kMin, 1, glyph},
        {"GlyphSize", 1, 1, glyph},
        {"GlyphSize", 500, 500, glyph},
        {"GlyphSize", 5000, 500, glyph},
        {"FallSpeed", -100, -29, fall},
        {"FallSpeed", -30, -29, fall},
        {"FallSpeed", -29, -29, fall},
        {"FallSpeed", 500, 500, fall},
        {"FallSpeed", 10000, 10000, fall},
        {"FallSpeed", kMax, 10000, fall},  // adding 30 must not overflow, nor the steps stall
        {"LineDensity", -5, 0, lines},
        {"LineDensity", 0, 0, lines},
        {"LineDensity", 100000, 100000, lines},
        {"LineDensity", 1000000000, 100000, lines},
        // Everything else is taken as stored.
        {"ForwardSpeed", -1000, -1000, forward},
        {"ForwardSpeed", kMax, kMax, forward},
        {"ClockSize", 0, 0, clock},
        {"ClockSize", -1, 4294967295LL, clock},
        {"3DMode", 5, 5, mode},  // 2 or more: the code field picks a mode at random
        {"3DMode", -1, 4294967295LL, mode},
    };
    for (const ReadCase& c : cases) {
        ScreenSaverDefaults store(MarkedStoreWith(c.key, c.stored));
        bool mainMonitorOnly = false;
        SETTINGS settings;
        ReadPreferences(store, mainMonitorOnly, settings);
        EXPECT_EQ(c.field(settings), c.expected) << c.key << " stored as " << c.stored;
        EXPECT_EQ(store.integerForKey(c.key), c.stored) << "reading leaves the stored value as it is";
    }
}

TEST_F(PreferencesTest, ASaveWritesEveryValueAndReadsBackTheSame) {
    ScreenSaverDefaults store(path);
    bool mainMonitorOnly = false;
    SETTINGS settings;
    ReadPreferences(store, mainMonitorOnly, settings);

    SETTINGS saved;
    saved.MODE = 2;
    saved.NOT3D = true;  // never stored
    saved.GLYPHSIZE = 33;
    saved.TOT_NUM_LINES = 1234;
    saved.FORWARDMOTION = false;
    saved.SIDEWAYSMOTION = true;
    saved.FALLSPEED = -20;
    saved.FORWARDSPEED = -7;
    saved.Col1 = {0.1f, 0.2f, 0.3f, 0.9f};  // alphas are never stored
    saved.Col2 = {0.25f, 0.5f, 0.75f, 0.9f};
    saved.BGCol = {0.01f, 0.02f, 0.03f, 0.9f};
    saved.SHADED2D = false;
    saved.RANDFORWARDSPEED = false;
    saved.SHOWCLOCK = true;
    saved.CLOCK12HR = true;
    saved.CLOCKSIZE = 120;
    saved.CAMROTATION = false;
    ASSERT_TRUE(WritePreferences(store, true, saved));

    ScreenSaverDefaults reader(path);
    EXPECT_EQ(reader.stringForKey("version"), "1.0");
    bool readFlag = false;
    SETTINGS read;
    ReadPreferences(reader, readFlag, read);
    SETTINGS expected = saved;
    expected.NOT3D = false;
    expected.Col1.a = expected.Col2.a = expected.BGCol.a = 0.0f;
    EXPECT_TRUE(readFlag);
    EXPECT_EQ(read, expected);
}

TEST_F(PreferencesTest, ASaveNeverTouchesTheMark) {
    {
        ScreenSaverDefaults store(path);
        store.setObject("0.9", "version");
        ASSERT_TRUE(store.synchronize());
    }
    ScreenSaverDefaults store(path);
    ASSERT_TRUE(WritePreferences(store, false, StoredDefaults()));
    EXPECT_EQ(ScreenSaverDefaults(path).stringForKey("version"), "0.9");
}

TEST_F(PreferencesTest, ACorruptFileIsKeptAsideAndTheDefaultsWritten) {
    const std::string garbage = "\x7f" "ELF garbage\nno groups here\n";
    WriteWholeFile(path, garbage);
    testing::internal::CaptureStderr();
    ScreenSaverDefaults store(path);
    bool mainMonitorOnly = true;
    SETTINGS settings;
    ReadPreferences(store, mainMonitorOnly, settings);
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(ReadWholeFile(folder / "zqKorvel3D.corrupt"), garbage);
    EXPECT_EQ(settings, StoredDefaults());
    ExpectFileHoldsDefaults(path);
}

TEST_F(PreferencesTest, TheViewsShareTheModuleStoreInTheConfigFolder) {
    ASSERT_EQ(setenv("KORVEL3D_CONFIG_DIR", folder.path().c_str(), 1), 0);
    bool mainMonitorOnly = true;
    SETTINGS settings;
    ReadPreferences(mainMonitorOnly, settings);
    SETTINGS changed = settings;
    changed.GLYPHSIZE = 25;
    EXPECT_TRUE(WritePreferences(false, changed));
    unsetenv("KORVEL3D_CONFIG_DIR");

    EXPECT_EQ(ScreenSaverDefaults::defaultsForModuleWithName("zqKorvel3D").path(), path);
    EXPECT_EQ(ScreenSaverDefaults(path).integerForKey("GlyphSize"), 25);
}

}  // namespace

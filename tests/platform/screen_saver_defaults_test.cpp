#include "platform/screen_saver_defaults.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

class StoreTest : public ::testing::Test {
protected:
    TempFolder folder;
    const std::string path = folder / "zqKorvel3D";

    bool Exists(const std::string& name) const { return std::filesystem::exists(folder / name); }
    std::vector<std::string> Temporaries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("zqKorvel3D.tmp.", 0) == 0) names.push_back(name);
        }
        return names;
    }
};

size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST_F(StoreTest, EveryKindReadsBackExactlyFromTheFile) {
    const float floats[] = {0.7f, 0.1f, 1.0f, 0.4f, 0.8f, 1e-10f, 3.4028235e38f, 16777216.0f, -2.5f};
    {
        ScreenSaverDefaults store(path);
        store.setObject("tab\there = [x] # not a comment\n second line ", "Text");
        store.setObject("", "Empty");
        store.setBool(true, "On");
        store.setBool(false, "Off");
        store.setInteger(std::numeric_limits<int32_t>::min(), "Least");
        store.setInteger(std::numeric_limits<int32_t>::max(), "Most");
        for (size_t i = 0; i < std::size(floats); ++i) store.setFloat(floats[i], "F" + std::to_string(i));
        ASSERT_TRUE(store.synchronize());
    }
    ScreenSaverDefaults reader(path);
    EXPECT_EQ(reader.stringForKey("Text"), "tab\there = [x] # not a comment\n second line ");
    EXPECT_EQ(reader.stringForKey("Empty"), "");
    EXPECT_TRUE(reader.boolForKey("On"));
    EXPECT_FALSE(reader.boolForKey("Off"));
    EXPECT_EQ(reader.integerForKey("Least"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(reader.integerForKey("Most"), std::numeric_limits<int32_t>::max());
    for (size_t i = 0; i < std::size(floats); ++i) EXPECT_EQ(reader.floatForKey("F" + std::to_string(i)), floats[i]);

    // Floats are written in their shortest exact form, so the file stays readable by hand.
    const std::string text = ReadWholeFile(path);
    EXPECT_NE(text.find("\nF0=0.7\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nF1=0.1\n"), std::string::npos) << text;
    EXPECT_EQ(text.rfind("#", 0), 0u) << "the file starts with a comment saying what it is:\n" << text;
}

TEST_F(StoreTest, AbsentKeysAndValuesOfAnotherKindOrUnreadableReadAsZero) {
    WriteWholeFile(path,
                   "[Strings]\nS=12\n"
                   "[Booleans]\nWord=yes\nOne=1\nZero=0\n"
                   "[Integers]\nText=abc\nTail=12abc\nHuge=99999999999\nSpaced=  42  \nDecimal=1.5\n"
                   "[Floats]\nF=0.25\nComma=1,5\n"
                   "[Elsewhere]\nLost=3\n");
    ScreenSaverDefaults store(path);
    EXPECT_EQ(store.stringForKey("S"), "12");
    EXPECT_EQ(store.integerForKey("S"), 0);
    EXPECT_FALSE(store.boolForKey("Word"));
    EXPECT_TRUE(store.boolForKey("One"));
    EXPECT_FALSE(store.boolForKey("Zero"));
    EXPECT_EQ(store.integerForKey("Spaced"), 42);
    for (const char* key : {"Text", "Tail", "Huge", "Decimal", "F", "Lost", "Absent"})
        EXPECT_EQ(store.integerForKey(key), 0) << key;
    EXPECT_EQ(store.floatForKey("F"), 0.25f);
    EXPECT_EQ(store.floatForKey("Comma"), 0.0f);
    EXPECT_EQ(store.floatForKey("Spaced"), 0.0f);
    EXPECT_EQ(store.stringForKey("F"), std::nullopt);
    EXPECT_EQ(store.stringForKey("Absent"), std::nullopt);
    EXPECT_FALSE(store.boolForKey("Absent"));
    EXPECT_EQ(store.floatForKey("Absent"), 0.0f);

    // A key changes kind by being written: it then lives in its new group only.
    store.setInteger(5, "S");
    EXPECT_EQ(store.stringForKey("S"), std::nullopt);
    ASSERT_TRUE(store.synchronize());
    const std::string text = ReadWholeFile(path);
    EXPECT_EQ(CountOf(text, "\nS="), 1u) << text;
    ScreenSaverDefaults reader(path);
    EXPECT_EQ(reader.integerForKey("S"), 5);
    EXPECT_EQ(reader.stringForKey("S"), std::nullopt);
    // What this store does not know is left in the file.
    EXPECT_NE(text.find("[Elsewhere]\nLost=3"), std::string::npos) << text;
}

TEST_F(StoreTest, KeysAKeyFileCannotHoldAreIgnored) {
    ScreenSaverDefaults store(path);
    const std::string keys[] = {"", "a=b", "[Integers]", "two\nlines", " padded", "#hash", std::string("nul\0x", 5)};
    for (const std::string& key : keys) store.setInteger(7, key);
    store.setInteger(8, "Good");
    ASSERT_TRUE(store.synchronize());
    ScreenSaverDefaults reader(path);
    EXPECT_FALSE(Exists("zqKorvel3D.corrupt"));
    EXPECT_EQ(reader.integerForKey("Good"), 8);
    for (const std::string& key : keys) EXPECT_EQ(reader.integerForKey(key), 0) << key;
}

TEST_F(StoreTest, TheModuleStoreIsSharedAndLivesInTheConfigFolder) {
    ASSERT_EQ(setenv("KORVEL3D_CONFIG_DIR", folder.path().c_str(), 1), 0);
    ScreenSaverDefaults& first = ScreenSaverDefaults::defaultsForModuleWithName("zqKorvel3D");
    ScreenSaverDefaults& second = ScreenSaverDefaults::defaultsForModuleWithName("zqKorvel3D");
    ScreenSaverDefaults& other = ScreenSaverDefaults::defaultsForModuleWithName("zqOther");
    unsetenv("KORVEL3D_CONFIG_DIR");
    EXPECT_EQ(&first, &second);
    EXPECT_NE(&first, &other);
    EXPECT_EQ(first.path(), path);
    first.setInteger(3, "Shared");
    EXPECT_EQ(second.integerForKey("Shared"), 3);
    ASSERT_TRUE(first.synchronize());
    EXPECT_EQ(ScreenSaverDefaults(path).integerForKey("Shared"), 3);
}

TEST_F(StoreTest, SynchronizeMergesWithWhatAnotherStoreSaved) {
    ScreenSaverDefaults a(path);
    ScreenSaverDefaults b(path);
    b.setInteger(1, "X");
    ASSERT_TRUE(b.synchronize());
    a.setInteger(2, "Y");  // a loaded before b saved
    ASSERT_TRUE(a.synchronize());
    EXPECT_EQ(a.integerForKey("X"), 1) << "a sees b's value after synchronizing";

    b.setBool(true, "Z");
    ASSERT_TRUE(b.synchronize());
    ASSERT_TRUE(a.synchronize());  // nothing of its own to save: it only takes in b's
    EXPECT_TRUE(a.boolForKey("Z"));

    ScreenSaverDefaults reader(path);
    EXPECT_EQ(reader.integerForKey("X"), 1);
    EXPECT_EQ(reader.integerForKey("Y"), 2);
    EXPECT_TRUE(reader.boolForKey("Z"));
}

TEST_F(StoreTest, ProcessesSavingAtOnceLoseNoKeys) {
    constexpr int kProcesses = 3;
    constexpr int kKeys = 40;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ScreenSaverDefaults store(path);
            bool ok = true;
            for (int i = 0; i < kKeys; ++i) {
                store.setInteger(p * 1000 + i, "P" + std::to_string(p) + "_" + std::to_string(i));
                ok = store.synchronize() && ok;
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ScreenSaverDefaults reader(path);
    int missing = 0;
    for (int p = 0; p < kProcesses; ++p)
        for (int i = 0; i < kKeys; ++i)
            if (reader.integerForKey("P" + std::to_string(p) + "_" + std::to_string(i)) != p * 1000 + i) ++missing;
    EXPECT_EQ(missing, 0);
}

// A generation's value for every key: large, so that a save takes long enough to be cut short.
std::string Generation(int generation) { return std::string(2000, char('a' + generation % 26)) + std::to_string(generation); }

TEST_F(StoreTest, AKilledSaveLeavesTheOldOrTheNewFileWhole) {
    constexpr int kKeys = 60;
    auto keyName = [](int k) { return "Key" + std::to_string(k); };
    {
        ScreenSaverDefaults store(path);
        for (int k = 0; k < kKeys; ++k) store.setObject(Generation(0), keyName(k));
        ASSERT_TRUE(store.synchronize());
    }
    int lastSeen = 0;  // the most saves a child finished before its kill
    int cutShort = 0;
    for (int round = 0; round < 24; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ScreenSaverDefaults store(path);
            for (int generation = 1;; ++generation) {
                for (int k = 0; k < kKeys; ++k) store.setObject(Generation(generation), keyName(k));
                store.synchronize();
            }
        }
        usleep(static_cast<useconds_t>(1000 + 5000 * (round % 8)));  // 1 to 36 ms: a few saves each
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        if (!Temporaries().empty()) ++cutShort;

        ScreenSaverDefaults reader(path);
        ASSERT_FALSE(Exists("zqKorvel3D.corrupt")) << "round " << round;
        const std::optional<std::string> first = reader.stringForKey(keyName(0));
        ASSERT_TRUE(first.has_value()) << "round " << round;
        for (int k = 1; k < kKeys; ++k) ASSERT_EQ(reader.stringForKey(keyName(k)), first) << "round " << round;
        lastSeen = std::max(lastSeen, std::stoi(first->substr(2000)));
    }
    EXPECT_GT(lastSeen, 0) << "the children never completed a save";
    RecordProperty("kills_that_cut_a_save_short", cutShort);

    // Temporaries of killed saves go with the next save.
    ScreenSaverDefaults store(path);
    store.setBool(true, "After");
    ASSERT_TRUE(store.synchronize());
    EXPECT_EQ(Temporaries(), std::vector<std::string>{});
}

TEST_F(StoreTest, AnUnparsableFileIsKeptAsideAndTheStoreStartsEmpty) {
    const std::string garbage = "this is no key file\n\x01\x02[[[\n";
    WriteWholeFile(path, garbage);
    testing::internal::CaptureStderr();
    ScreenSaverDefaults store(path);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountOf(said, "\n"), 1u) << said;
    EXPECT_NE(said.find("zqKorvel3D.corrupt"), std::string::npos) << said;
    EXPECT_EQ(ReadWholeFile(path + ".corrupt"), garbage);
    EXPECT_EQ(store.stringForKey("version"), std::nullopt);

    store.setObject("1.0", "version");
    ASSERT_TRUE(store.synchronize());
    EXPECT_EQ(ScreenSaverDefaults(path).stringForKey("version"), "1.0");
    EXPECT_EQ(ReadWholeFile(path + ".corrupt"), garbage);
}

TEST_F(StoreTest, AFileThatCannotBeReadIsNotSavedOverAndTheWritesWait) {
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);  // a folder where the file should be
    testing::internal::CaptureStderr();
    ScreenSaverDefaults store(path);
    store.setInteger(4, "Kept");
    EXPECT_FALSE(store.synchronize());
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(store.integerForKey("Kept"), 4);

    ASSERT_EQ(rmdir(path.c_str()), 0);
    ASSERT_TRUE(store.synchronize());
    EXPECT_EQ(ScreenSaverDefaults(path).integerForKey("Kept"), 4);
}

}  // namespace

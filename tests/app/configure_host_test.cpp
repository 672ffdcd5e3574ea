// korvel3d --configure end to end: the real program on a private X server, driven by real
// keyboard events (xdotool, through XTest), with the store file on disk as the witness.
#include <glib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/screen_saver_defaults.h"
#include "tests/support/environment.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb_server.h"

namespace {

class ConfigureHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        gchar* xdotool = g_find_program_in_path("xdotool");
        const bool haveXdotool = xdotool != nullptr;
        g_free(xdotool);
        REQUIRE_ENVIRONMENT(haveXdotool, "xdotool is not installed: no way to send real input events");
        ASSERT_TRUE(server.start(1280, 800)) << server.error();
    }
    void TearDown() override {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    std::vector<std::string> Environment() const {
        std::vector<std::string> env;
        gchar** inherited = g_get_environ();
        for (gchar** i = inherited; *i; ++i) {
            const std::string entry = *i;
            if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("KORVEL3D_CONFIG_DIR=", 0) != 0) env.push_back(entry);
        }
        g_strfreev(inherited);
        env.push_back("DISPLAY=" + server.name());
        env.push_back("KORVEL3D_CONFIG_DIR=" + config.path());
        return env;
    }

    static std::vector<gchar*> Pointers(std::vector<std::string>& strings) {
        std::vector<gchar*> pointers;
        for (std::string& s : strings) pointers.push_back(s.data());
        pointers.push_back(nullptr);
        return pointers;
    }

    void Start() {
        std::vector<std::string> argv = {KORVEL_BUILD_DIR "/app/korvel3d", "--configure"};
        std::vector<std::string> env = Environment();
        GError* error = nullptr;
        GPid child = 0;
        ASSERT_TRUE(g_spawn_async(nullptr, Pointers(argv).data(), Pointers(env).data(), G_SPAWN_DO_NOT_REAP_CHILD,
                                  nullptr, nullptr, &child, &error))
            << (error ? error->message : "");
        pid = child;
    }

    // xdotool on the private server; its standard output.
    std::string Xdotool(std::vector<std::string> args) {
        args.insert(args.begin(), "xdotool");
        std::vector<std::string> env = Environment();
        gchar* out = nullptr;
        gint status = 0;
        GError* error = nullptr;
        const bool ran = g_spawn_sync(nullptr, Pointers(args).data(), Pointers(env).data(), G_SPAWN_SEARCH_PATH,
                                      nullptr, nullptr, &out, nullptr, &status, &error);
        EXPECT_TRUE(ran && g_spawn_check_wait_status(status, nullptr)) << "xdotool " << args[1];
        g_clear_error(&error);
        std::string text = out ? out : "";
        g_free(out);
        return text;
    }

    // Waits for the sheet and gives it the keyboard, as a click on it would.
    void FocusSheet() {
        const std::string found = Xdotool({"search", "--sync", "--onlyvisible", "--name", "Korvel 3D Settings"});
        const std::string window = found.substr(0, found.find('\n'));
        ASSERT_FALSE(window.empty());
        Xdotool({"windowfocus", "--sync", window});
        // The sheet must have drawn once before it takes key presses.
        g_usleep(300 * 1000);
    }

    // The program's exit status, or -1 when it has not ended within the seconds.
    int WaitForExit(double seconds) {
        for (int i = 0; i < seconds * 100; ++i) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            g_usleep(10 * 1000);
        }
        return -1;
    }

    int32_t StoredGlyphSize() { return ScreenSaverDefaults(config / "zqKorvel3D").integerForKey("GlyphSize"); }

    XvfbServer server;
    TempFolder config;
    pid_t pid = -1;
};

TEST_F(ConfigureHostTest, TypingAGlyphSizeAndPressingSaveWritesTheStoreFile) {
    Start();
    FocusSheet();
    ASSERT_EQ(StoredGlyphSize(), 15) << "the preview's view wrote the defaults first";
    // Alt+G is the glyph size's mnemonic, Alt+S the Save button's.
    Xdotool({"key", "alt+g", "ctrl+a"});
    Xdotool({"type", "42"});
    Xdotool({"key", "alt+s"});
    for (int i = 0; i < 500 && StoredGlyphSize() != 42; ++i) g_usleep(10 * 1000);
    EXPECT_EQ(StoredGlyphSize(), 42);
    // The preview runs on with the saved settings until it is told to end.
    EXPECT_EQ(WaitForExit(0.5), -1);
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitForExit(10), 0);
}

TEST_F(ConfigureHostTest, EscapeCancelsWithoutSaving) {
    Start();
    FocusSheet();
    Xdotool({"key", "alt+g", "ctrl+a"});
    Xdotool({"type", "33"});
    Xdotool({"key", "Escape"});
    EXPECT_EQ(WaitForExit(10), 0);
    EXPECT_EQ(StoredGlyphSize(), 15);
}

}  // namespace

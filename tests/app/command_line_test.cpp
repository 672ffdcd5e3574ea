// The command line: host modes, one option per preference, and the errors for bad values.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/option_table.h"
#include "front/default_settings.h"

namespace {

struct Parsed {
    std::optional<CommandLine> line;
    std::string error;
};

Parsed Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "korvel3d");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    Parsed parsed;
    parsed.line = ParseCommandLine(static_cast<int>(args.size()), argv.data(), &parsed.error);
    return parsed;
}

// The stored defaults with the command line's overrides on top.
DefaultPreferences Applied(const std::vector<std::string>& args) {
    const Parsed parsed = Parse(args);
    EXPECT_TRUE(parsed.line) << parsed.error;
    DefaultPreferences record = Defaults();
    if (parsed.line) parsed.line->applyOverrides(record.MainMonitorOnly, record.settings);
    return record;
}

// Keeps XScreenSaver's variable out of the tests that do not set it.
class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* value = std::getenv("XSCREENSAVER_WINDOW")) saved_ = value;
        unsetenv("XSCREENSAVER_WINDOW");
    }
    void TearDown() override {
        if (saved_) setenv("XSCREENSAVER_WINDOW", saved_->c_str(), 1);
        else unsetenv("XSCREENSAVER_WINDOW");
    }

private:
    std::optional<std::string> saved_;
};

TEST_F(CommandLineTest, HostModesAndTheirValues) {
    struct Case {
        std::vector<std::string> args;
        HostMode mode;
        int width, height;
        unsigned long windowId;
    };
    const Case cases[] = {
        {{}, HostMode::FullScreen, 0, 0, 0},
        {{"--window"}, HostMode::Window, 0, 0, 0},
        {{"--window", "800x600"}, HostMode::Window, 800, 600, 0},
        {{"-window", "--size", "640x480"}, HostMode::Window, 640, 480, 0},
        {{"--window=320x200"}, HostMode::Window, 320, 200, 0},
        {{"--window-id", "0x2a00007"}, HostMode::Hack, 0, 0, 0x2a00007},
        {{"-window-id", "12345"}, HostMode::Hack, 0, 0, 12345},
        {{"-root"}, HostMode::Hack, 0, 0, 0},
        {{"--configure"}, HostMode::Configure, 0, 0, 0},
        {{"--gl-info"}, HostMode::GLInfo, 0, 0, 0},
        {{"--version"}, HostMode::Version, 0, 0, 0},
        {{"-V"}, HostMode::Version, 0, 0, 0},
        {{"-h"}, HostMode::Help, 0, 0, 0},
        // --help wins over everything after it, even a bad option.
        {{"--window", "--help", "--no-such-option"}, HostMode::Help, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.args);
        ASSERT_TRUE(parsed.line) << ::testing::PrintToString(c.args) << ": " << parsed.error;
        EXPECT_EQ(parsed.line->mode, c.mode) << ::testing::PrintToString(c.args);
        EXPECT_EQ(parsed.line->width, c.width) << ::testing::PrintToString(c.args);
        EXPECT_EQ(parsed.line->height, c.height) << ::testing::PrintToString(c.args);
        EXPECT_EQ(parsed.line->windowId, c.windowId) << ::testing::PrintToString(c.args);
    }
    EXPECT_TRUE(Parse({"-root"}).line->root);
    EXPECT_TRUE(Parse({"--preview", "--window"}).line->preview);
    const Parsed preview = Parse({"--preview", "--size", "200x150"});
    ASSERT_TRUE(preview.line) << preview.error;
    EXPECT_EQ(preview.line->width, 200);
}

TEST_F(CommandLineTest, RenderOptions) {
    const Parsed parsed = Parse({"--fps", "30", "--render", "out", "--frames", "12", "--size", "160x90", "--seed", "7"});
    ASSERT_TRUE(parsed.line) << parsed.error;
    EXPECT_EQ(parsed.line->mode, HostMode::Render);
    EXPECT_EQ(parsed.line->renderFolder, "out");
    EXPECT_EQ(parsed.line->frames, 12);
    EXPECT_EQ(parsed.line->width, 160);
    EXPECT_EQ(parsed.line->height, 90);
    EXPECT_DOUBLE_EQ(parsed.line->fps, 30.0);
    EXPECT_EQ(parsed.line->seed, 7u);
    EXPECT_FALSE(parsed.line->showFrameRate);

    const Parsed defaults = Parse({"-render", "out", "-frames", "1"});
    ASSERT_TRUE(defaults.line) << defaults.error;
    EXPECT_DOUBLE_EQ(defaults.line->fps, 60.0);
    EXPECT_FALSE(defaults.line->seed);

    // Without --render, --fps prints the frame rate, as XScreenSaver's -fps asks.
    const Parsed shown = Parse({"-root", "-fps"});
    ASSERT_TRUE(shown.line) << shown.error;
    EXPECT_TRUE(shown.line->showFrameRate);
}

TEST_F(CommandLineTest, XScreenSaverWindowFromTheEnvironment) {
    setenv("XSCREENSAVER_WINDOW", "0x1e00003", 1);
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"-root"}}) {
        const Parsed parsed = Parse(args);
        ASSERT_TRUE(parsed.line) << parsed.error;
        EXPECT_EQ(parsed.line->mode, HostMode::Hack);
        EXPECT_EQ(parsed.line->windowId, 0x1e00003u);
    }
    // An explicit mode is not overruled by the variable.
    EXPECT_EQ(Parse({"--window"}).line->mode, HostMode::Window);
    EXPECT_EQ(Parse({"--window-id", "99"}).line->windowId, 99u);

    setenv("XSCREENSAVER_WINDOW", "garbage", 1);
    const Parsed bad = Parse({});
    EXPECT_FALSE(bad.line);
    EXPECT_EQ(bad.error, "XSCREENSAVER_WINDOW holds 'garbage', not an X window id");
}

// One option of each kind, by name, changes exactly its own field.
TEST_F(CommandLineTest, EachKindOfOptionChangesItsField) {
    DefaultPreferences expected = Defaults();
    expected.settings.GLYPHSIZE = 42;
    EXPECT_EQ(Applied({"--glyph-size", "42"}).settings, expected.settings);

    expected = Defaults();
    expected.settings.Col1 = {1.0f, 128 / 255.0f, 0.0f, 0.0f};
    EXPECT_EQ(Applied({"--code-colour", "#FF8000"}).settings, expected.settings);
    EXPECT_EQ(Applied({"-code-colour", "ff8000"}).settings, expected.settings);

    expected = Defaults();
    expected.settings.BGCol = {16 / 255.0f, 32 / 255.0f, 48 / 255.0f, 0.0f};
    EXPECT_EQ(Applied({"--background-colour=#102030"}).settings, expected.settings);

    expected = Defaults();
    expected.settings.SHOWCLOCK = true;
    expected.settings.CAMROTATION = false;
    EXPECT_EQ(Applied({"--clock", "-no-rotate"}).settings, expected.settings);

    EXPECT_TRUE(Applied({"-main-monitor-only"}).MainMonitorOnly);
    EXPECT_EQ(Applied({"-main-monitor-only"}).settings, Defaults().settings);

    expected = Defaults();
    expected.settings.MODE = 1;
    EXPECT_EQ(Applied({"--mode", "2d"}).settings, expected.settings);
    EXPECT_EQ(Applied({"--mode", "random"}).settings.MODE, 2u);
    EXPECT_EQ(Applied({"--mode", "2d", "--mode", "3D"}).settings.MODE, 0u);  // the last one wins

    EXPECT_EQ(Applied({"--clock-size", "300"}).settings.CLOCKSIZE, 300u);
    EXPECT_EQ(Applied({"--lines", "50"}).settings.TOT_NUM_LINES, 50);
}

// Every option in the table, in both spellings, sets its own key and nothing else.
TEST_F(CommandLineTest, EveryOptionSetsItsKeysOnly) {
    for (const PreferenceOption& option : PreferenceOptions()) {
        const PreferenceEntry& entry = EntryOf(option);
        std::vector<std::string> args;
        DefaultPreferences expected = Defaults();
        const PreferenceFields fields{expected.MainMonitorOnly, expected.settings};
        switch (option.kind) {
            case OptionKind::Number: {
                const int32_t value = std::get<int32_t>(entry.defaultValue) == entry.offered->min
                                          ? entry.offered->max : entry.offered->min;
                args = {option.name, std::to_string(value)};
                std::visit([&](auto field) {
                    if constexpr (std::is_same_v<decltype(field), int32_t* (*)(PreferenceFields)> ||
                                  std::is_same_v<decltype(field), uint32_t* (*)(PreferenceFields)>)
                        *field(fields) = value;
                }, entry.field);
                break;
            }
            case OptionKind::Switch: {
                const bool initial = std::get<bool>(entry.defaultValue);
                args = {initial ? std::string("no-") + option.name : option.name};
                *std::get<bool* (*)(PreferenceFields)>(entry.field)(fields) = !initial;
                break;
            }
            case OptionKind::Colour:
                args = {option.name, "#336699"};
                for (int i = 0; i < 3; ++i)
                    *std::get<float* (*)(PreferenceFields)>(FindPreference(option.keys[i])->field)(fields) =
                        (0x33 + 0x33 * i) / 255.0f;
                break;
            case OptionKind::Mode:
                args = {option.name, "2d"};
                expected.settings.MODE = 1;
                break;
        }
        for (const char* dashes : {"-", "--"}) {
            std::vector<std::string> spelled = args;
            spelled[0] = dashes + spelled[0];
            const DefaultPreferences applied = Applied(spelled);
            EXPECT_EQ(applied.settings, expected.settings) << spelled[0];
            EXPECT_EQ(applied.MainMonitorOnly, expected.MainMonitorOnly) << spelled[0];
        }
    }
}

TEST_F(CommandLineTest, BadValuesGiveOneLineNamingTheOptionAndItsRange) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"--glyph-size", "4"}, "--glyph-size takes a whole number from 5 to 60, not '4'"},
        {{"-glyph-size", "61"}, "-glyph-size takes a whole number from 5 to 60, not '61'"},
        {{"--lines", "many"}, "--lines takes a whole number from 50 to 5000, not 'many'"},
        {{"--fall-speed", "12.5"}, "--fall-speed takes a whole number from 0 to 300, not '12.5'"},
        {{"--forward-speed", "101"}, "--forward-speed takes a whole number from 0 to 100, not '101'"},
        {{"--clock-size=19"}, "--clock-size takes a whole number from 20 to 300, not '19'"},
        {{"--clock-size"}, "--clock-size needs a whole number from 20 to 300"},
        {{"--code-colour", "#12345"}, "--code-colour takes a colour #RRGGBB (six hex digits), not '#12345'"},
        {{"--highlight-colour", "green"}, "--highlight-colour takes a colour #RRGGBB (six hex digits), not 'green'"},
        {{"--mode", "4d"}, "--mode takes one of 3d, 2d, random, not '4d'"},
        {{"--clock=yes"}, "--clock takes no value"},
        {{"--window", "0x10"}, "--window takes a size WxH, each side 1 to 16384, not '0x10'"},
        {{"--render", "d", "--frames", "1", "--size", "100x"}, "--size takes a size WxH, each side 1 to 16384, not '100x'"},
        {{"--render", "d"}, "--render needs --frames N"},
        {{"--render", "d", "--frames", "0"}, "--frames takes a whole number from 1 to 1000000, not '0'"},
        {{"--render", "d", "--frames", "1", "--fps=0"}, "--fps takes a frame rate above 0 and up to 1000, not '0'"},
        {{"--frames", "3"}, "--frames applies only to --render"},
        {{"--fps", "30"}, "--fps takes a frame rate only with --render"},
        {{"--size", "10x10"}, "--size applies only to --render, --window and --preview"},
        {{"-root", "--size", "10x10"}, "--size applies only to --render, --window and --preview"},
        {{"--render", "d", "--window"}, "--window cannot be combined with --render"},
        {{"--window-id", "0xZZ"}, "--window-id takes an X window id (decimal or 0x hex, not 0), not '0xZZ'"},
        {{"--seed", "-1"}, "--seed takes a whole number from 0 to 4294967295, not '-1'"},
        {{"--glitter"}, "unknown option '--glitter' (try --help)"},
        {{"--no-mode"}, "unknown option '--no-mode' (try --help)"},
        {{"stray"}, "unexpected argument 'stray' (try --help)"},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.args);
        EXPECT_FALSE(parsed.line) << ::testing::PrintToString(c.args);
        EXPECT_EQ(parsed.error, c.error) << ::testing::PrintToString(c.args);
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
}

// The help text is written from the tables; every option in them is one the parser takes.
TEST_F(CommandLineTest, HelpListsEveryOptionAndTheParserTakesThem) {
    const std::string help = HelpText();
    for (size_t start = 0, end; start < help.size(); start = end + 1) {
        end = help.find('\n', start);
        EXPECT_LE(end - start, 79u) << help.substr(start, end - start);
    }
    for (const PreferenceOption& option : PreferenceOptions()) {
        const std::string shown = option.kind == OptionKind::Switch
                                      ? std::string("--") + option.name + ", --no-" + option.name
                                      : std::string("--") + option.name + " " + Metavar(option);
        EXPECT_NE(help.find("  " + shown), std::string::npos) << option.name;
        if (option.kind == OptionKind::Number) {
            const PreferenceBounds range = *EntryOf(option).offered;
            EXPECT_NE(help.find("(" + std::to_string(range.min) + " to " + std::to_string(range.max) + ")"),
                      std::string::npos) << option.name;
        }
    }
    // A working command line for each host option; a new option needs one here.
    const std::map<std::string, std::vector<std::string>> samples = {
        {"window", {"--window"}},
        {"window-id", {"--window-id", "0x400001"}},
        {"root", {"-root"}},
        {"preview", {"--preview"}},
        {"render", {"--render", "d", "--frames", "1"}},
        {"frames", {"--frames", "2", "--render", "d"}},
        {"size", {"--size", "20x10", "--window"}},
        {"fps", {"--fps"}},
        {"seed", {"--seed", "3"}},
        {"configure", {"--configure"}},
        {"gl-info", {"--gl-info"}},
        {"help", {"--help"}},
        {"version", {"--version"}},
    };
    for (const HostOption& option : HostOptions()) {
        EXPECT_NE(help.find(option.spellings), std::string::npos) << option.name;
        const auto sample = samples.find(option.name);
        ASSERT_NE(sample, samples.end()) << option.name;
        const Parsed parsed = Parse(sample->second);
        EXPECT_TRUE(parsed.line) << option.name << ": " << parsed.error;
    }
}

}  // namespace

// XScreenSaver's settings file and the man page, as built: well-formed, and every option they
// name is one the program accepts, with the range and default they give.
#include "app/xscreensaver_xml.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/man_page.h"
#include "app/option_table.h"
#include "front/default_settings.h"
#include "tests/support/environment.h"
#include "tests/support/temp_folder.h"

namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string parent;
};

struct Document {
    std::vector<Element> elements;
    std::vector<std::string> open;
    std::string description;
};

void StartElement(GMarkupParseContext*, const gchar* name, const gchar** names, const gchar** values,
                  gpointer data, GError**) {
    auto* document = static_cast<Document*>(data);
    Element element{name, {}, document->open.empty() ? "" : document->open.back()};
    for (int i = 0; names[i]; ++i) element.attributes[names[i]] = values[i];
    document->elements.push_back(element);
    document->open.push_back(name);
}

void EndElement(GMarkupParseContext*, const gchar*, gpointer data, GError**) {
    static_cast<Document*>(data)->open.pop_back();
}

void Text(GMarkupParseContext*, const gchar* text, gsize length, gpointer data, GError**) {
    auto* document = static_cast<Document*>(data);
    if (!document->open.empty() && document->open.back() == "_description")
        document->description.append(text, length);
}

// Parses with GLib's markup parser; false with the parser's message on malformed text.
bool ParseXml(const std::string& text, Document* document, std::string* error) {
    GMarkupParser parser{StartElement, EndElement, Text, nullptr, nullptr};
    GMarkupParseContext* context = g_markup_parse_context_new(&parser, G_MARKUP_PREFIX_ERROR_POSITION, document, nullptr);
    GError* failure = nullptr;
    const bool ok = g_markup_parse_context_parse(context, text.data(), static_cast<gssize>(text.size()), &failure) &&
                    g_markup_parse_context_end_parse(context, &failure);
    if (!ok) *error = failure->message;
    if (failure) g_error_free(failure);
    g_markup_parse_context_free(context);
    return ok;
}

// XScreenSaver splits an arg on blanks after putting the value in place of %.
std::vector<std::string> Words(const std::string& arg, const std::string& value = "") {
    std::vector<std::string> words;
    std::string word;
    for (char c : arg + " ") {
        if (c == ' ') {
            if (!word.empty()) words.push_back(word == "%" ? value : word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

struct Result {
    bool accepted;
    std::string error;
    DefaultPreferences record;
};

Result Apply(std::vector<std::string> args) {
    args.insert(args.begin(), "korvel3d");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    Result result{false, "", Defaults()};
    const std::optional<CommandLine> line = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), &result.error);
    result.accepted = line.has_value();
    if (line) line->applyOverrides(result.record.MainMonitorOnly, result.record.settings);
    return result;
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        text_ = ReadWholeFile(std::string(KORVEL_BUILD_DIR) + "/app/korvel3d.xml");
        ASSERT_FALSE(text_.empty()) << "the build writes app/korvel3d.xml";
        std::string error;
        ASSERT_TRUE(ParseXml(text_, &document_, &error)) << error;
    }

    std::vector<const Element*> all(const std::string& name) const {
        std::vector<const Element*> found;
        for (const Element& element : document_.elements)
            if (element.name == name) found.push_back(&element);
        return found;
    }

    std::string text_;
    Document document_;
};

TEST_F(SettingsFileTest, IsTheTableWrittenOutAndNamesTheHack) {
    EXPECT_EQ(text_, XScreenSaverXml()) << "the built file is stale";
    ASSERT_FALSE(document_.elements.empty());
    const Element& root = document_.elements.front();
    EXPECT_EQ(root.name, "screensaver");
    EXPECT_EQ(root.attributes.at("name"), "korvel3d");
    EXPECT_EQ(root.attributes.at("_label"), "Korvel 3D");
    const auto commands = all("command");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0]->attributes.at("arg"), "-root");
    EXPECT_TRUE(Apply({"-root"}).accepted);
    EXPECT_NE(document_.description.find("glyphs"), std::string::npos);
}

// Each number's arg takes its low and high ends and refuses one step beyond them, and its
// default is the stored one; leaving it out gives the same value.
TEST_F(SettingsFileTest, NumbersTakeExactlyTheirRange) {
    const auto numbers = all("number");
    ASSERT_FALSE(numbers.empty());
    for (const Element* number : numbers) {
        const std::string arg = number->attributes.at("arg");
        const int low = std::stoi(number->attributes.at("low"));
        const int high = std::stoi(number->attributes.at("high"));
        const int initial = std::stoi(number->attributes.at("default"));
        for (int value : {low, high, initial}) EXPECT_TRUE(Apply(Words(arg, std::to_string(value))).accepted) << arg << value;
        for (int value : {low - 1, high + 1}) {
            const Result refused = Apply(Words(arg, std::to_string(value)));
            EXPECT_FALSE(refused.accepted) << arg << " " << value;
            EXPECT_NE(refused.error.find("from " + std::to_string(low) + " to " + std::to_string(high)),
                      std::string::npos) << refused.error;
        }
        EXPECT_EQ(Apply(Words(arg, std::to_string(initial))).record.settings, Defaults().settings) << arg;
    }
}

// A boolean's arg moves its key away from the default; the select's options give their modes.
TEST_F(SettingsFileTest, SwitchesAndModesChangeWhatTheySay) {
    const auto booleans = all("boolean");
    ASSERT_FALSE(booleans.empty());
    for (const Element* boolean : booleans) {
        const bool set = boolean->attributes.count("arg-set") != 0;
        const std::string arg = set ? boolean->attributes.at("arg-set") : boolean->attributes.at("arg-unset");
        const Result result = Apply(Words(arg));
        ASSERT_TRUE(result.accepted) << arg << ": " << result.error;
        EXPECT_FALSE(result.record.settings == Defaults().settings &&
                     result.record.MainMonitorOnly == Defaults().MainMonitorOnly) << arg;
    }
    const auto options = all("option");
    ASSERT_EQ(options.size(), std::size(kModeNames));
    int withoutArg = 0;
    for (const Element* option : options) {
        EXPECT_EQ(option->parent, "select");
        const std::string id = option->attributes.at("id");
        unsigned mode = 0;
        while (mode < std::size(kModeNames) && id != kModeNames[mode]) ++mode;
        ASSERT_LT(mode, std::size(kModeNames)) << id;
        if (!option->attributes.count("arg-set")) {
            ++withoutArg;
            EXPECT_EQ(Defaults().settings.MODE, mode) << "the option without an arg is the default";
            continue;
        }
        const Result result = Apply(Words(option->attributes.at("arg-set")));
        ASSERT_TRUE(result.accepted) << result.error;
        EXPECT_EQ(result.record.settings.MODE, mode) << id;
    }
    EXPECT_EQ(withoutArg, 1);
}

TEST_F(SettingsFileTest, ColoursTakeTheDialogsTextAndEveryOptionIsOffered) {
    for (const Element* string : all("string")) {
        const std::string arg = string->attributes.at("arg");
        EXPECT_TRUE(Apply(Words(arg, "00FF80")).accepted) << arg;
        EXPECT_FALSE(Apply(Words(arg, "lime")).accepted) << arg;
    }
    // Every preference option is reachable from the dialog.
    std::set<std::string> named;
    for (const Element& element : document_.elements)
        for (const char* attribute : {"arg", "arg-set", "arg-unset"})
            if (element.attributes.count(attribute)) {
                std::string option = Words(element.attributes.at(attribute)).front().substr(1);
                if (option.rfind("no-", 0) == 0) option = option.substr(3);
                named.insert(option);
            }
    for (const PreferenceOption& option : PreferenceOptions())
        EXPECT_TRUE(named.count(option.name)) << option.name << " is missing from korvel3d.xml";
}

// The man page names every option and the files the program uses, and groff finds no fault in it.
TEST(ManPageTest, NamesEveryOptionAndFile) {
    const std::string path = std::string(KORVEL_BUILD_DIR) + "/app/korvel3d.1";
    const std::string page = ReadWholeFile(path);
    ASSERT_FALSE(page.empty()) << "the build writes app/korvel3d.1";
    auto roff = [](std::string text) {
        std::string out;
        for (char c : text) out += c == '-' ? std::string("\\-") : std::string(1, c);
        return out;
    };
    for (const PreferenceOption& option : PreferenceOptions()) {
        EXPECT_NE(page.find("\\fB" + roff(std::string("--") + option.name) + "\\fR"), std::string::npos) << option.name;
        if (option.kind == OptionKind::Switch) {
            EXPECT_NE(page.find(roff(std::string("--no-") + option.name)), std::string::npos) << option.name;
        }
        if (option.kind == OptionKind::Number) {
            const PreferenceBounds range = *EntryOf(option).offered;
            EXPECT_NE(page.find(std::to_string(range.min) + " to " + std::to_string(range.max)), std::string::npos);
        }
    }
    for (const HostOption& option : HostOptions())
        EXPECT_NE(page.find(roff(option.name)), std::string::npos) << option.name;
    for (const char* file : {"share/korvel3d/quimble.drovanets", "share/korvel3d/Korvel3DSS.ui",
                             "~/.config/korvel3d/zqKorvel3D", "KORVEL3D_CONFIG_DIR", "XSCREENSAVER_WINDOW"})
        EXPECT_NE(page.find(roff(file)), std::string::npos) << file;

    REQUIRE_ENVIRONMENT(system("command -v groff >/dev/null 2>&1") == 0,
                        "groff is not installed, so the page's roff was not checked (its text was)");
    // groff's warnings go to standard error; -z discards the formatted page.
    const std::string command = "groff -man -ww -z -Tutf8 '" + path + "' 2>&1";
    FILE* groff = popen(command.c_str(), "r");
    ASSERT_NE(groff, nullptr);
    std::string warnings;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, groff)) warnings.append(buffer, n);
    EXPECT_EQ(pclose(groff), 0);
    EXPECT_EQ(warnings, "");
}

}  // namespace

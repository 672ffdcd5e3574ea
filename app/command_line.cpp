#include "app/command_line.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <type_traits>
#include <variant>
#include <strings.h>

#include "app/option_table.h"

namespace {

// A whole decimal number, nothing before or after it.
bool ParseInteger(const std::string& text, long long* value) {
    if (text.empty() || (text[0] != '-' && text[0] != '+' && (text[0] < '0' || text[0] > '9'))) return false;
    errno = 0;
    char* end = nullptr;
    *value = std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

bool ParseDecimal(const std::string& text, double* value) {
    if (text.empty() || text[0] == ' ') return false;
    errno = 0;
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(*value);
}

// "WxH", each side 1 to kMaxImageSide.
bool ParseSize(const std::string& text, int* width, int* height) {
    const size_t x = text.find_first_of("xX");
    long long w = 0, h = 0;
    if (x == std::string::npos || !ParseInteger(text.substr(0, x), &w) || !ParseInteger(text.substr(x + 1), &h))
        return false;
    if (w < 1 || w > kMaxImageSide || h < 1 || h > kMaxImageSide) return false;
    if (text[0] == '+' || text[0] == '-' || text[x + 1] == '+' || text[x + 1] == '-') return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

bool LooksLikeSize(const std::string& text) {
    return !text.empty() && text[0] >= '0' && text[0] <= '9' && text.find_first_of("xX") != std::string::npos;
}

// Decimal, or hexadecimal after 0x, as X window ids are written.
bool ParseWindowId(const std::string& text, unsigned long* id) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || value == 0 || value > ULONG_MAX) return false;
    *id = static_cast<unsigned long>(value);
    return true;
}

// "#RRGGBB" or "RRGGBB" (a shell would take an unquoted '#' for a comment).
bool ParseColour(const std::string& text, float rgb[3]) {
    const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (hex.size() != 6) return false;
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    for (int i = 0; i < 3; ++i) rgb[i] = std::strtol(hex.substr(2 * i, 2).c_str(), nullptr, 16) / 255.0f;
    return true;
}

std::string FloatText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

struct Parser {
    Parser(int count, char** arguments) : argc(count), argv(arguments) {}

    int argc;
    char** argv;
    int next = 1;
    std::string error;
    CommandLine line;
    bool modeChosen = false;
    std::string modeOption;  // the option that chose the mode, for conflict messages
    bool sizeGiven = false, framesGiven = false;
    std::optional<double> fpsValue;
    std::string fpsOption;

    bool fail(const std::string& message) {
        error = message;
        return false;
    }

    bool chooseMode(HostMode mode, const std::string& option) {
        if (modeChosen && line.mode != mode)
            return fail(option + " cannot be combined with " + modeOption);
        modeChosen = true;
        line.mode = mode;
        modeOption = option;
        return true;
    }

    // The option's value: after '=' when given so, else the next argument.
    bool value(const std::string& option, const std::optional<std::string>& inline_, const char* what,
               std::string* out) {
        if (inline_) {
            *out = *inline_;
            return true;
        }
        if (next >= argc) return fail(option + " needs " + what);
        *out = argv[next++];
        return true;
    }

    bool preference(const PreferenceOption& option, bool negated, const std::string& spelled,
                    const std::optional<std::string>& inline_) {
        const PreferenceEntry& entry = EntryOf(option);
        std::string text;
        switch (option.kind) {
            case OptionKind::Switch:
                if (inline_) return fail(spelled + " takes no value");
                line.overrides.push_back({entry.key, negated ? "false" : "true"});
                return true;
            case OptionKind::Number: {
                const PreferenceBounds range = *entry.offered;
                const std::string accepts =
                    "a whole number from " + std::to_string(range.min) + " to " + std::to_string(range.max);
                if (!value(spelled, inline_, accepts.c_str(), &text)) return false;
                long long number = 0;
                if (!ParseInteger(text, &number) || number < range.min || number > range.max)
                    return fail(spelled + " takes " + accepts + ", not '" + text + "'");
                line.overrides.push_back({entry.key, std::to_string(number)});
                return true;
            }
            case OptionKind::Colour: {
                if (!value(spelled, inline_, "a colour #RRGGBB", &text)) return false;
                float rgb[3];
                if (!ParseColour(text, rgb))
                    return fail(spelled + " takes a colour #RRGGBB (six hex digits), not '" + text + "'");
                for (int i = 0; i < 3; ++i) line.overrides.push_back({option.keys[i], FloatText(rgb[i])});
                return true;
            }
            case OptionKind::Mode: {
                if (!value(spelled, inline_, "one of 3d, 2d, random", &text)) return false;
                for (unsigned i = 0; i < std::size(kModeNames); ++i)
                    if (!strcasecmp(text.c_str(), kModeNames[i])) {
                        line.overrides.push_back({entry.key, std::to_string(i)});
                        return true;
                    }
                return fail(spelled + " takes one of 3d, 2d, random, not '" + text + "'");
            }
        }
        return fail(spelled + " is not handled");
    }

    bool host(const std::string& name, const std::string& spelled, const std::optional<std::string>& inline_) {
        std::string text;
        // --help and --version win over any other mode.
        if (name == "help" || name == "h" || name == "version" || name == "V") {
            if (!noValue(spelled, inline_)) return false;
            line.mode = name[0] == 'h' ? HostMode::Help : HostMode::Version;
            return true;
        }
        if (name == "gl-info") return noValue(spelled, inline_) && chooseMode(HostMode::GLInfo, spelled);
        if (name == "configure") return noValue(spelled, inline_) && chooseMode(HostMode::Configure, spelled);
        if (name == "preview") {
            line.preview = true;
            return noValue(spelled, inline_);
        }
        if (name == "root") {
            if (!noValue(spelled, inline_) || !chooseMode(HostMode::Hack, spelled)) return false;
            line.root = true;
            return true;
        }
        if (name == "window") {
            if (!chooseMode(HostMode::Window, spelled)) return false;
            std::optional<std::string> size = inline_;
            if (!size && next < argc && LooksLikeSize(argv[next])) size = argv[next++];
            if (size && !ParseSize(*size, &line.width, &line.height))
                return fail(spelled + " takes a size WxH, each side 1 to " + std::to_string(kMaxImageSide) +
                            ", not '" + *size + "'");
            return true;
        }
        if (name == "window-id") {
            if (!chooseMode(HostMode::Hack, spelled) || !value(spelled, inline_, "an X window id", &text))
                return false;
            if (!ParseWindowId(text, &line.windowId))
                return fail(spelled + " takes an X window id (decimal or 0x hex, not 0), not '" + text + "'");
            return true;
        }
        if (name == "render") {
            if (!chooseMode(HostMode::Render, spelled) || !value(spelled, inline_, "a folder", &text)) return false;
            if (text.empty()) return fail(spelled + " takes a folder, not ''");
            line.renderFolder = text;
            return true;
        }
        if (name == "frames") {
            if (!value(spelled, inline_, "a number of frames", &text)) return false;
            long long frames = 0;
            if (!ParseInteger(text, &frames) || frames < 1 || frames > kMaxFrames)
                return fail(spelled + " takes a whole number from 1 to " + std::to_string(kMaxFrames) + ", not '" +
                            text + "'");
            line.frames = static_cast<int>(frames);
            framesGiven = true;
            return true;
        }
        if (name == "size") {
            if (!value(spelled, inline_, "a size WxH", &text)) return false;
            if (!ParseSize(text, &line.width, &line.height))
                return fail(spelled + " takes a size WxH, each side 1 to " + std::to_string(kMaxImageSide) +
                            ", not '" + text + "'");
            sizeGiven = true;
            return true;
        }
        if (name == "fps") {
            fpsOption = spelled;
            std::optional<std::string> rate = inline_;
            double number = 0;
            if (!rate && next < argc && ParseDecimal(argv[next], &number)) rate = argv[next++];
            if (rate) {
                if (!ParseDecimal(*rate, &number) || !(number > 0) || number > kMaxRenderFps)
                    return fail(spelled + " takes a frame rate above 0 and up to 1000, not '" + *rate + "'");
                fpsValue = number;
            }
            line.showFrameRate = true;
            return true;
        }
        if (name == "seed") {
            if (!value(spelled, inline_, "a seed", &text)) return false;
            long long seed = 0;
            if (!ParseInteger(text, &seed) || seed < 0 || seed > UINT_MAX)
                return fail(spelled + " takes a whole number from 0 to " + std::to_string(UINT_MAX) + ", not '" +
                            text + "'");
            line.seed = static_cast<unsigned>(seed);
            return true;
        }
        return fail("unknown option '" + spelled + "' (try --help)");
    }

    bool noValue(const std::string& spelled, const std::optional<std::string>& inline_) {
        return inline_ ? fail(spelled + " takes no value") : true;
    }

    bool argument(const std::string& arg) {
        if (arg.size() < 2 || arg[0] != '-' || arg == "--")
            return fail("unexpected argument '" + arg + "' (try --help)");
        // One dash or two: XScreenSaver spells its options with one.
        std::string name = arg.substr(arg[1] == '-' ? 2 : 1);
        std::optional<std::string> inline_;
        const size_t equals = name.find('=');
        if (equals != std::string::npos) {
            inline_ = name.substr(equals + 1);
            name.erase(equals);
        }
        const std::string spelled = arg.substr(0, arg.size() - (inline_ ? inline_->size() + 1 : 0));
        bool negated = false;
        if (const PreferenceOption* option = FindPreferenceOption(name, &negated))
            return preference(*option, negated, spelled, inline_);
        return host(name, spelled, inline_);
    }

    // Checks that need every argument seen.
    bool finish() {
        if (line.mode == HostMode::Help || line.mode == HostMode::Version) return true;
        if (line.mode == HostMode::Render) {
            if (!framesGiven) return fail(modeOption + " needs --frames N");
            line.showFrameRate = false;
            if (fpsValue) line.fps = *fpsValue;
        } else {
            if (framesGiven) return fail("--frames applies only to --render");
            if (fpsValue) return fail(fpsOption + " takes a frame rate only with --render");
        }
        const bool windowed = line.mode == HostMode::Window || (line.mode == HostMode::FullScreen && line.preview);
        if (sizeGiven && line.mode != HostMode::Render && !windowed)
            return fail("--size applies only to --render, --window and --preview");
        // XScreenSaver names its window in the environment; -root draws there when it is set.
        if (!modeChosen || (line.mode == HostMode::Hack && line.root)) {
            const char* window = std::getenv("XSCREENSAVER_WINDOW");
            if (window && *window) {
                if (!ParseWindowId(window, &line.windowId))
                    return fail(std::string("XSCREENSAVER_WINDOW holds '") + window + "', not an X window id");
                line.mode = HostMode::Hack;
            }
        }
        return true;
    }

    bool run() {
        while (next < argc) {
            const std::string arg = argv[next++];
            if (!argument(arg)) return false;
            if (line.mode == HostMode::Help || line.mode == HostMode::Version) return true;
        }
        return finish();
    }
};

void SetKey(const PreferenceEntry& entry, const std::string& value, PreferenceFields fields) {
    std::visit(
        [&](auto field) {
            using Field = decltype(field);
            if constexpr (std::is_same_v<Field, bool* (*)(PreferenceFields)>)
                *field(fields) = value == "true";
            else if constexpr (std::is_same_v<Field, int32_t* (*)(PreferenceFields)>)
                *field(fields) = static_cast<int32_t>(std::strtol(value.c_str(), nullptr, 10));
            else if constexpr (std::is_same_v<Field, uint32_t* (*)(PreferenceFields)>)
                *field(fields) = static_cast<uint32_t>(std::strtol(value.c_str(), nullptr, 10));
            else if constexpr (std::is_same_v<Field, float* (*)(PreferenceFields)>)
                *field(fields) = std::strtof(value.c_str(), nullptr);
        },
        entry.field);
}

}  // namespace

void CommandLine::applyOverrides(bool& mainMonitorOnly, SETTINGS& settings) const {
    const PreferenceFields fields{mainMonitorOnly, settings};
    for (const Override& override_ : overrides)
        if (const PreferenceEntry* entry = FindPreference(override_.key)) SetKey(*entry, override_.value, fields);
}

std::optional<CommandLine> ParseCommandLine(int argc, char** argv, std::string* error) {
    Parser parser(argc, argv);
    if (parser.run()) return parser.line;
    if (error) *error = parser.error;
    return std::nullopt;
}

std::string HelpText() {
    std::string text =
        "Usage: korvel3d [OPTION]...\n"
        "Korvel 3D: a 3-D field of falling glyph columns, drawn with OpenGL.\n"
        "Without a mode option it fills every monitor. Options take one dash or two.\n"
        "\n";
    // The option, then its help from column 32, wrapped within 79 columns.
    constexpr size_t kColumn = 32, kWidth = 79;
    auto line = [&text](const std::string& left, const std::string& help) {
        std::string out = "  " + left;
        if (out.size() + 2 > kColumn) out += "\n" + std::string(kColumn, ' ');
        else out.resize(kColumn, ' ');
        size_t column = kColumn;
        size_t start = 0;
        while (start < help.size()) {
            size_t end = help.find(' ', start);
            if (end == std::string::npos) end = help.size();
            const std::string word = help.substr(start, end - start);
            if (column > kColumn && column + 1 + word.size() > kWidth) {
                out += "\n" + std::string(kColumn, ' ');
                column = kColumn;
            }
            if (column > kColumn) {
                out += ' ';
                ++column;
            }
            out += word;
            column += word.size();
            start = end + 1;
        }
        text += out + "\n";
    };
    for (const HostOption& option : HostOptions())
        line(std::string(option.spellings) + (*option.metavar ? " " : "") + option.metavar, option.help);
    text += "\nPreferences, for this run only (the stored ones are not changed):\n";
    for (const PreferenceOption& option : PreferenceOptions()) {
        const PreferenceEntry& entry = EntryOf(option);
        std::string left = std::string("--") + option.name;
        std::string help = option.help;
        switch (option.kind) {
            case OptionKind::Number:
                left += " N";
                help += " (" + std::to_string(entry.offered->min) + " to " + std::to_string(entry.offered->max) + ")";
                break;
            case OptionKind::Colour: left += " #RRGGBB"; break;
            case OptionKind::Mode: left += " 3d|2d|random"; break;
            case OptionKind::Switch: left += ", --no-" + std::string(option.name); break;
        }
        line(left, help);
    }
    text +=
        "\nExit status: 0 on success, 2 for a bad option or value, another non-zero\n"
        "status when the saver cannot run.\n"
        "Preferences are stored in ~/.config/korvel3d/zqKorvel3D\n"
        "(or in $KORVEL3D_CONFIG_DIR); korvel3d --configure edits them.\n";
    return text;
}

#pragma once
// The one table of the program's options. Every preference has one option here, named with
// its preference key(s); integer ranges and defaults come from the preference table, so the
// parser, the help text, the man page and the XScreenSaver settings file cannot drift from it.
#include <optional>
#include <string>
#include <vector>

#include "front/preference_table.h"

enum class OptionKind {
    Number,  // --NAME N: one integer key, within the key's offered range
    Colour,  // --NAME #RRGGBB: the three components of one colour
    Switch,  // --NAME / --no-NAME: one boolean key
    Mode,    // --NAME 3d|2d|random: the display mode key
};

struct PreferenceOption {
    const char* name;  // without dashes: "glyph-size"; a switch also takes "no-" + name
    OptionKind kind;
    std::vector<const char*> keys;  // the preference key, or a colour's red, green and blue keys
    const char* help;               // one line for --help and the man page
    const char* label;              // the XScreenSaver settings dialog's label
};

// The display modes in the order of their stored values (0, 1, 2).
inline constexpr const char* kModeNames[] = {"3d", "2d", "random"};

// Every preference option, in the order the help text and the settings file show them.
const std::vector<PreferenceOption>& PreferenceOptions();
// The option of this name (a switch also by its "no-" name), or null; *negated tells which.
const PreferenceOption* FindPreferenceOption(const std::string& name, bool* negated = nullptr);
// The preference entry of an option's first key.
const PreferenceEntry& EntryOf(const PreferenceOption& option);
// The metavariable shown after the option: "N", "#RRGGBB", "3d|2d|random", or "" for a switch.
std::string Metavar(const PreferenceOption& option);

// The options that choose how the program runs; the parser handles each by name.
struct HostOption {
    const char* spellings;  // as shown: "-h, --help"
    const char* name;       // the long name without dashes
    const char* metavar;    // "" when it takes no value; "[WxH]" when the value is optional
    const char* help;
};
const std::vector<HostOption>& HostOptions();

// Integer bounds for the render options and sizes.
inline constexpr int kMaxImageSide = 16384;
inline constexpr int kMaxFrames = 1000000;
inline constexpr double kMaxRenderFps = 1000.0;

#include "app/option_table.h"

#include <cstring>

const std::vector<PreferenceOption>& PreferenceOptions() {
    static const std::vector<PreferenceOption> options = {
        {"mode", OptionKind::Mode, {"3DMode"}, "3d: the 3-D field; 2d: flat columns; random: either, each start",
         "Display mode"},
        {"glyph-size", OptionKind::Number, {"GlyphSize"}, "size of the glyphs", "Glyph size"},
        {"lines", OptionKind::Number, {"LineDensity"}, "number of glyph columns", "Number of lines"},
        {"fall-speed", OptionKind::Number, {"FallSpeed"}, "how fast the columns fall", "Fall speed"},
        {"forward-speed", OptionKind::Number, {"ForwardSpeed"}, "speed of the forward flight", "Forward speed"},
        {"code-colour", OptionKind::Colour, {"Col1R", "Col1G", "Col1B"}, "colour of the glyphs", "Code colour"},
        {"highlight-colour", OptionKind::Colour, {"Col2R", "Col2G", "Col2B"},
         "colour of each column's leading glyph and of the clock", "Highlight colour"},
        {"background-colour", OptionKind::Colour, {"BGColR", "BGColG", "BGColB"}, "background colour",
         "Background colour"},
        {"forward", OptionKind::Switch, {"MoveForward"}, "fly forward through the field (3-D mode)", "Fly forward"},
        {"random-forward", OptionKind::Switch, {"RandomForward"}, "vary the forward speed at random",
         "Random forward speed"},
        {"sideways", OptionKind::Switch, {"MoveSideways"}, "drift the columns sideways (3-D mode)",
         "Sideways drift"},
        {"rotate", OptionKind::Switch, {"CamRotation"}, "swing the camera about the field (3-D mode)",
         "Rotate the camera"},
        {"shaded", OptionKind::Switch, {"Shaded2D"}, "give each column a brightness of its own (2-D mode)",
         "Shaded columns (2-D)"},
        {"clock", OptionKind::Switch, {"ShowClock"}, "show the time as a clock of glyphs", "Show the clock"},
        {"clock-12h", OptionKind::Switch, {"Clock12Hr"}, "show 12-hour time", "12-hour clock"},
        {"clock-size", OptionKind::Number, {"ClockSize"}, "size of the clock's characters", "Clock size"},
        {"main-monitor-only", OptionKind::Switch, {"MainMonitorOnly"}, "animate on the main monitor only",
         "Main monitor only"},
    };
    return options;
}

const PreferenceOption* FindPreferenceOption(const std::string& name, bool* negated) {
    for (const PreferenceOption& option : PreferenceOptions()) {
        if (name == option.name) {
            if (negated) *negated = false;
            return &option;
        }
        if (option.kind == OptionKind::Switch && name == std::string("no-") + option.name) {
            if (negated) *negated = true;
            return &option;
        }
    }
    return nullptr;
}

const PreferenceEntry& EntryOf(const PreferenceOption& option) { return *FindPreference(option.keys.front()); }

std::string Metavar(const PreferenceOption& option) {
    switch (option.kind) {
        case OptionKind::Number: return "N";
        case OptionKind::Colour: return "#RRGGBB";
        case OptionKind::Mode: return "3d|2d|random";
        case OptionKind::Switch: return "";
    }
    return "";
}

const std::vector<HostOption>& HostOptions() {
    static const std::vector<HostOption> options = {
        {"--window", "window", "[WxH]", "run in a window of its own (default 1024x768)"},
        {"--window-id", "window-id", "ID", "draw into the X window ID (decimal or 0x hex), as XScreenSaver does"},
        {"-root", "root", "", "draw into XScreenSaver's window ($XSCREENSAVER_WINDOW), else the root window"},
        {"--preview", "preview", "", "draw as the small preview pane: no banners, intro or clock"},
        {"--render", "render", "DIR", "draw frames offscreen into DIR as PNG files; needs --frames"},
        {"--frames", "frames", "N", "the number of frames --render draws"},
        {"--size", "size", "WxH", "the frame size of --render, --window or --preview"},
        {"--fps", "fps", "[F]", "with --render: frame times of exactly 1/F s (default 60); "
                                "otherwise print the frame rate every few seconds"},
        {"--seed", "seed", "S", "seed the random draws with S"},
        {"--configure", "configure", "", "open the settings sheet beside a live preview"},
        {"--gl-info", "gl-info", "", "describe each display's OpenGL renderer and exit"},
        {"-h, --help", "help", "", "show this help and exit"},
        {"-V, --version", "version", "", "show the version and exit"},
    };
    return options;
}

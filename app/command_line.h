#pragma once
// The program's command line: how it runs (the host mode) and the settings
// it overrides for this run only.
#include <optional>
#include <string>
#include <vector>

#include "front/settings.h"

enum class HostMode {
    FullScreen,  // no mode option: the saver on every monitor
    Window,      // --window [WxH] (also -window, as XScreenSaver's hacks spell "a window of its own")
    Hack,        // XScreenSaver: --window-id ID, -window-id, -root, $XSCREENSAVER_WINDOW
    Render,      // --render DIR --frames N
    Configure,   // --configure: the sheet beside a live preview
    GLInfo,      // --gl-info
    Help,
    Version,
};

struct CommandLine {
    HostMode mode = HostMode::FullScreen;
    bool preview = false;             // --preview: the host's small preview pane (no overlay)
    int width = 0, height = 0;        // --window WxH, --size WxH; 0: the mode's default
    unsigned long windowId = 0;       // Hack: the window to draw into (0 with -root: the root window)
    bool root = false;                // -root
    std::string renderFolder;         // --render DIR
    int frames = 0;                   // --frames N
    double fps = 60.0;                // --fps F with --render: frame times of exactly 1/F
    std::optional<unsigned> seed;     // --seed S
    bool showFrameRate = false;       // --fps without --render: frames per second on stderr every few seconds

    // Preference overrides from the command line, applied over what the store holds.
    struct Override {
        std::string key;    // the preference key, e.g. "GlyphSize"
        std::string value;  // already checked against the key's range
    };
    std::vector<Override> overrides;
    // Applies the overrides to a record read from the store (never writes the store).
    void applyOverrides(bool& mainMonitorOnly, SETTINGS& settings) const;
};

// Parses the arguments (argv[0] is the program). Every option takes one dash or
// two, and a value may follow '='; the preference options come from the table in
// app/option_table.h. XSCREENSAVER_WINDOW is read when no mode option, or only
// -root, is given. On a bad argument returns nothing and sets *error to one line
// (without the program's name) naming the option and what it accepts; the
// program then exits with status 2.
std::optional<CommandLine> ParseCommandLine(int argc, char** argv, std::string* error);

// The help text, generated from the one table of options.
std::string HelpText();

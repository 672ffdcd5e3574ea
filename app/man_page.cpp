#include "app/man_page.h"

#include "app/option_table.h"

namespace {

// Roff takes a bare '-' for a hyphen and a leading '.' or '\'' for a request.
std::string Roff(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '-') out += "\\-";
        else if (c == '\\') out += "\\e";
        else out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
    return out;
}

std::string Bold(const std::string& text) { return "\\fB" + Roff(text) + "\\fR"; }
// A name that must not be hyphenated at a line's end.
std::string Name(const std::string& text) { return "\\fB\\%" + Roff(text) + "\\fR"; }
std::string Italic(const std::string& text) { return "\\fI\\%" + Roff(text) + "\\fR"; }

}  // namespace

std::string ManPage(const std::string& dataDir) {
    std::string page =
        ".TH KORVEL3D 1 \"\" \"korvel3d " KORVEL3D_VERSION "\" \"User Commands\"\n"
        ".SH NAME\n"
        "korvel3d \\- a 3\\-D field of falling glyph columns, as a screen saver\n"
        ".SH SYNOPSIS\n"
        ".B korvel3d\n"
        "[\\fIOPTION\\fR]...\n"
        ".SH DESCRIPTION\n"
        "Korvel 3D draws columns of glyphs that fall through a three\\-dimensional box while the\n"
        "camera flies forward and swings about it, or, in flat mode, the same columns on a flat grid.\n"
        "It can show the time as a clock built from glyphs.\n"
        ".PP\n"
        "Without a mode option it fills every monitor until a key or the mouse is used.\n"
        "XScreenSaver runs it as a hack with \\fB\\-root\\fR, naming its window in\n"
        "\\fBXSCREENSAVER_WINDOW\\fR.\n"
        "Every option may be written with one dash or two, and a value may follow an \\fB=\\fR.\n"
        ".SH OPTIONS\n";
    for (const HostOption& option : HostOptions()) {
        page += ".TP\n";
        std::string spellings = option.spellings;
        std::string line;
        for (size_t start = 0; start < spellings.size();) {
            size_t comma = spellings.find(", ", start);
            if (comma == std::string::npos) comma = spellings.size();
            if (!line.empty()) line += ", ";
            line += Bold(spellings.substr(start, comma - start));
            start = comma + 2;
        }
        if (*option.metavar) line += " " + Italic(option.metavar);
        page += line + "\n" + Roff(option.help) + ".\n";
    }
    page +=
        ".SH PREFERENCE OPTIONS\n"
        "Each preference has an option that overrides the stored value for this run only;\n"
        "the stored preferences are never changed by them.\n";
    for (const PreferenceOption& option : PreferenceOptions()) {
        const PreferenceEntry& entry = EntryOf(option);
        std::string help = option.help;
        page += ".TP\n" + Bold(std::string("--") + option.name);
        switch (option.kind) {
            case OptionKind::Number:
                page += " " + Italic("N");
                help += ", " + std::to_string(entry.offered->min) + " to " + std::to_string(entry.offered->max) +
                        ", default " + std::to_string(std::get<int32_t>(entry.defaultValue));
                break;
            case OptionKind::Colour:
                page += " " + Italic("#RRGGBB");
                help += " (the # may be left out)";
                break;
            case OptionKind::Mode:
                page += " " + Bold("3d") + "|" + Bold("2d") + "|" + Bold("random");
                break;
            case OptionKind::Switch:
                page += ", " + Bold(std::string("--no-") + option.name);
                help += std::get<bool>(entry.defaultValue) ? "; on by default" : "; off by default";
                break;
        }
        page += "\n" + Roff(help) + (option.keys.size() > 1 ? "; preference keys " : "; preference key ") +
                Name(option.keys.front());
        if (option.keys.size() > 1) page += ", " + Name(option.keys[1]) + ", " + Name(option.keys[2]);
        page += ".\n";
    }
    page +=
        ".SH FILES\n"
        ".TP\n" +
        Italic(dataDir + "/quimble.drovanets") +
        "\nThe resource archive: the glyph atlas and the overlay's pictures.\n"
        ".TP\n" +
        Italic(dataDir + "/Korvel3DSS.ui") +
        "\nThe settings sheet's interface.\n"
        ".TP\n" +
        Italic("~/.config/korvel3d/zqKorvel3D") +
        "\nThe stored preferences, a key file that the settings sheet (\\fB\\-\\-configure\\fR) writes.\n"
        "It is in \\fB$XDG_CONFIG_HOME/korvel3d\\fR when that is set.\n"
        "The archive and the interface file are looked for first in the program's own folder, then in\n"
        "\\fI../share/korvel3d\\fR beside it.\n"
        ".SH ENVIRONMENT\n"
        ".TP\n"
        ".B KORVEL3D_CONFIG_DIR\n"
        "The folder of the stored preferences, in place of \\fI~/.config/korvel3d\\fR.\n"
        ".TP\n"
        ".B XSCREENSAVER_WINDOW\n"
        "The X window to draw into, set by XScreenSaver; used when no mode option or \\fB\\-root\\fR is given.\n"
        ".SH EXIT STATUS\n"
        "0 on success; 2 for an unknown option or a bad value, with one line on standard error\n"
        "naming the option and what it accepts; another non\\-zero status when the saver cannot run.\n"
        ".SH BUGS\n"
        "Please include the output of \\fBkorvel3d \\-\\-gl\\-info\\fR with a problem report.\n"
        ".SH SEE ALSO\n"
        ".BR xscreensaver (1),\n"
        ".BR xscreensaver\\-settings (1)\n";
    return page;
}

#include "app/xscreensaver_xml.h"

#include <cctype>
#include <iterator>

#include "app/option_table.h"

namespace {

// The widget id: the option's name without its dashes.
std::string Id(const char* name) {
    std::string id;
    for (const char* c = name; *c; ++c)
        if (*c != '-') id += *c;
    return id;
}

const char* ModeLabel(unsigned mode) {
    static const char* labels[] = {"3-D field", "Flat columns", "Either, at random"};
    return labels[mode];
}

}  // namespace

// XScreenSaver passes an option only when its widget differs from the default given here,
// which is the store's default; everything left out comes from the stored preferences.
std::string XScreenSaverXml() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "\n"
        "<screensaver name=\"korvel3d\" _label=\"Korvel 3D\" gl=\"yes\">\n"
        "\n"
        "  <command arg=\"-root\"/>\n"
        "\n";
    for (const PreferenceOption& option : PreferenceOptions()) {
        const PreferenceEntry& entry = EntryOf(option);
        const std::string id = Id(option.name);
        const std::string arg = std::string("-") + option.name;
        switch (option.kind) {
            case OptionKind::Number:
                xml += "  <number id=\"" + id + "\" type=\"spinbutton\" arg=\"" + arg + " %\"\n" +
                       "          _label=\"" + option.label + "\" low=\"" + std::to_string(entry.offered->min) +
                       "\" high=\"" + std::to_string(entry.offered->max) + "\" default=\"" +
                       std::to_string(std::get<int32_t>(entry.defaultValue)) + "\"/>\n";
                break;
            case OptionKind::Switch:
                // The dialog passes the switch that moves away from the default.
                xml += "  <boolean id=\"" + id + "\" _label=\"" + option.label + "\" " +
                       (std::get<bool>(entry.defaultValue) ? "arg-unset=\"-no-" + std::string(option.name)
                                                           : "arg-set=\"" + arg) +
                       "\"/>\n";
                break;
            case OptionKind::Colour:
                xml += "  <string id=\"" + id + "\" _label=\"" + option.label + " (RRGGBB)\" arg=\"" + arg +
                       " %\"/>\n";
                break;
            case OptionKind::Mode: {
                const int32_t initial = std::get<int32_t>(entry.defaultValue);
                xml += "  <select id=\"" + id + "\">\n";
                for (unsigned mode = 0; mode < std::size(kModeNames); ++mode) {
                    xml += "    <option id=\"" + std::string(kModeNames[mode]) + "\" _label=\"" + ModeLabel(mode) +
                           "\"";
                    if (static_cast<int32_t>(mode) != initial)
                        xml += " arg-set=\"" + arg + " " + kModeNames[mode] + "\"";
                    xml += "/>\n";
                }
                xml += "  </select>\n";
                break;
            }
        }
    }
    xml +=
        "\n"
        "  <_description>\n"
        "Columns of glyphs fall through a three-dimensional box while the camera flies forward and\n"
        "swings about it; in flat mode the same columns fall on a flat grid. The time can be shown\n"
        "as a clock built from glyphs.\n"
        "\n"
        "Settings left at their defaults here come from Korvel 3D's own stored preferences, which\n"
        "korvel3d --configure edits.\n"
        "  </_description>\n"
        "</screensaver>\n";
    return xml;
}

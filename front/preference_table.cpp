#include "front/preference_table.h"

#include <algorithm>

namespace {

using BoolField = bool* (*)(PreferenceFields);
using IntField = int32_t* (*)(PreferenceFields);
using UnsignedField = uint32_t* (*)(PreferenceFields);
using FloatField = float* (*)(PreferenceFields);

PreferenceEntry Flag(const char* key, bool initial, BoolField field) { return {key, initial, field, std::nullopt}; }

PreferenceEntry Whole(const char* key, int32_t initial, IntField field, PreferenceBounds offered,
                      std::optional<PreferenceBounds> safe = std::nullopt) {
    return {key, initial, field, safe, offered};
}

PreferenceEntry Whole(const char* key, int32_t initial, UnsignedField field, PreferenceBounds offered) {
    return {key, initial, field, std::nullopt, offered};
}

PreferenceEntry Decimal(const char* key, float initial, FloatField field) { return {key, initial, field, std::nullopt}; }

// The only values that break the saver: a glyph size below 1 divides by zero, a fall speed
// below -29 takes a remainder by zero or a negative number, a negative line count cannot be
// allocated. The upper limits keep a mistyped huge value from breaking it the other way:
// above 500 the flat view is less than one glyph high and shows nothing; a huge fall speed
// makes millions of cell steps a frame; a huge count exhausts memory.
constexpr PreferenceBounds kGlyphSizeBounds{1, 500};
constexpr PreferenceBounds kLineCountBounds{0, 100000};
constexpr PreferenceBounds kFallSpeedBounds{-29, 10000};

std::vector<PreferenceEntry> BuildTable() {
    using F = PreferenceFields;
    return {
        {kVersionKey, kVersionMark, std::monostate{}, std::nullopt},
        Flag("MainMonitorOnly", false, [](F f) { return &f.MainMonitorOnly; }),
        Whole("GlyphSize", 15, [](F f) { return &f.settings.GLYPHSIZE; }, {5, 60}, kGlyphSizeBounds),
        Whole("LineDensity", 600, [](F f) { return &f.settings.TOT_NUM_LINES; }, {50, 5000}, kLineCountBounds),
        Whole("FallSpeed", 80, [](F f) { return &f.settings.FALLSPEED; }, {0, 300}, kFallSpeedBounds),
        Whole("ForwardSpeed", 20, [](F f) { return &f.settings.FORWARDSPEED; }, {0, 100}),
        Whole("ClockSize", 90, [](F f) { return &f.settings.CLOCKSIZE; }, {20, 300}),
        Whole("3DMode", 0, [](F f) { return &f.settings.MODE; }, {0, 2}),  // 3-D, flat, random
        Flag("MoveForward", true, [](F f) { return &f.settings.FORWARDMOTION; }),
        Flag("MoveSideways", false, [](F f) { return &f.settings.SIDEWAYSMOTION; }),
        Flag("RandomForward", true, [](F f) { return &f.settings.RANDFORWARDSPEED; }),
        Flag("ShowClock", false, [](F f) { return &f.settings.SHOWCLOCK; }),
        Flag("Clock12Hr", false, [](F f) { return &f.settings.CLOCK12HR; }),
        Flag("CamRotation", true, [](F f) { return &f.settings.CAMROTATION; }),
        Flag("Shaded2D", true, [](F f) { return &f.settings.SHADED2D; }),
        Decimal("Col1R", 0.0f, [](F f) { return &f.settings.Col1.r; }),
        Decimal("Col1G", 0.7f, [](F f) { return &f.settings.Col1.g; }),
        Decimal("Col1B", 0.0f, [](F f) { return &f.settings.Col1.b; }),
        Decimal("Col2R", 0.4f, [](F f) { return &f.settings.Col2.r; }),
        Decimal("Col2G", 1.0f, [](F f) { return &f.settings.Col2.g; }),
        Decimal("Col2B", 0.8f, [](F f) { return &f.settings.Col2.b; }),
        Decimal("BGColR", 0.0f, [](F f) { return &f.settings.BGCol.r; }),
        Decimal("BGColG", 0.0f, [](F f) { return &f.settings.BGCol.g; }),
        Decimal("BGColB", 0.0f, [](F f) { return &f.settings.BGCol.b; }),
    };
}

}  // namespace

const std::vector<PreferenceEntry>& PreferenceTable() {
    static const std::vector<PreferenceEntry> table = BuildTable();
    return table;
}

const std::vector<const PreferenceEntry*>& PreferenceReadOrder() {
    // The table's order without the version mark, except that the mode is read first of the integers.
    static const std::vector<const PreferenceEntry*> order = [] {
        std::vector<const PreferenceEntry*> keys;
        for (const PreferenceEntry& entry : PreferenceTable())
            if (!std::holds_alternative<std::monostate>(entry.field)) keys.push_back(&entry);
        auto mode = std::find(keys.begin(), keys.end(), FindPreference("3DMode"));
        std::rotate(keys.begin() + 1, mode, mode + 1);
        return keys;
    }();
    return order;
}

const PreferenceEntry* FindPreference(std::string_view key) {
    for (const PreferenceEntry& entry : PreferenceTable())
        if (key == entry.key) return &entry;
    return nullptr;
}

int32_t KeepSafe(const PreferenceEntry& entry, int32_t value) {
    return entry.safe ? std::clamp(value, entry.safe->min, entry.safe->max) : value;
}

#pragma once
// The stored preferences in one table, one entry per key in the store's order: the key, its
// default (whose type is the key's kind), the field it binds, and, where a value would break
// the saver, the bounds that reading keeps it in. The defaults, both preference procedures and
// the configuration sheet all read this table, so none of them can drift from the others.
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "front/settings.h"

inline constexpr char kVersionKey[] = "version";
inline constexpr char kVersionMark[] = "1.0";

// What the keys bind: the view's main-display flag and its settings record.
struct PreferenceFields {
    bool& MainMonitorOnly;
    SETTINGS& settings;
};

enum class PreferenceKind { String, Boolean, Integer, Float };

// The default value; which alternative it holds is the key's kind (PreferenceKind's order).
using PreferenceDefault = std::variant<const char*, bool, int32_t, float>;

// Where a key's value lives. The store's integers are signed; an unsigned field takes the
// stored value's bits unchanged.
using PreferenceField = std::variant<std::monostate, bool* (*)(PreferenceFields), int32_t* (*)(PreferenceFields),
                                     uint32_t* (*)(PreferenceFields), float* (*)(PreferenceFields)>;

// The closed range a value must keep for the saver to run at all.
struct PreferenceBounds {
    int32_t min;
    int32_t max;
};

struct PreferenceEntry {
    const char* key;
    PreferenceDefault defaultValue;
    PreferenceField field;                 // none for the version mark
    std::optional<PreferenceBounds> safe;  // none: every value runs
    // The range the configuration sheet and the command line offer: friendly values
    // well inside the safe bounds (integers only; none for the others).
    std::optional<PreferenceBounds> offered = std::nullopt;

    PreferenceKind kind() const { return static_cast<PreferenceKind>(defaultValue.index()); }
};

// Every stored key in the store's order: "version", "MainMonitorOnly", the six integers,
// the seven booleans, the nine colour components.
const std::vector<PreferenceEntry>& PreferenceTable();
// The bound keys in reading order: "MainMonitorOnly", "3DMode", the other five integers,
// the booleans, the colour components.
const std::vector<const PreferenceEntry*>& PreferenceReadOrder();
// The entry of a key, or null.
const PreferenceEntry* FindPreference(std::string_view key);
// The value brought within the entry's safe bounds; unchanged when it has none.
int32_t KeepSafe(const PreferenceEntry& entry, int32_t value);

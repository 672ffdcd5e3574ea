#include "front/preferences.h"

#include <type_traits>

#include "front/preference_table.h"

namespace {

template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

void WriteDefault(ScreenSaverDefaults& store, const PreferenceEntry& entry) {
    const std::string key = entry.key;
    std::visit(Overloaded{
                   [&](const char* text) { store.setObject(text, key); },
                   [&](bool value) { store.setBool(value, key); },
                   [&](int32_t value) { store.setInteger(value, key); },
                   [&](float value) { store.setFloat(value, key); },
               },
               entry.defaultValue);
}

void WriteField(ScreenSaverDefaults& store, const PreferenceEntry& entry, PreferenceFields fields) {
    const std::string key = entry.key;
    std::visit(Overloaded{
                   [](std::monostate) {},
                   [&](bool* (*field)(PreferenceFields)) { store.setBool(*field(fields), key); },
                   [&](int32_t* (*field)(PreferenceFields)) { store.setInteger(*field(fields), key); },
                   [&](uint32_t* (*field)(PreferenceFields)) {
                       store.setInteger(static_cast<int32_t>(*field(fields)), key);
                   },
                   [&](float* (*field)(PreferenceFields)) { store.setFloat(*field(fields), key); },
               },
               entry.field);
}

void ReadField(const ScreenSaverDefaults& store, const PreferenceEntry& entry, PreferenceFields fields) {
    const std::string key = entry.key;
    std::visit(Overloaded{
                   [](std::monostate) {},
                   [&](bool* (*field)(PreferenceFields)) { *field(fields) = store.boolForKey(key); },
                   [&](int32_t* (*field)(PreferenceFields)) {
                       *field(fields) = KeepSafe(entry, store.integerForKey(key));
                   },
                   [&](uint32_t* (*field)(PreferenceFields)) {
                       *field(fields) = static_cast<uint32_t>(KeepSafe(entry, store.integerForKey(key)));
                   },
                   [&](float* (*field)(PreferenceFields)) { *field(fields) = store.floatForKey(key); },
               },
               entry.field);
}

}  // namespace

void ReadPreferences(ScreenSaverDefaults& store, bool& mainMonitorOnly, SETTINGS& settings) {
    // All or nothing: a store of any other version gets every default, and nothing of it is kept.
    const std::optional<std::string> version = store.stringForKey(kVersionKey);
    if (!version || *version != kVersionMark) {
        for (const PreferenceEntry& entry : PreferenceTable()) WriteDefault(store, entry);
        store.synchronize();
    }
    PreferenceFields fields{mainMonitorOnly, settings};
    for (const PreferenceEntry* entry : PreferenceReadOrder()) ReadField(store, *entry, fields);
}

bool WritePreferences(ScreenSaverDefaults& store, bool mainMonitorOnly, const SETTINGS& settings) {
    // The accessors hand out writable fields, so they work on copies here.
    bool flag = mainMonitorOnly;
    SETTINGS record = settings;
    PreferenceFields fields{flag, record};
    for (const PreferenceEntry& entry : PreferenceTable()) WriteField(store, entry, fields);
    return store.synchronize();
}

void ReadPreferences(bool& mainMonitorOnly, SETTINGS& settings) {
    ReadPreferences(ScreenSaverDefaults::defaultsForModuleWithName(kPreferencesModule), mainMonitorOnly, settings);
}

bool WritePreferences(bool mainMonitorOnly, const SETTINGS& settings) {
    return WritePreferences(ScreenSaverDefaults::defaultsForModuleWithName(kPreferencesModule), mainMonitorOnly,
                            settings);
}

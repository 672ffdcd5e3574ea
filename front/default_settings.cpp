#include "front/default_settings.h"

#include <type_traits>
#include <variant>

#include "front/preference_table.h"

DefaultPreferences Defaults() {
    DefaultPreferences defaults;
    PreferenceFields fields{defaults.MainMonitorOnly, defaults.settings};
    for (const PreferenceEntry& entry : PreferenceTable()) {
        std::visit(
            [&](auto field) {
                using Field = decltype(field);
                if constexpr (!std::is_same_v<Field, std::monostate>) {
                    auto* target = field(fields);
                    using Value = std::remove_pointer_t<decltype(target)>;
                    std::visit(
                        [&](auto value) {
                            if constexpr (std::is_arithmetic_v<decltype(value)>) *target = static_cast<Value>(value);
                        },
                        entry.defaultValue);
                }
            },
            entry.field);
    }
    return defaults;
}

#pragma once
// The per-module preference store: typed values in one hand-editable key file per module.
// Every view of a process shares one store; views in other processes (one per monitor) share
// the file, and synchronize merges what each of them wrote.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ScreenSaverDefaults {
public:
    // The one store of the module for this whole process: the file named `name` in UserConfigDir().
    static ScreenSaverDefaults& defaultsForModuleWithName(const std::string& name);

    // An independent store over the file at `path` (as another process would open it).
    explicit ScreenSaverDefaults(std::string path);
    ScreenSaverDefaults(const std::string& folder, const std::string& name);
    ScreenSaverDefaults(const ScreenSaverDefaults&) = delete;
    ScreenSaverDefaults& operator=(const ScreenSaverDefaults&) = delete;

    // Nothing when the key is absent or holds a value of another kind.
    std::optional<std::string> stringForKey(const std::string& key) const;
    // An absent key, a value of another kind or an unreadable value gives false, 0 or 0.0.
    bool boolForKey(const std::string& key) const;
    int32_t integerForKey(const std::string& key) const;
    float floatForKey(const std::string& key) const;

    // Writes take effect in this store at once and reach the file at the next synchronize.
    // A key that a key file cannot hold (empty, '=', brackets, line breaks, outer blanks) is ignored.
    void setObject(const std::string& value, const std::string& key);
    void setBool(bool value, const std::string& key);
    void setInteger(int32_t value, const std::string& key);
    void setFloat(float value, const std::string& key);

    // Under a lock on the file: reads what other processes saved, lays the values written here
    // since the last call on top, saves the result atomically and keeps it as this store's
    // contents. False when the file could not be read or saved; the unsaved values are then
    // kept for the next call.
    bool synchronize();

    const std::string& path() const { return path_; }

    enum class Kind { String, Boolean, Integer, Float };
    // One stored value: its kind and its text (a string's own text, otherwise as the file spells it).
    struct Value {
        Kind kind;
        std::string text;
    };
    using Values = std::vector<std::pair<std::string, Value>>;

private:
    const Value* find(const std::string& key, Kind kind) const;
    void set(const std::string& key, Value value);

    std::string path_;
    Values values_;   // the file as last synchronized, plus the writes since
    Values unsaved_;  // the writes since the last synchronize, in their order
};

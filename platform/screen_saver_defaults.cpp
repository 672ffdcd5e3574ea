#include "platform/screen_saver_defaults.h"

#include <dirent.h>
#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string_view>

#include "platform/user_dirs.h"

namespace {

using Kind = ScreenSaverDefaults::Kind;
using Value = ScreenSaverDefaults::Value;
using Values = ScreenSaverDefaults::Values;

struct Group {
    Kind kind;
    const char* name;
};
// One group per kind, in the order a new file lists them.
constexpr Group kGroups[] = {
    {Kind::String, "Strings"},
    {Kind::Boolean, "Booleans"},
    {Kind::Integer, "Integers"},
    {Kind::Float, "Floats"},
};

const char* GroupName(Kind kind) {
    for (const Group& group : kGroups)
        if (group.kind == kind) return group.name;
    return kGroups[0].name;
}

constexpr char kHeader[] =
    " Korvel 3D preferences: one group per kind of value (text, true/false, whole numbers,\n"
    " decimals). A key of the wrong kind or an unreadable value counts as 0 or false.";

struct KeyFileFree {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileFree>;

struct GFree {
    void operator()(void* memory) const { g_free(memory); }
};
using GText = std::unique_ptr<gchar, GFree>;

struct GStrvFree {
    void operator()(gchar** list) const { g_strfreev(list); }
};
using GTextList = std::unique_ptr<gchar*, GStrvFree>;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using Error = std::unique_ptr<GError, ErrorFree>;

// The keys a key file can hold and read back as the same key.
bool IsKeyName(const std::string& key) {
    if (key.empty() || key.front() == '#') return false;
    if (g_ascii_isspace(key.front()) || g_ascii_isspace(key.back())) return false;
    if (key.find_first_of(std::string_view("=[]\n\r\0", 6)) != std::string::npos) return false;
    return g_utf8_validate(key.data(), static_cast<gssize>(key.size()), nullptr);
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && g_ascii_isspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && g_ascii_isspace(text.back())) text.remove_suffix(1);
    return text;
}

// The whole text must be the number; anything else (words, trailing junk, out of range) reads as 0.
template <typename Number>
Number ParseNumber(std::string_view text) {
    text = Trimmed(text);
    Number number{};
    const char* end = text.data() + text.size();
    auto [stop, status] = std::from_chars(text.data(), end, number);
    return (status == std::errc() && stop == end) ? number : Number{};
}

bool ParseBool(std::string_view text) {
    text = Trimmed(text);
    return text == "true" || text == "1";
}

// The shortest text that reads back as the same float, with a '.' whatever the locale.
std::string FormatFloat(float value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string Folder(const std::string& path) {
    GText folder(g_path_get_dirname(path.c_str()));
    return folder.get();
}

std::string BaseName(const std::string& path) {
    GText name(g_path_get_basename(path.c_str()));
    return name.get();
}

// An exclusive advisory lock on a file of its own: the store file itself is replaced by rename,
// so a lock on it would be a lock on an inode that the next save throws away.
class FileLock {
public:
    explicit FileLock(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ < 0) return;
        while (flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            close(fd_);
            fd_ = -1;
            return;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_;
};

enum class ReadResult { Read, Missing, Unreadable, Corrupt };

ReadResult ReadKeyFile(const std::string& path, GKeyFile* into, std::string& why) {
    gchar* raw = nullptr;
    gsize length = 0;
    GError* failure = nullptr;
    if (!g_file_get_contents(path.c_str(), &raw, &length, &failure)) {
        Error error(failure);
        if (error->domain == G_FILE_ERROR && error->code == G_FILE_ERROR_NOENT) return ReadResult::Missing;
        why = error->message;
        return ReadResult::Unreadable;
    }
    GText data(raw);
    if (!g_key_file_load_from_data(into, data.get(), length, G_KEY_FILE_KEEP_COMMENTS, &failure)) {
        Error error(failure);
        why = error->message;
        return ReadResult::Corrupt;
    }
    return ReadResult::Read;
}

void Put(Values& values, const std::string& key, Value value) {
    for (auto& entry : values) {
        if (entry.first == key) {
            entry.second = std::move(value);
            return;
        }
    }
    values.emplace_back(key, std::move(value));
}

Values Extract(GKeyFile* file) {
    Values values;
    for (const Group& group : kGroups) {
        gsize count = 0;
        GTextList keys(g_key_file_get_keys(file, group.name, &count, nullptr));
        if (!keys) continue;
        for (gsize i = 0; i < count; ++i) {
            const char* key = keys.get()[i];
            // A string as its own text (escapes undone); a string with a broken escape, and
            // every other kind, as the file spells it.
            GText text(group.kind == Kind::String ? g_key_file_get_string(file, group.name, key, nullptr) : nullptr);
            if (!text) text.reset(g_key_file_get_value(file, group.name, key, nullptr));
            if (text) Put(values, key, Value{group.kind, text.get()});
        }
    }
    return values;
}

// A key lives in one group only: writing it takes it out of the others.
void Apply(GKeyFile* file, const std::string& key, const Value& value) {
    for (const Group& group : kGroups) g_key_file_remove_key(file, group.name, key.c_str(), nullptr);
    const char* group = GroupName(value.kind);
    if (value.kind == Kind::String)
        g_key_file_set_string(file, group, key.c_str(), value.text.c_str());
    else
        g_key_file_set_value(file, group, key.c_str(), value.text.c_str());
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// A save leaves the old file or the new one, never a part of either: the new text goes to a
// temporary file in the same folder, reaches the disk, and only then replaces the old by rename.
// Gives 0, or the errno of the step that failed.
int SaveAtomically(const std::string& path, const char* data, size_t size) {
    std::string name = path + ".tmp.XXXXXX";
    int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return errno;
    int failure = (WriteAll(fd, data, size) && fsync(fd) == 0) ? 0 : errno;
    if (close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && rename(name.c_str(), path.c_str()) != 0) failure = errno;
    if (failure != 0) {
        unlink(name.c_str());
        return failure;
    }
    // The rename itself is durable only once the folder is.
    int folder = open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return errno;
    failure = fsync(folder) == 0 ? 0 : errno;
    close(folder);
    return failure;
}

// Temporaries left by a save that was killed. Only call with the lock held: then no save is
// under way, so every temporary of this file is a leftover.
void RemoveLeftoverTemporaries(const std::string& path) {
    DIR* folder = opendir(Folder(path).c_str());
    if (!folder) return;
    const std::string prefix = BaseName(path) + ".tmp.";
    const size_t nameLength = prefix.size() + 6;  // mkostemp's six characters
    while (const dirent* entry = readdir(folder)) {
        if (std::strlen(entry->d_name) == nameLength && std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0)
            unlinkat(dirfd(folder), entry->d_name, 0);
    }
    closedir(folder);
}

}  // namespace

ScreenSaverDefaults& ScreenSaverDefaults::defaultsForModuleWithName(const std::string& name) {
    static std::map<std::string, std::unique_ptr<ScreenSaverDefaults>> stores;
    std::unique_ptr<ScreenSaverDefaults>& store = stores[name];
    if (!store) store = std::make_unique<ScreenSaverDefaults>(UserConfigDir(), name);
    return *store;
}

ScreenSaverDefaults::ScreenSaverDefaults(std::string path) : path_(std::move(path)) { synchronize(); }

ScreenSaverDefaults::ScreenSaverDefaults(const std::string& folder, const std::string& name)
    : ScreenSaverDefaults(folder + "/" + name) {}

const ScreenSaverDefaults::Value* ScreenSaverDefaults::find(const std::string& key, Kind kind) const {
    for (const auto& entry : values_)
        if (entry.first == key) return entry.second.kind == kind ? &entry.second : nullptr;
    return nullptr;
}

std::optional<std::string> ScreenSaverDefaults::stringForKey(const std::string& key) const {
    const Value* value = find(key, Kind::String);
    if (!value) return std::nullopt;
    return value->text;
}

bool ScreenSaverDefaults::boolForKey(const std::string& key) const {
    const Value* value = find(key, Kind::Boolean);
    return value && ParseBool(value->text);
}

int32_t ScreenSaverDefaults::integerForKey(const std::string& key) const {
    const Value* value = find(key, Kind::Integer);
    return value ? ParseNumber<int32_t>(value->text) : 0;
}

float ScreenSaverDefaults::floatForKey(const std::string& key) const {
    const Value* value = find(key, Kind::Float);
    return value ? ParseNumber<float>(value->text) : 0.0f;
}

void ScreenSaverDefaults::set(const std::string& key, Value value) {
    if (!IsKeyName(key)) return;
    Put(values_, key, value);
    Put(unsaved_, key, std::move(value));
}

void ScreenSaverDefaults::setObject(const std::string& value, const std::string& key) {
    set(key, Value{Kind::String, value});
}

void ScreenSaverDefaults::setBool(bool value, const std::string& key) {
    set(key, Value{Kind::Boolean, value ? "true" : "false"});
}

void ScreenSaverDefaults::setInteger(int32_t value, const std::string& key) {
    set(key, Value{Kind::Integer, std::to_string(value)});
}

void ScreenSaverDefaults::setFloat(float value, const std::string& key) {
    set(key, Value{Kind::Float, FormatFloat(value)});
}

bool ScreenSaverDefaults::synchronize() {
    EnsureDirectory(Folder(path_));
    // Without the lock another process may be saving: read, but neither move nor write anything.
    FileLock lock(path_ + ".lock");
    bool ok = lock.held();

    KeyFile file(g_key_file_new());
    std::string why;
    switch (ReadKeyFile(path_, file.get(), why)) {
    case ReadResult::Read:
    case ReadResult::Missing:
        break;
    case ReadResult::Unreadable:
        // Never save over a file that exists but cannot be read: its values would be lost.
        std::fprintf(stderr, "korvel3d: cannot read the preferences %s (%s); they are not saved\n", path_.c_str(),
                     why.c_str());
        return false;
    case ReadResult::Corrupt: {
        file.reset(g_key_file_new());
        const std::string kept = path_ + ".corrupt";
        if (ok && rename(path_.c_str(), kept.c_str()) == 0) {
            std::fprintf(stderr, "korvel3d: the preferences %s could not be parsed (%s); kept as %s, starting afresh\n",
                         path_.c_str(), why.c_str(), kept.c_str());
        } else {
            std::fprintf(stderr, "korvel3d: the preferences %s could not be parsed (%s) nor set aside; not saving\n",
                         path_.c_str(), why.c_str());
            ok = false;
        }
        break;
    }
    }

    for (const auto& entry : unsaved_) Apply(file.get(), entry.first, entry.second);
    values_ = Extract(file.get());
    if (unsaved_.empty()) return ok;
    if (!ok) return false;

    RemoveLeftoverTemporaries(path_);
    g_key_file_set_comment(file.get(), nullptr, nullptr, kHeader, nullptr);
    gsize size = 0;
    GText data(g_key_file_to_data(file.get(), &size, nullptr));
    if (int failure = SaveAtomically(path_, data.get(), size)) {
        std::fprintf(stderr, "korvel3d: cannot save the preferences %s (%s)\n", path_.c_str(), std::strerror(failure));
        return false;
    }
    unsaved_.clear();
    return true;
}

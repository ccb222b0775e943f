#pragma once
// The per-user settings store: a small INI file a person can read and edit, with
// sections of "name=value" lines. It is created with mode 0600 because it holds
// the login passwords.
#include <map>
#include <optional>
#include <string>

namespace vantrel::shell {

inline constexpr const char* kSettingsKey = "Local AppWizard-Generated Applications";
inline constexpr const char* kSettingsSection = "Rudozi Vantrel";

class Settings {
public:
    // The store at $XDG_CONFIG_HOME (else ~/.config) / <key> / "Rudozi Vantrel.ini".
    static std::string defaultPath(const std::string& key = kSettingsKey);

    explicit Settings(std::string path);

    // The stored value, or fallback when the value is missing or the store is
    // missing or cannot be read (no permission, not a file, not UTF-8 text).
    std::string read(const std::string& section, const std::string& name,
                     const std::string& fallback) const;
    // Stores the value and writes the file at once. False when it cannot be written,
    // when the value holds a line break or a NUL, and when a store is there but
    // cannot be read: that store is left as it is.
    bool write(const std::string& section, const std::string& name, const std::string& value);

    const std::string& path() const { return path_; }

private:
    using Values = std::map<std::string, std::map<std::string, std::string>>;
    // The store's values (none when it is absent), or nothing when it cannot be read.
    std::optional<Values> load() const;

    std::string path_;
};

}  // namespace vantrel::shell

#include "shell/Settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "image/FileReplace.h"
#include "image/Utf8.h"

namespace vantrel::shell {

namespace {

// The store is private to its user, whatever its mode was: it holds the passwords.
constexpr mode_t kPrivateFileMode = 0600;
// Bytes a value cannot hold and still read back as written.
constexpr std::string_view kUnstorable("\0\r\n", 3);

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The whole file; an absent file reads as empty. False when the file is there
// but cannot be read (no permission, a folder, a read error).
bool readWhole(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    char buffer[4096];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return ok;
}

}  // namespace

std::string Settings::defaultPath(const std::string& key) {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".config";
    else
        base = ".";
    return (base / key / "Rudozi Vantrel.ini").string();
}

Settings::Settings(std::string path) : path_(std::move(path)) {}

std::optional<Settings::Values> Settings::load() const {
    std::string text;
    if (!readWhole(path_, text)) return std::nullopt;
    if (text.find('\0') != std::string::npos || !image::isValidUtf8(text)) return std::nullopt;

    Values values;
    std::istringstream in(text);
    std::string line, section;
    while (std::getline(in, line)) {
        const std::string trimmed = trim(line);
        if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') continue;
        if (trimmed.front() == '[' && trimmed.back() == ']') {
            section = trimmed.substr(1, trimmed.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        // The value is kept exactly as written after '=', so passwords may hold spaces.
        std::string value = line.substr(equals + 1);
        if (!value.empty() && value.back() == '\r') value.pop_back();
        values[section][trim(line.substr(0, equals))] = value;
    }
    return values;
}

std::string Settings::read(const std::string& section, const std::string& name,
                           const std::string& fallback) const {
    const auto values = load();
    if (!values) return fallback;
    const auto s = values->find(section);
    if (s == values->end()) return fallback;
    const auto v = s->second.find(name);
    return v == s->second.end() ? fallback : v->second;
}

bool Settings::write(const std::string& section, const std::string& name,
                     const std::string& value) {
    if (value.find_first_of(kUnstorable) != std::string::npos || !image::isValidUtf8(value))
        return false;
    // A store that exists but cannot be read is never replaced: what it holds
    // (the other password, the port) would be lost.
    auto values = load();
    if (!values) return false;
    (*values)[section][name] = value;

    std::ostringstream text;
    for (const auto& [sectionName, entries] : *values) {
        text << '[' << sectionName << "]\n";
        for (const auto& [key, entry] : entries)
            text << key << '=' << entry << '\n';
        text << '\n';
    }

    std::error_code ec;
    const std::filesystem::path file(path_);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    return image::replaceFile(
        path_, text.str(),
        image::ReplaceOptions{.newFileMode = kPrivateFileMode, .keepExistingMode = false});
}

}  // namespace vantrel::shell

#include "shell/Settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vantrel::shell {

namespace {
std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
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

Settings::Values Settings::load() const {
    Values values;
    std::ifstream in(path_);
    std::string line, section;
    while (std::getline(in, line)) {
        const std::string text = trim(line);
        if (text.empty() || text[0] == ';' || text[0] == '#') continue;
        if (text.front() == '[' && text.back() == ']') {
            section = text.substr(1, text.size() - 2);
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
    const Values values = load();
    const auto s = values.find(section);
    if (s == values.end()) return fallback;
    const auto v = s->second.find(name);
    return v == s->second.end() ? fallback : v->second;
}

bool Settings::write(const std::string& section, const std::string& name,
                     const std::string& value) {
    if (value.find('\n') != std::string::npos) return false;
    Values values = load();
    values[section][name] = value;

    std::ostringstream text;
    for (const auto& [sectionName, entries] : values) {
        text << '[' << sectionName << "]\n";
        for (const auto& [key, entry] : entries)
            text << key << '=' << entry << '\n';
        text << '\n';
    }

    std::error_code ec;
    const std::filesystem::path file(path_);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    // Write beside the store and rename, so a failed write never loses the old store.
    // The temporary file is always made new, so it is private: a file or link left at
    // its name could otherwise lend the store its wider mode or send the passwords
    // somewhere else.
    const std::string temporary = path_ + ".tmp";
    ::unlink(temporary.c_str());
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const std::string data = text.str();
    bool ok = ::write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), path_.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace vantrel::shell

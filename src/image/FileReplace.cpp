#include "image/FileReplace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>

namespace vantrel::image {

namespace {

namespace fs = std::filesystem;

constexpr int kNameAttempts = 100;
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr mode_t kPermissionBits = 07777;

bool writeAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool isNumber(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The process id in a temporary name of this target, or 0 when the entry is not one.
pid_t temporaryOwner(std::string_view entry, const std::string& fileName) {
    const std::string prefix = "." + fileName + ".";
    if (!entry.starts_with(prefix) || !entry.ends_with(kTemporarySuffix)) return 0;
    entry.remove_prefix(prefix.size());
    entry.remove_suffix(kTemporarySuffix.size());
    const size_t dash = entry.find('-');
    if (dash == std::string_view::npos) return 0;
    const std::string_view pid = entry.substr(0, dash);
    if (!isNumber(pid) || !isNumber(entry.substr(dash + 1))) return 0;
    pid_t owner = 0;
    std::from_chars(pid.data(), pid.data() + pid.size(), owner);
    return owner;
}

// A save that was killed leaves its named temporary file behind, full size. Such a
// file is removed when it is this target's, a plain file of this user, and the
// process that wrote it no longer runs.
void removeStaleTemporaries(const fs::path& folder, const std::string& fileName) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const pid_t owner = temporaryOwner(name, fileName);
        if (owner <= 0 || owner == ::getpid()) continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid())
            continue;
        ::unlink(it->path().c_str());
    }
}

// Gives the finished unnamed file a temporary name; empty when that is not possible.
std::string nameUnnamed(int fd, const fs::path& folder, const std::string& fileName) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name =
            (folder / temporaryFileName(fileName, ::getpid(), attempt)).string();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return name;
        if (errno != EEXIST) break;
    }
    return {};
}

// A new named temporary file: never an existing file or link, so nothing left at its
// name can lend the data its mode or send it elsewhere.
int createNamed(const fs::path& folder, const std::string& fileName, mode_t mode,
                std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = (folder / temporaryFileName(fileName, ::getpid(), attempt)).string();
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Mode first, then the data, flushed to the disk before the file gets its name.
bool fill(int fd, std::string_view bytes, const struct stat* keep) {
    if (keep && ::fchmod(fd, keep->st_mode & kPermissionBits) != 0) return false;
    return writeAll(fd, bytes) && ::fsync(fd) == 0;
}

// Makes the rename itself durable.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string temporaryFileName(const std::string& fileName, pid_t pid, int attempt) {
    return "." + fileName + "." + std::to_string(pid) + "-" + std::to_string(attempt) +
           std::string(kTemporarySuffix);
}

bool replaceFile(const std::string& path, std::string_view bytes, const ReplaceOptions& options) {
    const fs::path target(path);
    const std::string fileName = target.filename().string();
    if (fileName.empty() || fileName == "." || fileName == "..") return false;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    removeStaleTemporaries(folder, fileName);

    struct stat existing {};
    const bool keepMode = options.keepExistingMode && ::stat(path.c_str(), &existing) == 0 &&
                          S_ISREG(existing.st_mode);
    const struct stat* keep = keepMode ? &existing : nullptr;

    std::string temporary;
    if (!options.namedTemporary) {
        const int fd =
            ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, options.newFileMode);
        if (fd >= 0) {
            const bool filled = fill(fd, bytes, keep);
            if (filled) temporary = nameUnnamed(fd, folder, fileName);
            ::close(fd);
            if (!filled) return false;
        }
    }
    if (temporary.empty()) {
        const int fd = createNamed(folder, fileName, options.newFileMode, temporary);
        if (fd < 0) return false;
        const bool filled = fill(fd, bytes, keep);
        if (!(::close(fd) == 0 && filled)) {
            ::unlink(temporary.c_str());
            return false;
        }
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

}  // namespace vantrel::image

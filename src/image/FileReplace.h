#pragma once
// Replacing a file all at once: image files, datalogger files and the settings store
// are written to a temporary file in the target's folder and renamed over the
// target, so a save that fails or is killed part-way leaves the old file whole.
#include <sys/types.h>

#include <string>
#include <string_view>

namespace vantrel::image {

// A new file's mode before the user's umask narrows it, as for any new file.
inline constexpr mode_t kNewFileMode = 0666;

struct ReplaceOptions {
    // The mode of a target that does not exist yet; an existing target keeps its own.
    mode_t newFileMode = kNewFileMode;
    // When false, an existing target gets newFileMode too (a store that must stay private).
    bool keepExistingMode = true;
    // Uses a named temporary file even where the file system offers unnamed ones.
    bool namedTemporary = false;
};

// Writes bytes as the whole content of path. The data goes first to an unnamed file
// (O_TMPFILE) that is given a name only once complete, or, where the file system
// has no unnamed files, to a named one; either is then renamed over the target.
// Leftovers of this target's earlier saves whose process is gone are removed.
// False, with the target untouched, when the file cannot be written.
bool replaceFile(const std::string& path, std::string_view bytes,
                 const ReplaceOptions& options = {});

// The name of a temporary file for the target file name: ".<name>.<pid>-<n>.tmp".
std::string temporaryFileName(const std::string& fileName, pid_t pid, int attempt);

}  // namespace vantrel::image

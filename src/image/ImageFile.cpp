#include "image/ImageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <vector>

#include "image/ImageFileFormat.h"
#include "link/ErrorFlags.h"
#include "link/Report.h"

namespace vantrel::image {

namespace {

const ui::FileDialog kSaveDialog{"Eeprom", "ucf", "Eeprom Files (*.ucf)", "*.ucf"};
const ui::FileDialog kOpenDialog{"EepromData", "ucf", "Eeprom Files (*.ucf)", "*.ucf"};
constexpr const char* kNoFileSelected = "No File Selected";
constexpr int kTemporaryNameAttempts = 16;

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Creates a new file beside the target, with the target's permissions when it
// exists. Returns its descriptor and name, or -1.
int createTemporary(const std::string& target, std::string& name) {
    struct stat existing {};
    bool keepMode = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        name = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (keepMode) ::fchmod(fd, existing.st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

// Writes the text to a temporary file and renames it over the target, so a save
// that fails part-way leaves the previous file whole.
bool replaceFile(const std::string& target, const std::string& text) {
    std::string temporary;
    int fd = createTemporary(target, temporary);
    if (fd < 0) return false;
    bool written = writeAll(fd, text) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

// Reads at most the loader's limit. O_NONBLOCK keeps a FIFO without a writer from
// blocking the tool; it makes no difference to a regular file.
bool readHead(const std::string& path, std::vector<uint8_t>& data) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    data.assign(kImageFileReadLimit, 0);
    size_t got = 0;
    bool ok = true;
    while (got < data.size()) {
        ssize_t n = ::read(fd, data.data() + got, data.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ok = errno == EAGAIN;  // an empty FIFO: nothing more to read
            break;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    data.resize(got);
    return ok;
}

void failWith(ImageState& state, uint32_t flag) {
    state.errorFlags |= flag;
    link::reportLinkError(state);
}

}  // namespace

bool saveImageFile(ImageState& state) {
    auto path = state.ui.saveFile(kSaveDialog);
    if (!path) {
        state.ui.message(kNoFileSelected);
        return false;
    }
    std::string text = formatImageFile(state.image, formatDatim(std::time(nullptr)));
    if (!replaceFile(*path, text)) {
        failWith(state, link::kFileOpenFailed);
        return false;
    }
    return true;
}

bool loadImageFile(ImageState& state) {
    state.ui.play(ui::Sound::Menu);
    auto path = state.ui.openFile(kOpenDialog);
    if (!path) {
        state.ui.message(kNoFileSelected);
        return false;
    }
    std::vector<uint8_t> data;
    if (!readHead(*path, data)) {
        failWith(state, link::kFileOpenFailed);
        return false;
    }
    if (!parseImageFile(state.image, data)) {
        failWith(state, link::kFileIncomplete);
        return false;
    }
    return true;
}

}  // namespace vantrel::image

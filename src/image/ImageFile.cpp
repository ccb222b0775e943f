#include "image/ImageFile.h"

#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <vector>

#include "image/FileReplace.h"
#include "image/ImageFileFormat.h"
#include "link/ErrorFlags.h"
#include "link/Report.h"

namespace vantrel::image {

namespace {

const ui::FileDialog kSaveDialog{"Eeprom", "ucf", "Eeprom Files (*.ucf)", "*.ucf"};
const ui::FileDialog kOpenDialog{"EepromData", "ucf", "Eeprom Files (*.ucf)", "*.ucf"};
constexpr const char* kNoFileSelected = "No File Selected";
constexpr const char* kSaveStopped = "Save stopped";

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

bool saveImageFile(ImageState& state, SavedFile* saved) {
    link::clearOutcome(state);
    auto path = state.ui.saveFile(kSaveDialog);
    if (!path) {
        state.ui.message(ui::MessageKind::Refusal, kNoFileSelected);
        state.status = kNotSaved;
        return false;
    }
    std::string text = formatImageFile(state.image, formatDatim(std::time(nullptr)));
    if (!replaceFile(*path, text)) {
        failWith(state, link::kFileOpenFailed);
        link::setOutcome(state, false, {}, kSaveStopped);
        return false;
    }
    const std::string name = std::filesystem::path(*path).filename().string();
    if (saved) *saved = {name, text.size()};
    state.status = "Saved to " + name;
    return true;
}

bool loadImageFile(ImageState& state, EepromAreasHeld* held) {
    state.ui.play(ui::Sound::Menu);
    auto path = state.ui.openFile(kOpenDialog);
    if (!path) {
        state.ui.message(ui::MessageKind::Refusal, kNoFileSelected);
        return false;
    }
    std::vector<uint8_t> data;
    if (!readHead(*path, data)) {
        failWith(state, link::kFileOpenFailed);
        return false;
    }
    if (!parseImageFile(state.image, data, held)) {
        failWith(state, link::kFileIncomplete);
        return false;
    }
    return true;
}

}  // namespace vantrel::image

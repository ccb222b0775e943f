#include "datalog/DatalogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>

namespace vantrel::datalog {

namespace {

constexpr int kHeaderPadding = 40;  // spaces between the fixed fields and the end marks
constexpr uint8_t kEndOfText = 0x1A;
constexpr int kTemporaryNameAttempts = 100;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the user's umask, as for any new file

std::string rightAligned(const std::string& text, char fill) {
    if (static_cast<int>(text.size()) >= kNumberFieldWidth) return text;
    return std::string(kNumberFieldWidth - text.size(), fill) + text;
}

// The length of the UTF-8 sequence starting at text[i] and its code point, or 0
// when the bytes there are not a well-formed sequence.
size_t decodeUtf8(std::string_view text, size_t i, uint32_t& codePoint) {
    const auto lead = static_cast<uint8_t>(text[i]);
    size_t length = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (length == 2 && codePoint < 0x80) return 0;  // overlong
    return length;
}

bool writeAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Creates a new file beside the target that no one else uses; -1 when the folder
// does not allow it.
int createTemporary(const std::filesystem::path& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const auto folder = target.has_parent_path() ? target.parent_path() : ".";
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        name = (folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) +
                          "-" + std::to_string(counter++) + ".tmp"))
                   .string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

std::string clockDifferenceField(uint64_t difference, bool negative) {
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(difference));
    return rightAligned(std::to_string(low), negative ? 'f' : '0');
}

std::string actuatorClockField(uint32_t clock) {
    return rightAligned(std::to_string(clock), '0');
}

std::string toLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t codePoint = 0;
        const size_t length = decodeUtf8(text, i, codePoint);
        if (length == 0) {
            out.push_back(text[i]);
            ++i;
            continue;
        }
        out.push_back(codePoint <= 0xFF ? static_cast<char>(codePoint) : '?');
        i += length;
    }
    return out;
}

std::string fileNameField(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    std::string field = toLatin1(name);
    if (static_cast<int>(field.size()) > kNumberFieldWidth) field.resize(kNumberFieldWidth);
    return std::string(kNumberFieldWidth - field.size(), ' ') + field;
}

std::string dateTimeField(std::string_view dateTime) {
    std::string field = toLatin1(dateTime);
    field.resize(kDateTimeFieldWidth, ' ');
    return field;
}

std::vector<uint8_t> datalogFileBytes(const DatalogRecord& record, std::string_view path) {
    std::vector<uint8_t> bytes;
    bytes.reserve(kFileBytes);
    auto append = [&bytes](const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
    };
    append(clockDifferenceField(record.clockDifference, record.negative));
    bytes.push_back(kFieldSeparator);
    append(actuatorClockField(record.actuatorClock));
    bytes.push_back(kFieldSeparator);
    append(fileNameField(path));
    bytes.push_back(kFieldSeparator);
    append(dateTimeField(record.dateTime));
    bytes.insert(bytes.end(), record.identification.begin(), record.identification.end());
    bytes.insert(bytes.end(), kHeaderPadding, ' ');
    bytes.push_back(kEndOfText);
    bytes.push_back(kCarriageReturn);
    for (const Slot& slot : record.slots)
        bytes.insert(bytes.end(), slot.begin(), slot.end());
    return bytes;
}

bool writeDatalogFile(const std::string& path, const DatalogRecord& record) {
    const std::filesystem::path target(path);
    if (target.filename().empty()) return false;
    std::string temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0) return false;
    const bool written = writeAll(fd, datalogFileBytes(record, path)) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace vantrel::datalog

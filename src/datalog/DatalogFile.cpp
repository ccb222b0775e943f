#include "datalog/DatalogFile.h"

#include <algorithm>

#include "image/FileReplace.h"
#include "image/Utf8.h"

namespace vantrel::datalog {

namespace {

std::string rightAligned(const std::string& text, char fill) {
    if (static_cast<int>(text.size()) >= kNumberFieldWidth) return text;
    return std::string(kNumberFieldWidth - text.size(), fill) + text;
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
        const size_t length = image::decodeUtf8(text, i, codePoint);
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

std::string fromLatin1(std::string_view text) {
    constexpr unsigned kLeadOfTwo = 0xC0;
    constexpr unsigned kContinuation = 0x80;
    constexpr unsigned kSixBits = 0x3F;
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < kContinuation) {
            out.push_back(c);
            continue;
        }
        out.push_back(static_cast<char>(kLeadOfTwo | (byte >> 6)));
        out.push_back(static_cast<char>(kContinuation | (byte & kSixBits)));
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
    const std::vector<uint8_t> bytes = datalogFileBytes(record, path);
    return image::replaceFile(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace vantrel::datalog

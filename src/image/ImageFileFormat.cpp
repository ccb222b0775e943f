#include "image/ImageFileFormat.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "image/LocalTime.h"

namespace vantrel::image {

namespace {

constexpr char kLineEnd = '\r';
constexpr char kSeparator = '\t';
constexpr std::string_view kDatimKey = "DATIM";

// The identities are written as raw bytes; every other area in hexadecimal.
enum class Encoding { Hex, Raw };

// An area as the file carries it: the bytes saved (and loaded) and, for option card
// areas, the option card type its key stands for.
struct FileArea {
    Area area;
    int length;
    Encoding encoding = Encoding::Hex;
    uint8_t optionType = kNoOption;
};

constexpr FileArea kTracklinLine{area::TRACKLIN_3, area::TRACKLIN_3.length, Encoding::Hex,
                                 kPositioner};
constexpr FileArea kVexlinkLine{area::VEXLINK_DIG_3, area::VEXLINK_DIG_3.length, Encoding::Hex,
                                kLoopNetwork};
constexpr FileArea kProfibusLine{area::PROFIBUS_3, kProfibusSavedBytes, Encoding::Hex, kProfibus};
constexpr FileArea kModbusLine{area::MODBUS_3, area::MODBUS_3.length, Encoding::Hex, kModbus};
constexpr FileArea kDeviceNetLine{area::DEVICENET_3, area::DEVICENET_3.length, Encoding::Hex,
                                  kDeviceNet};
constexpr FileArea kMk2BusLine{area::MK2BUS_3, kMk2BusSavedBytes, Encoding::Hex, kModbusMk2};
constexpr FileArea kOptionSoftwareLine{area::OPT_SW_3, area::OPT_SW_3.length, Encoding::Raw};
constexpr FileArea kMainSoftwareLine{area::MAIN_SW, area::MAIN_SW.length, Encoding::Raw};
constexpr FileArea kPartTurnLine{area::ZRT_5, area::ZRT_5.length};

// The option card areas in the loader's order.
constexpr std::array<FileArea, 6> kOptionCardAreas = {kTracklinLine, kVexlinkLine,   kProfibusLine,
                                                      kModbusLine,   kDeviceNetLine, kMk2BusLine};

// Byte 70 of the bus area is bus register 47, the card kind.
constexpr int kBusKindOffset = 70;

// OPT_SW_3 begins with the card letter and its variant.
constexpr uint8_t kMk2Letter = 'M';
constexpr uint8_t kMultiportVariant = 'P';

std::optional<FileArea> optionCardArea(uint8_t optionType) {
    switch (optionType) {
        case kPositioner:
            return kTracklinLine;
        case kLoopNetwork:
            return kVexlinkLine;
        case kProfibus:
            return kProfibusLine;
        case kModbus:
            return kModbusLine;
        case kDeviceNet:
            return kDeviceNetLine;
        case kModbusMk2:
        case kProfibusMk2:
        case kFieldbusMk2:
            return kMk2BusLine;
        default:
            return std::nullopt;
    }
}

void appendKey(std::string& text, std::string_view key) {
    text.append(key);
    text.push_back(kSeparator);
}

void appendHex(std::string& text, const uint8_t* bytes, int count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < count; ++i) {
        text.push_back(kDigits[bytes[i] >> 4]);
        text.push_back(kDigits[bytes[i] & 0x0F]);
    }
}

// How many bytes from offset the image holds before the first it lacks, up to count.
int heldRun(const ConfigImage& image, int offset, int count) {
    int n = 0;
    while (n < count && image.holds(offset + n))
        ++n;
    return n;
}

// A hexadecimal value ends before the first byte the image lacks, as a value cut
// short, so that the loader reads back as lacking what was never read.
void appendArea(std::string& text, const ConfigImage& image, const FileArea& fileArea, int length) {
    appendKey(text, fileArea.area.key);
    if (fileArea.encoding == Encoding::Raw)
        text.append(reinterpret_cast<const char*>(image.at(fileArea.area)), length);
    else
        appendHex(text, image.at(fileArea.area), heldRun(image, fileArea.area.offset, length));
}

// A raw identity has no end of its own: one the image lacks in part is left out.
bool rawHeld(const ConfigImage& image, const FileArea& fileArea) {
    return image.holds(fileArea.area.offset, fileArea.length);
}

void markCarried(ConfigImage& image, int offset, int count) {
    for (int i = offset; i < offset + count; ++i)
        image.missing.reset(static_cast<std::size_t>(i));
}

// Where the value of a key begins in data, if the key (with its tab) is there.
std::optional<size_t> findValue(std::span<const uint8_t> data, std::string_view key) {
    std::string pattern(key);
    pattern.push_back(kSeparator);
    auto it = std::search(data.begin(), data.end(), pattern.begin(), pattern.end(),
                          [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); });
    if (it == data.end()) return std::nullopt;
    return static_cast<size_t>(it - data.begin()) + pattern.size();
}

// Decodes up to count pairs of digits of one value. A value cut short (by the end
// of its line or of the data) leaves the rest of the area as it was, not held, and
// never takes digits from the next line.
void decodeHex(std::span<const uint8_t> data, size_t value, ConfigImage& image, int offset,
               int count) {
    for (int i = 0; i < count; ++i) {
        size_t at = value + 2 * static_cast<size_t>(i);
        if (at + 1 >= data.size() || data[at] == kLineEnd || data[at + 1] == kLineEnd) return;
        image.bytes[offset + i] = hexToByte(reinterpret_cast<const char*>(data.data() + at));
        markCarried(image, offset + i, 1);
    }
}

// True when the value holds all count pairs of hexadecimal digits.
bool wholeHex(std::span<const uint8_t> data, size_t value, int count) {
    const size_t digits = 2 * static_cast<size_t>(count);
    if (value > data.size() || data.size() - value < digits) return false;
    return std::all_of(data.begin() + static_cast<std::ptrdiff_t>(value),
                       data.begin() + static_cast<std::ptrdiff_t>(value + digits),
                       [](uint8_t c) { return std::isxdigit(c) != 0; });
}

// Copies up to count raw characters, as many as the data holds; returns how many.
// Characters the data does not hold stay not held.
size_t copyRaw(std::span<const uint8_t> data, size_t value, ConfigImage& image, const Area& into,
               int count) {
    size_t available = value < data.size() ? data.size() - value : 0;
    size_t n = std::min(available, static_cast<size_t>(count));
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(value), n, image.at(into));
    markCarried(image, into.offset, static_cast<int>(n));
    return n;
}

}  // namespace

std::string formatDatim(std::time_t when) {
    std::string datim = localDateTimeText(when);
    datim.resize(kDatimLength, ' ');
    return datim;
}

std::string formatImageFile(const ConfigImage& image, std::string_view datim) {
    std::string text;
    appendKey(text, kDatimKey);
    std::string stamp(datim.substr(0, kDatimLength));
    stamp.resize(kDatimLength, ' ');
    text += stamp;
    text.push_back(kLineEnd);

    for (const Area& eepromArea : area::kEepromAreas) {
        appendArea(text, image, FileArea{eepromArea, eepromArea.length}, eepromArea.length);
        text.push_back(kLineEnd);
    }
    if (rawHeld(image, kMainSoftwareLine)) {
        appendArea(text, image, kMainSoftwareLine, kMainSoftwareLine.length);
        text.push_back(kLineEnd);
    }

    if (image.optionType != kNoOption) {
        if (auto card = optionCardArea(image.optionType)) {
            int length = card->length;
            if (card->area.offset == area::MK2BUS_3.offset && (image.optionFlags & kMultiportFlag))
                length = kMultiportBusBytes;
            appendArea(text, image, *card, length);
            text.push_back(kLineEnd);
        }
        if (rawHeld(image, kOptionSoftwareLine)) {
            appendArea(text, image, kOptionSoftwareLine, kOptionSoftwareLine.length);
            text.push_back(kLineEnd);
        }
    }
    // The part-turn line is the last one and has no line end.
    if (image.optionFlags & kPartTurnFlag)
        appendArea(text, image, kPartTurnLine, kPartTurnLine.length);
    return text;
}

bool parseImageFile(ConfigImage& image, std::span<const uint8_t> data, EepromAreasHeld* held) {
    image.optionType = kNoOption;
    image.optionFlags = 0;
    if (held) held->reset();
    // Every byte is lacking until the file gives it.
    image.missing.set();

    for (size_t i = 0; i < area::kEepromAreas.size(); ++i) {
        const Area& eepromArea = area::kEepromAreas[i];
        auto value = findValue(data, eepromArea.key);
        if (!value) {
            if (eepromArea.offset == area::UNUSED2.offset) return false;
            continue;
        }
        decodeHex(data, *value, image, eepromArea.offset, eepromArea.length);
        if (held) held->set(i, wholeHex(data, *value, eepromArea.length));
    }

    if (auto value = findValue(data, kMainSoftwareLine.area.key))
        copyRaw(data, *value, image, area::MAIN_SW, kMainSoftwareLine.length);

    // A multiport unit's identity makes the next area read take the long bus area.
    bool multiportPending = false;
    if (auto value = findValue(data, kOptionSoftwareLine.area.key)) {
        size_t copied = copyRaw(data, *value, image, area::OPT_SW_3, kOptionSoftwareLine.length);
        if (copied >= 2 && data[*value] == kMk2Letter && data[*value + 1] == kMultiportVariant) {
            image.optionFlags |= kMultiportFlag;
            multiportPending = true;
        }
    }

    for (const FileArea& card : kOptionCardAreas) {
        auto value = findValue(data, card.area.key);
        if (!value) continue;
        image.optionType = card.optionType;
        int length = card.length;
        // Only the bus area has room for the multiport registers; any other area read
        // first uses up the remembered length without overrunning its neighbours.
        if (multiportPending && card.area.offset == area::MK2BUS_3.offset)
            length = kMultiportBusBytes;
        multiportPending = false;
        decodeHex(data, *value, image, card.area.offset, length);
    }

    if (auto value = findValue(data, kPartTurnLine.area.key)) {
        image.optionFlags |= kPartTurnFlag;
        decodeHex(data, *value, image, area::ZRT_5.offset, kPartTurnLine.length);
    }

    // A Mk2 bus card (or a multiport unit carrying one) takes its type from the card
    // kind that the bus area holds.
    const uint8_t* software = image.at(area::OPT_SW_3);
    if (software[0] == kMk2Letter &&
        (software[1] == '2' || software[1] == '3' || software[1] == kMultiportVariant)) {
        uint8_t type = optionTypeOfBusKind(image.at(area::MK2BUS_3)[kBusKindOffset]);
        if (type != kNoOption) image.optionType = type;
    }
    return true;
}

}  // namespace vantrel::image

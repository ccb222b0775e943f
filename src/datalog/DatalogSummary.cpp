#include "datalog/DatalogSummary.h"

#include <algorithm>
#include <memory>
#include <set>

#include "datalog/DatalogFile.h"
#include "link/Crc16.h"
#include "pages/Contacts.h"
#include "pages/ControlPage.h"
#include "shell/Context.h"
#include "shell/Settings.h"
#include "ui/ScreenDriver.h"
#include "ui/SilentUi.h"
#include "ui/Ui.h"

namespace vantrel::datalog {

namespace {

constexpr char kAheadFill = 'f';
constexpr char kBehindFill = '0';
constexpr uint8_t kFirstPrintable = 0x20;
constexpr uint8_t kLastPrintable = 0x7E;

std::string text(std::span<const uint8_t> file, int at, int length) {
    return std::string(file.begin() + at, file.begin() + at + length);
}

std::string trimmed(std::string value, char fill, bool front) {
    if (front) {
        value.erase(0, value.find_first_not_of(fill));
    } else {
        const size_t last = value.find_last_not_of(fill);
        value.erase(last == std::string::npos ? 0 : last + 1);
    }
    return value;
}

// The fixed marks of the layout: separators, padding, end marks and slot ends.
std::optional<std::string> layoutProblem(std::span<const uint8_t> file) {
    if (file.size() != static_cast<size_t>(kFileBytes))
        return "it holds " + std::to_string(file.size()) + " bytes; a datalogger file holds " +
               std::to_string(kFileBytes);
    for (int at : {kActuatorClockAt - 1, kFileNameAt - 1, kDateTimeAt - 1})
        if (file[at] != kFieldSeparator) return "no field separator at byte " + std::to_string(at);
    for (int at : kRecordSeparatorBytes)
        if (file[kIdentificationAt + at] != kFieldSeparator)
            return "no field separator at byte " + std::to_string(kIdentificationAt + at);
    for (int at = kHeaderPaddingAt; at < kEndOfTextAt; ++at)
        if (file[at] != ' ') return "no header padding at byte " + std::to_string(at);
    if (file[kEndOfTextAt] != kEndOfText || file[kEndOfTextAt + 1] != kCarriageReturn)
        return "no end of header at byte " + std::to_string(kEndOfTextAt);
    for (int s = 0; s < kSlotCount; ++s)
        if (file[kHeaderBytes + s * kSlotBytes + kSlotEnd] != kCarriageReturn)
            return "slot " + std::to_string(s) + " does not end its line";
    return std::nullopt;
}

int blockOfSlot(int slot) {
    for (const DatalogGroup& group : kGroups) {
        if (slot < group.count) return group.first + slot;
        slot -= group.count;
    }
    return -1;
}

SlotSummary slotSummary(std::span<const uint8_t> file, int s) {
    Slot slot;
    std::copy_n(file.begin() + kHeaderBytes + s * kSlotBytes, kSlotBytes, slot.begin());
    SlotSummary summary{blockOfSlot(s), slot[kSlotNumber], SlotHealth::Intact};
    const uint16_t crc = link::crc16(slot.data(), kSlotCoveredByCrc, link::kCrcStart);
    if (slot == emptySlot())
        summary.health = SlotHealth::Empty;
    else if (slot[kSlotCrcLow] != (crc & 0xFF) || slot[kSlotCrcHigh] != (crc >> 8))
        summary.health = SlotHealth::CrcWrong;
    else if (summary.received != summary.block)
        summary.health = SlotHealth::WrongNumber;
    return summary;
}

std::string versionText(const std::array<uint8_t, kVersionBytes>& version) {
    const bool printable = std::all_of(version.begin(), version.end(), [](uint8_t b) {
        return b >= kFirstPrintable && b <= kLastPrintable;
    });
    if (printable) return std::string(version.begin(), version.end());
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (uint8_t b : version) {
        if (!hex.empty()) hex += ' ';
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0x0F];
    }
    return hex;
}

// Decodes the carried configuration bytes with the pages that own them: their
// fields whose bytes the record carries, as the pages show them.
class CarriedDecoder {
public:
    explicit CarriedDecoder(std::span<const uint8_t> record)
        : settings_(std::string()), context_(ui_, settings_) {
        image::ConfigImage& image = context_.image;
        image.missing.set();
        for (const CarriedRegister& carried : kCarriedRegisters) {
            image.reg(carried.address) = record[carried.recordByte];
            image.missing.reset(image::kConfigBase + carried.address);
        }
    }

    void decode(DatalogSummary& summary) {
        pages::CConfTab3 contacts(context_);
        contacts.setUp();
        for (int view = 0; view < contacts.viewCount(); ++view) {
            contacts.showView(view);
            take(contacts, summary);
        }
        pages::CConfTab8 control(context_);
        control.setUp();
        take(control, summary);

        for (const CarriedRegister& carried : kCarriedRegisters)
            if (!shown_.contains(carried.address))
                summary.otherBytes.push_back(
                    {carried.address, context_.image.reg(carried.address)});
        std::sort(summary.otherBytes.begin(), summary.otherBytes.end(),
                  [](const CarriedByte& a, const CarriedByte& b) { return a.address < b.address; });
    }

private:
    bool carries(const pages::Bits& bits) const {
        for (int i = 0; i < bits.bytes; ++i)
            if (recordByteOf(bits.offset + i - image::kConfigBase) < 0) return false;
        return true;
    }

    void take(pages::ConfigPage& page, DatalogSummary& summary) {
        for (const auto& field : page.fields()) {
            if (!field->active || !carries(field->bits())) continue;
            const ui::Control& control = field->control();
            const std::string value = ui::valueText(control);
            summary.settings.push_back({page.title(), ui::controlName(control),
                                        value.empty() ? "?" : value,
                                        field->stored(context_.image, false)});
            for (int i = 0; i < field->bits().bytes; ++i)
                shown_.insert(field->bits().offset + i - image::kConfigBase);
        }
    }

    ui::SilentUi ui_;
    shell::Settings settings_;
    shell::Context context_;
    std::set<int> shown_;
};

}  // namespace

int DatalogSummary::count(SlotHealth health) const {
    return static_cast<int>(std::count_if(
        slots.begin(), slots.end(), [health](const SlotSummary& s) { return s.health == health; }));
}

std::string DatalogSummary::blockMap() const {
    std::string map;
    for (const SlotSummary& slot : slots)
        map += healthMark(slot.health);
    return map;
}

std::vector<int> DatalogSummary::blocksNotIntact() const {
    std::vector<int> blocks;
    for (const SlotSummary& slot : slots)
        if (slot.health != SlotHealth::Intact) blocks.push_back(slot.block);
    std::sort(blocks.begin(), blocks.end());
    return blocks;
}

char healthMark(SlotHealth health) {
    switch (health) {
        case SlotHealth::Intact:
            return '.';
        case SlotHealth::CrcWrong:
            return 'C';
        case SlotHealth::WrongNumber:
            return 'N';
        case SlotHealth::Empty:
            return '-';
    }
    return '?';
}

const char* healthName(SlotHealth health) {
    switch (health) {
        case SlotHealth::Intact:
            return "intact";
        case SlotHealth::CrcWrong:
            return "CRC wrong";
        case SlotHealth::WrongNumber:
            return "wrong block number";
        case SlotHealth::Empty:
            return "empty";
    }
    return "";
}

std::optional<DatalogSummary> summarize(std::span<const uint8_t> file, std::string& problem) {
    if (const auto wrong = layoutProblem(file)) {
        problem = *wrong;
        return std::nullopt;
    }
    DatalogSummary summary;
    const std::string difference = text(file, kClockDifferenceAt, kNumberFieldWidth);
    summary.actuatorAhead = difference.front() == kAheadFill;
    summary.clockDifference =
        trimmed(difference, summary.actuatorAhead ? kAheadFill : kBehindFill, true);
    if (summary.clockDifference.empty()) summary.clockDifference = "0";
    summary.actuatorClock =
        trimmed(text(file, kActuatorClockAt, kNumberFieldWidth), kBehindFill, true);
    if (summary.actuatorClock.empty()) summary.actuatorClock = "0";
    summary.fileName = fromLatin1(trimmed(text(file, kFileNameAt, kNumberFieldWidth), ' ', true));
    summary.dateTime =
        fromLatin1(trimmed(text(file, kDateTimeAt, kDateTimeFieldWidth), ' ', false));

    const std::span<const uint8_t> record = file.subspan(kIdentificationAt, kIdentificationBytes);
    std::copy_n(record.begin() + kVersionRecordByte, kVersionBytes, summary.version.begin());
    summary.versionText = versionText(summary.version);
    summary.zr2 = record[kGenerationRecordByte] == kZr2VersionCode;
    CarriedDecoder(record).decode(summary);

    for (int s = 0; s < kSlotCount; ++s)
        summary.slots[s] = slotSummary(file, s);
    return summary;
}

}  // namespace vantrel::datalog

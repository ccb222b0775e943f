#include "datalog/BurstParser.h"

#include <cstring>

#include "link/Crc16.h"
#include "link/DatalogRecords.h"

namespace vantrel::datalog {

namespace {

constexpr size_t kMarkerBytes = sizeof link::kDatalogMarker;
// From the block number on: number, data and the two CRC bytes.
constexpr size_t kRecordBodyBytes = link::kRecordBytes - kMarkerBytes;
static_assert(kRecordBodyBytes == kSlotCrcHigh + 1);

void flag(DatalogRecord& record, int number) {
    if (number >= 0 && number < kBlockNumbers) record.blockErrors[number] = true;
}

}  // namespace

void parseBurst(const uint8_t* received, size_t size, size_t g, DatalogRecord& record,
                const ShowMessage& show) {
    if (g >= kGroups.size()) return;
    const DatalogGroup group = kGroups[g];
    const int base = groupSlotBase(g);
    size_t position = 0;

    for (int expected = group.first; expected < group.end(); ++expected) {
        const size_t marker =
            received ? link::findDatalogRecord(received, size, position) : link::kNoRecord;
        if (marker == link::kNoRecord) {
            for (; expected < group.end(); ++expected)
                flag(record, expected);
            return;
        }
        const uint8_t* body = received + marker + kMarkerBytes;
        const int number = body[kSlotNumber];
        if (number != expected) {
            show(kBlockNumberWrong);
            if (number > expected && number < group.end()) {
                for (; expected < number; ++expected)
                    flag(record, expected);
            } else {
                flag(record, expected);
            }
        }

        Slot& slot = record.slots[base + (expected - group.first)];
        std::memcpy(slot.data(), body, kRecordBodyBytes);
        const uint16_t crc = link::crc16(slot.data(), kSlotCoveredByCrc, link::kCrcStart);
        if (slot[kSlotCrcLow] != (crc & 0xFF) || slot[kSlotCrcHigh] != (crc >> 8)) {
            show(kCrcWrong);
            flag(record, expected);
        }
        slot[kSlotEnd] = kCarriageReturn;
        position = marker + link::kNextRecordSearch;
    }
}

}  // namespace vantrel::datalog

#include "datalog/BurstParser.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "link/Commands.h"
#include "link/Crc16.h"

namespace vantrel::datalog {

namespace {

constexpr size_t kMarkerBytes = sizeof link::kDatalogMarker;
// From the block number on: number, data and the two CRC bytes.
constexpr size_t kRecordBodyBytes = link::kRecordBytes - kMarkerBytes;
static_assert(kRecordBodyBytes == kSlotCrcHigh + 1);
// The next search starts at the record's second CRC byte.
constexpr size_t kNextSearchOffset = kMarkerBytes + kSlotCrcHigh;
constexpr size_t kNotFound = static_cast<size_t>(-1);

// The position of the next marker at or after from whose whole record arrived.
size_t findRecord(const uint8_t* received, size_t size, size_t from) {
    if (size < link::kRecordBytes || from > size - link::kRecordBytes) return kNotFound;
    const uint8_t* begin = received + from;
    const uint8_t* last = received + (size - link::kRecordBytes) + kMarkerBytes;
    const uint8_t* found =
        std::search(begin, last, std::begin(link::kDatalogMarker), std::end(link::kDatalogMarker));
    return found == last ? kNotFound : static_cast<size_t>(found - received);
}

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
        const size_t marker = received ? findRecord(received, size, position) : kNotFound;
        if (marker == kNotFound) {
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
        position = marker + kNextSearchOffset;
    }
}

}  // namespace vantrel::datalog

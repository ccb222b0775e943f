#pragma once
// Hand-made datalog records for the parser and file tests: "BLOCK", the block
// number, 128 recognisable data bytes and the CRC, low byte first.
#include <cstdint>
#include <vector>

#include "datalog/DatalogData.h"
#include "link/Crc16.h"

namespace vantrel::test {

inline uint8_t datalogByte(int number, int i) {
    return static_cast<uint8_t>(number * 7 + i * 3 + 1);
}

inline std::vector<uint8_t> datalogRecord(int number, bool goodCrc = true) {
    std::vector<uint8_t> record = {'B', 'L', 'O', 'C', 'K', static_cast<uint8_t>(number)};
    for (int i = 0; i < 128; ++i)
        record.push_back(datalogByte(number, i));
    uint16_t crc = link::crc16(record.data() + 5, 129, link::kCrcStart);
    if (!goodCrc) crc ^= 0x0101;
    record.push_back(static_cast<uint8_t>(crc & 0xFF));
    record.push_back(static_cast<uint8_t>(crc >> 8));
    return record;
}

inline void append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

// True when the slot holds exactly this block's record with a CRC that matches.
inline bool slotHoldsBlock(const datalog::Slot& slot, int number) {
    const auto record = datalogRecord(number);
    for (int i = 0; i < 131; ++i)
        if (slot[i] != record[5 + i]) return false;
    return slot[datalog::kSlotEnd] == datalog::kCarriageReturn;
}

}  // namespace vantrel::test

#pragma once
// What one datalogger extraction collects: the group table the blocks are fetched
// by, the 155 block slots, the block error flags, the identification record and
// the two clocks. The file writer and the burst parser share these definitions.
#include <array>
#include <cstdint>
#include <string>

namespace vantrel::datalog {

inline constexpr int kSlotBytes = 132;  // number, 128 data bytes, CRC low, CRC high, CR
inline constexpr int kSlotCount = 155;
inline constexpr int kBlockNumbers = 241;  // block numbers 0..240 carry an error flag
inline constexpr int kIdentificationBytes = 27;
inline constexpr uint8_t kCarriageReturn = 0x0D;
inline constexpr uint8_t kFieldSeparator = 0x09;

// The identification record: the version reply, then configuration bytes read from
// the actuator, with field separators between its parts.
inline constexpr int kVersionRecordByte = 1;  // READ_VERSION reply bytes 7..10 go to 1..4
inline constexpr int kVersionBytes = 4;
inline constexpr int kGenerationRecordByte = 2;  // reply byte 8: '1' on a ZR2
inline constexpr uint8_t kZr2VersionCode = '1';
inline constexpr std::array<int, 4> kRecordSeparatorBytes = {0, 5, 22, 25};

// A configuration byte the record carries: its register address and its record byte.
struct CarriedRegister {
    int address;
    int recordByte;
};
// The contact registers 44..59 in order, the two control bytes (66 before 65) and 35.
inline constexpr std::array<CarriedRegister, 19> kCarriedRegisters = {{{44, 6},
                                                                       {45, 7},
                                                                       {46, 8},
                                                                       {47, 9},
                                                                       {48, 10},
                                                                       {49, 11},
                                                                       {50, 12},
                                                                       {51, 13},
                                                                       {52, 14},
                                                                       {53, 15},
                                                                       {54, 16},
                                                                       {55, 17},
                                                                       {56, 18},
                                                                       {57, 19},
                                                                       {58, 20},
                                                                       {59, 21},
                                                                       {66, 23},
                                                                       {65, 24},
                                                                       {35, 26}}};

// The record byte that carries the configuration byte at this register address.
constexpr int recordByteOf(int address) {
    for (const CarriedRegister& carried : kCarriedRegisters)
        if (carried.address == address) return carried.recordByte;
    return -1;
}

// Offsets inside a slot.
inline constexpr int kSlotNumber = 0;
inline constexpr int kSlotData = 1;
inline constexpr int kSlotCrcLow = 129;
inline constexpr int kSlotCrcHigh = 130;
inline constexpr int kSlotEnd = 131;
inline constexpr int kSlotCoveredByCrc = 129;  // block number and data

// One request of the datalogger: first block number and number of blocks.
struct DatalogGroup {
    int first;
    int count;
    int end() const { return first + count; }
};

// The five groups, always fetched in this order: 155 blocks in all.
inline constexpr std::array<DatalogGroup, 5> kGroups = {
    {{0, 129}, {192, 8}, {208, 16}, {224, 1}, {240, 1}}};

// The slot the first block of group g goes into: the slots follow the group table.
constexpr int groupSlotBase(size_t g) {
    int base = 0;
    for (size_t i = 0; i < g; ++i)
        base += kGroups[i].count;
    return base;
}
static_assert(groupSlotBase(kGroups.size()) == kSlotCount);

using Slot = std::array<uint8_t, kSlotBytes>;
using Slots = std::array<Slot, kSlotCount>;
using BlockErrors = std::array<bool, kBlockNumbers>;

// A slot no block has filled: zeros with the line end, so a file never carries
// bytes that did not come from this extraction.
constexpr Slot emptySlot() {
    Slot slot{};
    slot[kSlotEnd] = kCarriageReturn;
    return slot;
}

struct DatalogRecord {
    uint32_t actuatorClock = 0;    // READ_CLOCK counter shifted right by 2
    uint64_t clockDifference = 0;  // tool clock (in the actuator's unit) minus actuator clock
    bool negative = false;         // the actuator clock was ahead of the tool clock
    std::string dateTime;          // date and time text taken when the extraction started
    std::array<uint8_t, kIdentificationBytes> identification{};
    Slots slots;
    BlockErrors blockErrors{};

    DatalogRecord() { slots.fill(emptySlot()); }
};

}  // namespace vantrel::datalog

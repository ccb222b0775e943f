// Record streams: the four configuration blocks of the EEPROM and the datalogger's
// 155 blocks. A ZR2 sends datalog blocks one by one with a short gap; a Pro sends a
// whole group as one burst.
#include <algorithm>

#include "link/Commands.h"
#include "link/Crc16.h"
#include "sim/Actuator.h"

namespace vantrel::sim {

using namespace link;

namespace {

constexpr int kConfigBlocks = 4;
constexpr uint8_t kConfigMarker[5] = {'E', 'P', 'R', 'O', 'M'};
constexpr uint8_t kDatalogMarker[5] = {'B', 'L', 'O', 'C', 'K'};
constexpr uint8_t kErasedByte = 0xFF;
// Noise bytes: none of them is a lead-in, so a receiver must skip them.
constexpr uint8_t kNoisePattern[] = {0x00, 0xFF, 0x55, 0xAA, 0x13};
// XORed into the CRC's low byte to make it wrong.
constexpr uint8_t kCrcCorruption = 0x5A;

std::vector<uint8_t> record(const uint8_t (&marker)[5], uint8_t number, const uint8_t* data,
                            bool corruptCrc) {
    std::vector<uint8_t> r(marker, marker + 5);
    r.push_back(number);
    r.insert(r.end(), data, data + kRecordDataBytes);
    uint16_t crc = crc16(&number, 1, kCrcStart);
    crc = crc16(data, kRecordDataBytes, crc);
    r.push_back(static_cast<uint8_t>(crc ^ (corruptCrc ? kCrcCorruption : 0)));
    r.push_back(static_cast<uint8_t>(crc >> 8));
    return r;
}

void append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

}  // namespace

std::vector<uint8_t> Actuator::noise(int count) const {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(kNoisePattern[i % std::size(kNoisePattern)]);
    return bytes;
}

std::vector<uint8_t> Actuator::noise() const {
    return noise(options_.faults.noiseBeforeRecords);
}

std::vector<uint8_t> Actuator::configRecord(int block, bool corruptCrc) const {
    return record(kConfigMarker, static_cast<uint8_t>(block),
                  eeprom_.data() + block * kRecordDataBytes, corruptCrc);
}

std::vector<uint8_t> Actuator::datalogRecord(int block, int numberSent, bool corruptCrc) const {
    return record(kDatalogMarker, static_cast<uint8_t>(numberSent), datalog_[block].data(),
                  corruptCrc);
}

Actuator::Reply Actuator::configBlocks(uint8_t first, uint8_t countLess1,
                                       std::vector<Output>& extra) {
    const int count = countLess1 + 1;
    if (first + count > kConfigBlocks) return refused(kStatusEeprom);
    // The injected bad CRC hits the four-block burst only, so a re-request is good.
    const bool burst = count == kBurstRecords;
    std::vector<uint8_t> bytes = noise();
    for (int b = first; b < first + count; ++b)
        append(bytes, configRecord(b, burst && options_.faults.badCrcConfigBlock == b));
    extra.push_back(Output{std::move(bytes), 0, false});
    return accepted();
}

Actuator::Reply Actuator::datalogBlocks(uint8_t first, uint8_t countLess1,
                                        std::vector<Output>& extra) {
    const int count = countLess1 + 1;
    if (first + count > kDatalogBlockNumbers) return refused(kStatusEeprom);
    auto& faults = options_.faults;
    if (faults.silentDatalog) return accepted();

    const bool oneByOne = options_.generation == Generation::ZR2;
    Output pending{oneByOne ? std::vector<uint8_t>{} : noise(), 0, false};
    bool firstRecord = true;
    for (int n = first; n < first + count; ++n) {
        if (std::find(faults.missingDatalogBlocks.begin(), faults.missingDatalogBlocks.end(), n) !=
            faults.missingDatalogBlocks.end())
            continue;
        if (faults.hangUpAtDatalogBlock == n) {
            faults.hangUpAtDatalogBlock.reset();
            if (!pending.bytes.empty()) extra.push_back(std::move(pending));
            extra.push_back(Output{{}, 0, true});
            return accepted();
        }
        const bool slow = faults.slowDatalogBlock == n;
        if (oneByOne || slow) {
            // Each ZR2 block, and the slow block of a burst, starts a piece of its own.
            if (!pending.bytes.empty()) extra.push_back(std::move(pending));
            pending = Output{oneByOne ? noise() : std::vector<uint8_t>{},
                             slow ? kSlowRecordDelayMs : (firstRecord ? 0 : kRecordGapMs), false};
        }
        int numberSent = n;
        if (faults.renumberedDatalogBlock && faults.renumberedDatalogBlock->first == n)
            numberSent = faults.renumberedDatalogBlock->second;
        append(pending.bytes, noise(faults.noiseBeforeEachDatalogRecord));
        append(pending.bytes, datalogRecord(n, numberSent, faults.badCrcDatalogBlock == n));
        firstRecord = false;
    }
    if (!pending.bytes.empty()) extra.push_back(std::move(pending));
    return accepted();
}

void Actuator::resetDatalog() {
    std::array<uint8_t, 128> erased;
    erased.fill(kErasedByte);
    datalog_.assign(kDatalogBlockNumbers, erased);
    datalogCleared_ = true;
}

std::array<uint8_t, 128> Actuator::datalogBlock(int number) const {
    std::lock_guard lock(mutex_);
    return datalog_.at(number);
}

bool Actuator::datalogCleared() const {
    std::lock_guard lock(mutex_);
    return datalogCleared_;
}

}  // namespace vantrel::sim

// Frame handling, the EEPROM with its lock, the status registers and the clock.
#include "sim/Actuator.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "link/Commands.h"

namespace vantrel::sim {

using namespace link;

namespace {

// Reply status for a frame whose checksum is wrong and for an unknown command:
// neither 'Y', 'E' nor 'T', so the tool sees a bad result.
constexpr uint8_t kStatusBadFrame = 'C';
constexpr uint8_t kStatusUnknown = '?';

constexpr int kIdPageBytes = 256;
constexpr int kRegisterBase = 256;
constexpr int kEepromBytes = 512;
// Registers 0..5 hold the live position record: the actuator keeps it up to date as
// the valve moves, and it takes a new position whether or not the EEPROM is locked.
constexpr int kPositionRecordBytes = 6;

// Current settings (registers 42..67) and their default copy (85..110).
constexpr int kCurrentFirst = 42;
constexpr int kDefaultOffset = 43;
constexpr int kCopiedRegisters = 26;
constexpr uint8_t kCopyDefaultToCurrent = 209;
constexpr int kOpenLimit = 68;  // register of the 24-bit open limit
constexpr int kCloseTorque = 42;
constexpr int kOpenTorque = 43;
constexpr uint8_t kSimCloseTorque = 70;  // percent
constexpr uint8_t kSimOpenTorque = 80;
constexpr uint8_t kCopyCurrentToDefault = 212;

// Checksummed areas of the configuration page: first register, length, checksum register.
struct ChecksumArea {
    int first;
    int length;
    int checksum;
};
constexpr ChecksumArea kManufacture{6, 35, 41};
constexpr ChecksumArea kCurrent{42, 42, 84};
constexpr ChecksumArea kDefault{85, 26, 111};
constexpr int kIdChecksumFirst = 12;
constexpr int kIdChecksumLength = 243;
constexpr int kIdChecksumAddress = 255;

// Main software identity reported by READ_VERSION; byte 8 '1' marks a ZR2.
constexpr uint8_t kZr2Version[4] = {'R', '1', '0', '5'};
constexpr uint8_t kProVersion[4] = {'R', '3', '0', '2'};

// Clock: the counter the tool shifts right by 2, so 4 ticks a second (a ZR2 counts
// in 1/32768-second-based units, 32768/32000 of a second per unit).
constexpr uint32_t kDefaultClock = 0x4C3B2A10;
constexpr int64_t kProTicksPerSecond = 4;

int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

uint8_t areaChecksum(const std::array<uint8_t, 512>& eeprom, int first, int length) {
    unsigned sum = 1;
    for (int i = 0; i < length; ++i)
        sum += eeprom[first + i];
    return static_cast<uint8_t>(sum);
}

void putText(std::array<uint8_t, 512>& eeprom, int at, int length, const char* text) {
    const int n = std::min<int>(length, static_cast<int>(std::strlen(text)));
    std::memcpy(eeprom.data() + at, text, n);
    std::fill(eeprom.begin() + at + n, eeprom.begin() + at + length, ' ');
}

void fixChecksum(std::array<uint8_t, 512>& eeprom, const ChecksumArea& area) {
    eeprom[kRegisterBase + area.checksum] =
        areaChecksum(eeprom, kRegisterBase + area.first, area.length);
}

// A plausible, recognisable EEPROM: serial numbers and notes in the ID page, small
// settings values (so every drop-down list can show them) and correct checksums.
std::array<uint8_t, 512> initialEeprom() {
    std::array<uint8_t, 512> e{};
    // Position halfway between the home count 0x1A0000 and the open limit, 24 bits
    // least significant byte first (twice: the position record has two counts).
    const uint8_t position[6] = {0x10, 0x27, 0x1A, 0x10, 0x27, 0x1A};
    const uint8_t openLimit[3] = {0x20, 0x4E, 0x1A};
    std::copy(std::begin(position), std::end(position), e.begin());
    std::copy(std::begin(position), std::end(position), e.begin() + 6);
    putText(e, 12, 16, "SIM-MAIN-000101");
    putText(e, 28, 16, "SIM-LOCAL-00202");
    putText(e, 44, 16, "SIM-RESOLV-0303");
    putText(e, 60, 16, "SIM-POWER-00404");
    putText(e, 76, 16, "SIM-OPT1-000505");
    putText(e, 92, 16, "");
    putText(e, 108, 16, "");
    putText(e, 124, 16, "");
    putText(e, 140, 48, "Simulated actuator, serviced on the bench");
    putText(e, 188, 67, "Built by the simulator");
    e[kIdChecksumAddress] = areaChecksum(e, kIdChecksumFirst, kIdChecksumLength);
    std::copy(std::begin(position), std::end(position), e.begin() + kRegisterBase);
    for (int r = 6; r < 256; ++r)
        e[kRegisterBase + r] = static_cast<uint8_t>(r % 4);
    std::copy(std::begin(openLimit), std::end(openLimit), e.begin() + kRegisterBase + kOpenLimit);
    // Torque limits a real actuator would hold, so that the pages show them.
    e[kRegisterBase + kCloseTorque] = kSimCloseTorque;
    e[kRegisterBase + kOpenTorque] = kSimOpenTorque;
    for (int i = 0; i < kCopiedRegisters; ++i)
        e[kRegisterBase + kCurrentFirst + kDefaultOffset + i] =
            e[kRegisterBase + kCurrentFirst + i];
    fixChecksum(e, kManufacture);
    fixChecksum(e, kCurrent);
    fixChecksum(e, kDefault);
    return e;
}

}  // namespace

Actuator::Actuator(Options options)
    : options_(std::move(options)),
      eeprom_(initialEeprom()),
      clockBase_(kDefaultClock),
      clockSetAtMs_(steadyMs()) {
    resetDatalog();
    datalogCleared_ = false;
    for (int g = 0; g < static_cast<int>(kDatalogGroups.size()); ++g) {
        const auto [first, count] = kDatalogGroups[g];
        for (int n = first; n < first + count; ++n) {
            auto& block = datalog_[n];
            // "LOG" and the block number, then a pattern that differs from block to block.
            block[0] = 'L';
            block[1] = 'O';
            block[2] = 'G';
            block[3] = static_cast<uint8_t>(n);
            for (int i = 4; i < kRecordDataBytes; ++i)
                block[i] = static_cast<uint8_t>(n * 31 + i * 7 + g);
        }
    }
    resetOptionCard();
    for (int r = 54; r <= 60; ++r)
        partTurnRegisters_[r] = static_cast<uint8_t>(r - 50);
}

Actuator::Reply Actuator::accepted(uint8_t aux, uint8_t d1, uint8_t d2, uint8_t d3) {
    return Reply{kStatusAccepted, aux, {d1, d2, d3}};
}

std::vector<Output> Actuator::handle(const std::array<uint8_t, 11>& frame) {
    std::lock_guard lock(mutex_);
    log_.push_back(frame);
    auto& faults = options_.faults;
    const uint8_t command = frame[5];
    const uint8_t address = frame[6];

    std::vector<Output> out;
    uint8_t sum = 0;
    for (int i = 0; i < 10; ++i)
        sum = static_cast<uint8_t>(sum + frame[i]);
    const bool frameGood = sum == frame[10];

    const bool silent = frameGood && faults.silentCommand == command &&
                        (!faults.silentAddress || *faults.silentAddress == address) &&
                        faults.silentCount != 0;
    if (silent && faults.silentCount > 0) --faults.silentCount;
    if (!silent) {
        std::vector<Output> extra;
        Reply reply;
        auto refusal = std::find_if(faults.refusals.begin(), faults.refusals.end(),
                                    [&](const Faults::Refusal& r) {
                                        return r.command == command && r.count != 0 &&
                                               (!r.address || *r.address == address);
                                    });
        if (!frameGood) {
            reply = refused(kStatusBadFrame);
        } else if (refusal != faults.refusals.end()) {
            reply = refused(static_cast<uint8_t>(refusal->status));
            if (refusal->count > 0) --refusal->count;
        } else {
            reply = dispatch(frame, extra);
        }
        auto bytes = replyFrame(command, reply);
        if (frameGood && faults.badChecksumCommand == command) bytes[11] ^= 0x5A;
        out.push_back(Output{{bytes.begin(), bytes.end()}, 0, false});
        for (auto& o : extra)
            out.push_back(std::move(o));
    }

    ++framesAnswered_;
    if (faults.hangUpAfterFrames && framesAnswered_ >= *faults.hangUpAfterFrames) {
        faults.hangUpAfterFrames.reset();
        out.push_back(Output{{}, 0, true});
    }
    return out;
}

std::array<uint8_t, 12> Actuator::replyFrame(uint8_t command, const Reply& reply) const {
    std::array<uint8_t, 12> r{};
    std::copy(std::begin(kFrameHeader), std::end(kFrameHeader), r.begin());
    r[5] = reply.status;
    r[6] = command;
    r[7] = reply.aux;
    r[8] = reply.data[0];
    r[9] = reply.data[1];
    r[10] = reply.data[2];
    r[11] = frameChecksum(r.data());
    return r;
}

Actuator::Reply Actuator::dispatch(const std::array<uint8_t, 11>& frame,
                                   std::vector<Output>& extra) {
    const uint8_t command = frame[5];
    const uint8_t address = frame[6];
    const uint8_t* data = &frame[7];
    switch (command) {
        case READ_STATUS:
            return readStatus(address);
        case READ_VERSION: {
            const uint8_t* v = options_.generation == Generation::ZR2 ? kZr2Version : kProVersion;
            return accepted(v[0], v[1], v[2], v[3]);
        }
        case REQUEST_CONFIG_BLOCKS:
            return configBlocks(address, data[0], extra);
        case COPY_SETTINGS:
            return copySettings(address);
        case UNLOCK_EEPROM:
            locked_ = false;
            return accepted();
        case LOCK_EEPROM:
            locked_ = true;
            return accepted();
        case READ_CLOCK: {
            const uint32_t t = clockNow();
            return accepted(static_cast<uint8_t>(t), static_cast<uint8_t>(t >> 8),
                            static_cast<uint8_t>(t >> 16), static_cast<uint8_t>(t >> 24));
        }
        case REQUEST_DATALOG_BLOCKS:
            return datalogBlocks(address, data[0], extra);
        case RESET_DATALOGGER:
            resetDatalog();
            return accepted();
        case READ_OPTION_BYTE:
        case READ_OPTION_REGISTER:
        case WRITE_OPTION_BYTE:
        case READ_BUS_REGISTER:
        case WRITE_BUS_REGISTER:
        case COMMIT_BUS_SETTINGS:
        case READ_OPTION_TYPE:
        case OPTION_CONTROL:
            return optionCommand(command, address, data);
        case READ_PART_TURN:
        case READ_PART_TURN_TYPE:
            return partTurnCommand(command, address, data[0]);
        case WRITE_PART_TURN:
            return writePartTurn(address, data[0]);
        case READ_ID_BYTES: {
            auto at = [&](int i) { return i < kEepromBytes ? eeprom_[i] : uint8_t{0}; };
            return accepted(0, at(address), at(address + 1), at(address + 2));
        }
        case WRITE_ID_PAIR:
            return writeEeprom(address, data, std::min(2, kIdPageBytes - address));
        case WRITE_CONFIG_PAIR:
            return writeEeprom(kRegisterBase + address, data, 2);
        case READ_REGISTER:
            return readRegister(address);
        case WRITE_REGISTER:
            return writeEeprom(kRegisterBase + address, data, 3);
        case WRITE_REGISTER_BYTE:
            return writeEeprom(kRegisterBase + address, data, 1);
        default:
            return refused(kStatusUnknown);
    }
}

Actuator::Reply Actuator::readRegister(uint8_t address) const {
    uint8_t bytes[3];
    for (int i = 0; i < 3; ++i) {
        const int r = address + i;
        uint8_t value = r < 256 ? eeprom_[kRegisterBase + r] : 0;
        // Live values overlay the EEPROM at their addresses.
        if (r == kTorqueOffRegister) value = torqueOff_;
        if (r == kStallWordRegister) value = static_cast<uint8_t>(stallWord_);
        if (r == kStallWordRegister + 1) value = static_cast<uint8_t>(stallWord_ >> 8);
        if (r == kStatusWordRegister) value = static_cast<uint8_t>(statusWord_);
        if (r == kStatusWordRegister + 1) value = static_cast<uint8_t>(statusWord_ >> 8);
        bytes[i] = value;
    }
    return accepted(0, bytes[0], bytes[1], bytes[2]);
}

Actuator::Reply Actuator::writeEeprom(int imageAddress, const uint8_t* bytes, int count) {
    const bool positionOnly = imageAddress >= kRegisterBase &&
                              imageAddress + count <= kRegisterBase + kPositionRecordBytes;
    if (locked_ && !positionOnly && !options_.acceptWritesWhileLocked)
        return refused(kStatusEeprom);
    for (int i = 0; i < count && imageAddress + i < kEepromBytes; ++i)
        eeprom_[imageAddress + i] = bytes[i];
    return accepted();
}

Actuator::Reply Actuator::copySettings(uint8_t address) {
    const int current = kRegisterBase + kCurrentFirst;
    const int defaults = current + kDefaultOffset;
    if (address == kCopyDefaultToCurrent) {
        std::copy_n(eeprom_.begin() + defaults, kCopiedRegisters, eeprom_.begin() + current);
        fixChecksum(eeprom_, kCurrent);
    } else if (address == kCopyCurrentToDefault) {
        std::copy_n(eeprom_.begin() + current, kCopiedRegisters, eeprom_.begin() + defaults);
        fixChecksum(eeprom_, kDefault);
    } else {
        return refused(kStatusEeprom);
    }
    return accepted();
}

Actuator::Reply Actuator::readStatus(uint8_t address) const {
    if (address == kLocalStatusAddress)
        return accepted(0, 0, options_.notInLocal ? kNotInLocalBit : 0, 0);
    if (address == kInputStatusAddress) return accepted(0, inputByte_, 0, 0);
    return accepted();
}

uint32_t Actuator::clockNow() const {
    if (!options_.clockRuns) return clockBase_;
    const int64_t elapsedMs = steadyMs() - clockSetAtMs_;
    int64_t ticks = elapsedMs * kProTicksPerSecond / 1000;
    if (options_.generation == Generation::ZR2) ticks = ticks * 32768 / 32000;
    return static_cast<uint32_t>(clockBase_ + ticks);
}

std::vector<std::array<uint8_t, 11>> Actuator::frames() const {
    std::lock_guard lock(mutex_);
    return log_;
}

std::vector<uint8_t> Actuator::commands() const {
    std::lock_guard lock(mutex_);
    std::vector<uint8_t> codes;
    for (const auto& f : log_)
        codes.push_back(f[5]);
    return codes;
}

void Actuator::clearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

std::array<uint8_t, 512> Actuator::eeprom() const {
    std::lock_guard lock(mutex_);
    return eeprom_;
}

void Actuator::setEeprom(int address, uint8_t value) {
    std::lock_guard lock(mutex_);
    eeprom_.at(address) = value;
}

bool Actuator::locked() const {
    std::lock_guard lock(mutex_);
    return locked_;
}

void Actuator::configure(const std::function<void(Options&)>& change) {
    std::lock_guard lock(mutex_);
    change(options_);
}

bool Actuator::paced() const {
    std::lock_guard lock(mutex_);
    return options_.pace;
}

void Actuator::setClock(uint32_t ticks) {
    std::lock_guard lock(mutex_);
    clockBase_ = ticks;
    clockSetAtMs_ = steadyMs();
}

uint32_t Actuator::clock() const {
    std::lock_guard lock(mutex_);
    return clockNow();
}

void Actuator::setStatusWord(uint16_t value) {
    std::lock_guard lock(mutex_);
    statusWord_ = value;
}

void Actuator::setStallWord(uint16_t value) {
    std::lock_guard lock(mutex_);
    stallWord_ = value;
}

void Actuator::setTorqueOff(uint8_t value) {
    std::lock_guard lock(mutex_);
    torqueOff_ = value;
}

void Actuator::setInputByte(uint8_t value) {
    std::lock_guard lock(mutex_);
    inputByte_ = value;
}

}  // namespace vantrel::sim

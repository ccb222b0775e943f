// The option card (loop network, positioner, Modbus, Profibus, DeviceNet and the Mk2
// bus cards with or without a multiport unit) and the part-turn unit. A unit that is
// not fitted does not answer, which the actuator reports as 'T'.
#include <algorithm>

#include "link/Commands.h"
#include "sim/Actuator.h"

namespace vantrel::sim {

using namespace link;

namespace {

constexpr int kBusRegisters = 100;
constexpr uint8_t kBusKindRegister = 47;
// Byte 10 of every bus register reply: the card's software revision.
constexpr uint8_t kBusCardRevision = 0x21;

// On a Mk2 bus card, WRITE_OPTION_BYTE addresses the low byte of bus register
// address - 48 for the one-byte registers; a few two-byte registers have their own
// write addresses.
constexpr int kBusWriteOffset = 48;
constexpr int kFirstOneByteWrite = 49;
constexpr int kLastOneByteWrite = 69;
struct BusByteWrite {
    uint8_t address;
    uint8_t busRegister;
    bool highByte;
};
constexpr BusByteWrite kTwoByteWrites[] = {
    {96, 48, false}, {97, 49, true}, {98, 49, false}, {99, 51, false}};

// Writing this value to the analogue input register makes the card take a new reading.
constexpr uint8_t kAnalogueInputRegister = 19;
constexpr uint8_t kSampleAnalogueInput = 232;

// OPTION_CONTROL at address 0 with these three data bytes defaults all card settings.
constexpr uint8_t kDefaultAllCard[3] = {222, 192, 238};

// A multiport unit starts with four ports in use, spaced equally both ways; the
// positions of the ports beyond them hold 990 + their index.
constexpr int kPortCountRegister = 64;
constexpr int kActivePortsRegister = 65;
constexpr int kLocalControlRegister = 71;
constexpr int kClockwiseRegister = 80;
constexpr int kAntiClockRegister = 90;
constexpr uint16_t kPortPositions[10] = {0, 250, 500, 750, 994, 995, 996, 997, 998, 999};
constexpr uint16_t kPortsInUse = 4;
constexpr uint16_t kFirstFourPorts = 0x000F;

// Part-turn unit identity, after the 'Q' of READ_PART_TURN_TYPE.
constexpr uint8_t kPartTurnLetter = 'Q';
constexpr uint8_t kPartTurnIdentity[3] = {'2', '0', '4'};

}  // namespace

bool Actuator::isMk2BusCard() const {
    const auto& card = options_.card;
    return card.letter == 'M' &&
           (card.variant == '2' || card.variant == '3' || card.variant == 'P');
}

bool Actuator::hasBusCard() const {
    return isMk2BusCard() || options_.card.letter == 'K';
}

void Actuator::resetOptionCard() {
    // Small values, so each page's drop-down lists can show them.
    for (int r = 0; r < 256; ++r)
        optionRegisters_[r] = static_cast<uint8_t>(r % 5);
    for (int r = 0; r < kBusRegisters; ++r)
        busRegisters_[r] = static_cast<uint16_t>(r % 3);
    if (options_.card.letter == 'M' && options_.card.variant == 'P') {
        busRegisters_[kPortCountRegister] = kPortsInUse;
        busRegisters_[kActivePortsRegister] = kFirstFourPorts;
        busRegisters_[kLocalControlRegister] = 1;
        for (int port = 0; port < 10; ++port) {
            busRegisters_[kClockwiseRegister + port] = kPortPositions[port];
            busRegisters_[kAntiClockRegister + port] = kPortPositions[port];
        }
    }
}

Actuator::Reply Actuator::optionCommand(uint8_t command, uint8_t address, const uint8_t* data) {
    const auto& card = options_.card;
    if (card.letter == 0) return refused(kStatusOptionCard);
    auto option = [&](int r) { return r < 256 ? optionRegisters_[r] : uint8_t{0}; };
    switch (command) {
        case READ_OPTION_TYPE:
            return accepted(static_cast<uint8_t>(card.letter), static_cast<uint8_t>(card.variant),
                            card.identity[0], card.identity[1]);
        case READ_OPTION_BYTE:
            return accepted(0, option(address));
        case READ_OPTION_REGISTER:
            return accepted(0, option(address), option(address + 1), option(address + 2));
        case WRITE_OPTION_BYTE: {
            if (isMk2BusCard()) {
                if (address >= kFirstOneByteWrite && address <= kLastOneByteWrite) {
                    const int reg = address - kBusWriteOffset;
                    if (reg == kAnalogueInputRegister && data[0] == kSampleAnalogueInput)
                        busRegisters_[reg] = card.analogueReading;
                    else
                        busRegisters_[reg] =
                            static_cast<uint16_t>((busRegisters_[reg] & 0xFF00) | data[0]);
                    return accepted();
                }
                for (const auto& w : kTwoByteWrites) {
                    if (w.address != address) continue;
                    uint16_t& reg = busRegisters_[w.busRegister];
                    reg = w.highByte ? static_cast<uint16_t>((reg & 0x00FF) | (data[0] << 8))
                                     : static_cast<uint16_t>((reg & 0xFF00) | data[0]);
                    return accepted();
                }
            }
            optionRegisters_[address] = data[0];
            return accepted();
        }
        case READ_BUS_REGISTER: {
            if (!hasBusCard() || address >= kBusRegisters) return refused(kStatusOptionCard);
            // The card kind is fixed by the card fitted, whatever was written there.
            const uint16_t value =
                address == kBusKindRegister ? card.busKind : busRegisters_[address];
            return accepted(0, static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            kBusCardRevision);
        }
        case WRITE_BUS_REGISTER:
            if (!hasBusCard() || address >= kBusRegisters) return refused(kStatusOptionCard);
            busRegisters_[address] = static_cast<uint16_t>(data[0] | (data[1] << 8));
            return accepted();
        case COMMIT_BUS_SETTINGS:
            if (!hasBusCard()) return refused(kStatusOptionCard);
            ++busCommits_;
            return accepted();
        case OPTION_CONTROL:
            if (address == 0 && std::equal(data, data + 3, std::begin(kDefaultAllCard)))
                resetOptionCard();
            return accepted();
        default:
            return refused(kStatusOptionCard);
    }
}

Actuator::Reply Actuator::partTurnCommand(uint8_t command, uint8_t address, uint8_t) const {
    if (!options_.partTurn) return refused(kStatusOptionCard);
    if (command == READ_PART_TURN_TYPE)
        return accepted(kPartTurnLetter, kPartTurnIdentity[0], kPartTurnIdentity[1],
                        kPartTurnIdentity[2]);
    return accepted(0, partTurnRegisters_[address]);
}

Actuator::Reply Actuator::writePartTurn(uint8_t address, uint8_t value) {
    if (!options_.partTurn) return refused(kStatusOptionCard);
    partTurnRegisters_[address] = value;
    return accepted();
}

uint8_t Actuator::optionRegister(int address) const {
    std::lock_guard lock(mutex_);
    return optionRegisters_.at(address);
}

void Actuator::setOptionRegister(int address, uint8_t value) {
    std::lock_guard lock(mutex_);
    optionRegisters_.at(address) = value;
}

uint16_t Actuator::busRegister(int address) const {
    std::lock_guard lock(mutex_);
    return busRegisters_.at(address);
}

void Actuator::setBusRegister(int address, uint16_t value) {
    std::lock_guard lock(mutex_);
    busRegisters_.at(address) = value;
}

uint8_t Actuator::partTurnRegister(int address) const {
    std::lock_guard lock(mutex_);
    return partTurnRegisters_.at(address);
}

void Actuator::setPartTurnRegister(int address, uint8_t value) {
    std::lock_guard lock(mutex_);
    partTurnRegisters_.at(address) = value;
}

int Actuator::busCommits() const {
    std::lock_guard lock(mutex_);
    return busCommits_;
}

}  // namespace vantrel::sim

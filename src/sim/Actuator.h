#pragma once
// The simulated actuator: the far end of the link, faithful enough for every
// operation of the tool. It answers command frames, serves configuration and
// datalog records, keeps the EEPROM with its lock, option cards, the part-turn
// unit, status registers and the clock, logs every frame it receives, and can be
// told to misbehave in the ways a real link does.
#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::sim {

enum class Generation { ZR2, Pro };

// The option card fitted: its letter and variant as READ_OPTION_TYPE reports them
// ('P', 'F', 'M'/'1', 'N', 'K', 'M'/'2', 'M'/'3', 'M'/'P'; letter 0 for none) and,
// for Mk2 bus cards, the card kind of bus register 47 (1 Modbus, 2 Profibus,
// 3 Foundation Fieldbus).
struct OptionCard {
    char letter = 0;
    char variant = '1';
    uint8_t busKind = 1;
};

// Fault injection. Command-specific faults apply to frames with that command code
// (and address, when given); count limits how many frames they hit (-1: all).
struct Faults {
    struct Refusal {
        uint8_t command = 0;
        std::optional<uint8_t> address;
        char status = 'E';  // 'E', 'T' or any other byte
        int count = -1;
    };
    std::vector<Refusal> refusals;

    std::optional<uint8_t> badChecksumCommand;  // reply with a wrong checksum
    std::optional<uint8_t> silentCommand;       // no reply at all
    std::optional<int> hangUpAfterFrames;       // close the line after this many frames

    int noiseBeforeRecords = 0;  // bytes of noise sent before each record stream

    std::optional<int> badCrcConfigBlock;    // in the burst (0..3); re-requests are good
    std::optional<int> badCrcDatalogBlock;   // datalog block number with a wrong CRC
    std::vector<int> missingDatalogBlocks;   // datalog blocks never sent
    std::optional<std::pair<int, int>> renumberedDatalogBlock;  // {block, number sent}
    std::optional<int> slowDatalogBlock;     // sent more than 1000 ms late
    std::optional<int> hangUpAtDatalogBlock; // line closed before this block
    bool silentDatalog = false;              // accepts the request, sends no records
};

struct Options {
    Generation generation = Generation::Pro;
    OptionCard card;
    bool partTurn = false;
    bool notInLocal = false;
    bool pace = false;  // send at the 115200-baud wire rate (10 bits a byte)
    Faults faults;
};

// A piece of output: bytes to send after a pause, or the line closing.
struct Output {
    std::vector<uint8_t> bytes;
    int delayMs = 0;
    bool hangUp = false;
};

class Actuator {
public:
    explicit Actuator(Options options = {});

    // Handles one 11-byte command frame and returns what goes back on the line.
    std::vector<Output> handle(const std::array<uint8_t, 11>& frame);

    // Every frame received, in order (also frames with a bad header or checksum).
    std::vector<std::array<uint8_t, 11>> frames() const;
    void clearLog();

    // State, for tests and for setting up scenarios.
    std::array<uint8_t, 512> eeprom() const;
    void setEeprom(int address, uint8_t value);
    bool locked() const;
    Options& options() { return options_; }  // not thread-safe: set up before serving
    void setClock(uint32_t ticks);
    // The datalog block with this number (0..240) as stored, 128 bytes.
    std::array<uint8_t, 128> datalogBlock(int number) const;
    bool datalogCleared() const;

private:
    mutable std::mutex mutex_;
    Options options_;
    // Further state lives in Actuator.cpp.
};

}  // namespace vantrel::sim

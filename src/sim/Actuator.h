#pragma once
// The simulated actuator: the far end of the link, faithful enough for every
// operation of the tool. It answers command frames, serves configuration and
// datalog records, keeps the EEPROM with its lock, option cards, the part-turn
// unit, status registers and the clock, logs every frame it receives, and can be
// told to misbehave in the ways a real link does.
#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
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
    // The two identity bytes READ_OPTION_TYPE reports after letter and variant.
    uint8_t identity[2] = {'0', '7'};
    // What a Mk2 bus card reads on its analogue input when told to take a reading.
    uint16_t analogueReading = 0x0266;
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
    std::optional<uint8_t> silentAddress;       // only frames with this address, when given
    int silentCount = -1;                       // frames the silence hits (-1: all)
    std::optional<int> hangUpAfterFrames;       // close the line after answering this many
                                                // frames (fires once)

    int noiseBeforeRecords = 0;            // bytes of noise sent before each record stream
    int noiseBeforeEachDatalogRecord = 0;  // bytes of noise before every datalog record

    std::optional<int> badCrcConfigBlock;   // in the burst (0..3); re-requests are good
    std::optional<int> badCrcDatalogBlock;  // datalog block number with a wrong CRC
    std::vector<int> missingDatalogBlocks;  // datalog blocks never sent
    std::optional<std::pair<int, int>> renumberedDatalogBlock;  // {block, number sent}
    std::optional<int> slowDatalogBlock;                        // sent more than 1000 ms late
    std::optional<int> hangUpAtDatalogBlock;  // line closed before this block (fires once)
    bool silentDatalog = false;               // accepts the request, sends no records
};

struct Options {
    Generation generation = Generation::Pro;
    OptionCard card;
    bool partTurn = false;
    bool notInLocal = false;
    bool pace = false;  // send at the 115200-baud wire rate (10 bits a byte)
    // A locked EEPROM refuses writes with 'E' (the live position record, registers
    // 0..5, excepted); with this set it takes them anyway, as an EEPROM without a
    // working lock would.
    bool acceptWritesWhileLocked = false;
    // The clock counts in real time (4 ticks a second); otherwise it stands still
    // at the value last set, which keeps tests exact.
    bool clockRuns = false;
    Faults faults;
};

// A piece of output: bytes to send after a pause, or the line closing.
struct Output {
    std::vector<uint8_t> bytes;
    int delayMs = 0;
    bool hangUp = false;
};

// Pauses the simulator puts into its output.
inline constexpr int kRecordGapMs = 2;           // between the blocks of a ZR2 datalog stream
inline constexpr int kSlowRecordDelayMs = 1500;  // a slow record: beyond the 1000 ms limit

// The live registers that READ_REGISTER reports from the actuator's state rather
// than from the EEPROM bytes at the same address.
inline constexpr uint8_t kTorqueOffRegister = 4;
inline constexpr uint8_t kStallWordRegister = 93;
inline constexpr uint8_t kStatusWordRegister = 145;
// READ_STATUS addresses.
inline constexpr uint8_t kLocalStatusAddress = 116;
inline constexpr uint8_t kInputStatusAddress = 132;
inline constexpr uint8_t kNotInLocalBit = 0x04;  // reply byte 9 at address 116

// The datalogger: groups of (first block, number of blocks), 155 blocks in all.
inline constexpr std::array<std::pair<int, int>, 5> kDatalogGroups = {
    {{0, 129}, {192, 8}, {208, 16}, {224, 1}, {240, 1}}};
inline constexpr int kDatalogBlockNumbers = 241;  // block numbers 0..240

class Actuator {
public:
    explicit Actuator(Options options = {});

    // Handles one 11-byte command frame and returns what goes back on the line.
    std::vector<Output> handle(const std::array<uint8_t, 11>& frame);

    // Every frame received, in order (also frames with a bad checksum).
    std::vector<std::array<uint8_t, 11>> frames() const;
    void clearLog();
    // The command codes of the frames received, in order: a compact view for tests.
    std::vector<uint8_t> commands() const;

    // State, for tests and for setting up scenarios.
    std::array<uint8_t, 512> eeprom() const;
    void setEeprom(int address, uint8_t value);
    bool locked() const;
    Options& options() { return options_; }  // not thread-safe: set up before serving
    // Changes the options while the simulator is serving (between operations).
    void configure(const std::function<void(Options&)>& change);
    // Whether output is paced at the wire rate (read by the server thread).
    bool paced() const;
    void setClock(uint32_t ticks);
    uint32_t clock() const;
    // The datalog block with this number (0..240) as stored, 128 bytes.
    std::array<uint8_t, 128> datalogBlock(int number) const;
    bool datalogCleared() const;

    // Live state shown by the diagnostics registers.
    void setStatusWord(uint16_t value);
    void setStallWord(uint16_t value);
    void setTorqueOff(uint8_t value);
    void setInputByte(uint8_t value);

    // Option card, bus card and part-turn registers.
    uint8_t optionRegister(int address) const;
    void setOptionRegister(int address, uint8_t value);
    uint16_t busRegister(int address) const;
    void setBusRegister(int address, uint16_t value);
    uint8_t partTurnRegister(int address) const;
    void setPartTurnRegister(int address, uint8_t value);
    int busCommits() const;

private:
    struct Reply {
        uint8_t status = 'Y';
        uint8_t aux = 0;
        uint8_t data[3] = {0, 0, 0};
    };
    static Reply accepted(uint8_t aux = 0, uint8_t d1 = 0, uint8_t d2 = 0, uint8_t d3 = 0);
    static Reply refused(uint8_t status) { return Reply{status, 0, {0, 0, 0}}; }

    // Command handlers; records (config and datalog streams) go into extra.
    Reply dispatch(const std::array<uint8_t, 11>& frame, std::vector<Output>& extra);
    Reply readRegister(uint8_t address) const;
    Reply writeEeprom(int imageAddress, const uint8_t* bytes, int count);
    Reply copySettings(uint8_t address);
    Reply readStatus(uint8_t address) const;
    Reply optionCommand(uint8_t command, uint8_t address, const uint8_t* data);
    Reply partTurnCommand(uint8_t command, uint8_t address, uint8_t value) const;
    Reply writePartTurn(uint8_t address, uint8_t value);
    Reply configBlocks(uint8_t first, uint8_t countLess1, std::vector<Output>& extra);
    Reply datalogBlocks(uint8_t first, uint8_t countLess1, std::vector<Output>& extra);
    void resetDatalog();
    void resetOptionCard();

    std::vector<uint8_t> configRecord(int block, bool corruptCrc) const;
    std::vector<uint8_t> datalogRecord(int block, int numberSent, bool corruptCrc) const;
    std::vector<uint8_t> noise() const;  // the noise before a record stream
    std::vector<uint8_t> noise(int count) const;
    std::array<uint8_t, 12> replyFrame(uint8_t command, const Reply& reply) const;

    bool hasBusCard() const;
    bool isMk2BusCard() const;
    uint32_t clockNow() const;

    mutable std::mutex mutex_;
    Options options_;
    std::vector<std::array<uint8_t, 11>> log_;
    int framesAnswered_ = 0;

    std::array<uint8_t, 512> eeprom_{};
    bool locked_ = true;

    uint32_t clockBase_ = 0;
    int64_t clockSetAtMs_ = 0;  // steady-clock time of the last setClock

    std::vector<std::array<uint8_t, 128>> datalog_;
    bool datalogCleared_ = false;

    uint16_t statusWord_ = 0;
    uint16_t stallWord_ = 0;
    uint8_t torqueOff_ = 0;
    uint8_t inputByte_ = 0x18;  // both interlock inputs healthy

    std::array<uint8_t, 256> optionRegisters_{};
    std::array<uint16_t, 100> busRegisters_{};
    std::array<uint8_t, 256> partTurnRegisters_{};
    int busCommits_ = 0;
};

}  // namespace vantrel::sim

#pragma once
// What a datalogger file holds, read back for a person: the header's clocks, name
// and date, the identification record decoded by the pages that own its bytes, and
// the health of every slot. The command line prints it; a report can embed it.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "datalog/DatalogData.h"

namespace vantrel::datalog {

enum class SlotHealth { Intact, CrcWrong, WrongNumber, Empty };

// One setting the record carries, as its page shows it.
struct CarriedSetting {
    std::string page;
    std::string name;
    std::string value;  // the control's text; "?" when it shows nothing for the value
    uint32_t raw = 0;   // the value of the setting's own bits
};

// A carried configuration byte that no page shows.
struct CarriedByte {
    int address;
    uint8_t value;
};

struct SlotSummary {
    int block = 0;     // the block the slot is for
    int received = 0;  // the block number it holds
    SlotHealth health = SlotHealth::Empty;
};

struct DatalogSummary {
    std::string clockDifference;  // signed decimal, as the file keeps it
    bool actuatorAhead = false;   // the actuator's clock was ahead of the tool's
    std::string actuatorClock;    // decimal
    std::string fileName;         // UTF-8, as the file names itself
    std::string dateTime;         // UTF-8, the extraction's date and time
    std::array<uint8_t, kVersionBytes> version{};
    std::string versionText;  // the version bytes as text, or in hexadecimal
    bool zr2 = false;         // the generation; Pro otherwise
    std::vector<CarriedSetting> settings;
    std::vector<CarriedByte> otherBytes;
    std::array<SlotSummary, kSlotCount> slots{};

    int count(SlotHealth health) const;
    bool allIntact() const { return count(SlotHealth::Intact) == kSlotCount; }
    // One character a slot, in slot order: see healthMark.
    std::string blockMap() const;
    // The blocks whose slots are not intact, ascending.
    std::vector<int> blocksNotIntact() const;
};

// The block map's character for a health: '.', 'C', 'N' or '-'.
char healthMark(SlotHealth health);
// "intact", "CRC wrong", "wrong block number", "empty".
const char* healthName(SlotHealth health);

// Reads a datalogger file's bytes. Nothing when they are not one (wrong size, or a
// fixed mark of the layout missing); problem then says what is wrong.
std::optional<DatalogSummary> summarize(std::span<const uint8_t> file, std::string& problem);

}  // namespace vantrel::datalog

#pragma once
// Command codes of the 11-byte command frame, by name.
#include <cstdint>

namespace vantrel::link {

enum Command : uint8_t {
    READ_STATUS = 0x01,
    READ_VERSION = 0x0B,
    REQUEST_CONFIG_BLOCKS = 0x0C,
    COPY_SETTINGS = 0x0D,
    UNLOCK_EEPROM = 0x10,
    LOCK_EEPROM = 0x11,
    READ_CLOCK = 0x20,
    REQUEST_DATALOG_BLOCKS = 0x2A,
    RESET_DATALOGGER = 0x2B,
    READ_OPTION_BYTE = 0x31,
    READ_OPTION_REGISTER = 0x32,
    WRITE_OPTION_BYTE = 0x33,
    READ_BUS_REGISTER = 0x37,
    WRITE_BUS_REGISTER = 0x38,
    COMMIT_BUS_SETTINGS = 0x39,
    READ_OPTION_TYPE = 0x3B,
    OPTION_CONTROL = 0x3D,
    READ_PART_TURN = 0x51,
    WRITE_PART_TURN = 0x53,
    READ_PART_TURN_TYPE = 0x5B,
    READ_ID_BYTES = 0x70,
    WRITE_ID_PAIR = 0x80,
    WRITE_CONFIG_PAIR = 0x81,
    READ_REGISTER = 0xA0,
    WRITE_REGISTER = 0xB0,
    WRITE_REGISTER_BYTE = 0xC0,
};

// Frame layout shared by the tool and the simulated actuator.
inline constexpr uint8_t kFrameHeader[5] = {'H', 'H', 'C', '0', '2'};
inline constexpr int kCommandFrameBytes = 11;  // on the wire: header, cmd, addr, 3 args, sum
inline constexpr int kReplyFrameBytes = 12;
inline constexpr int kRecordBytes = 136;  // lead-in + 4 + number + 128 data + CRC
inline constexpr int kRecordDataBytes = 128;
inline constexpr int kBurstRecords = 4;
inline constexpr int kBurstBytes = kBurstRecords * kRecordBytes;  // 544

// Reply status byte (buffer byte 5).
inline constexpr uint8_t kStatusAccepted = 'Y';
inline constexpr uint8_t kStatusEeprom = 'E';
inline constexpr uint8_t kStatusOptionCard = 'T';

// Lead-in bytes of the two record kinds.
inline constexpr uint8_t kConfigLeadIn = 'E';
inline constexpr uint8_t kDatalogLeadIn = 'B';
// A datalog record's whole marker, lead-in included: noise cannot pass for it.
inline constexpr uint8_t kDatalogMarker[5] = {'B', 'L', 'O', 'C', 'K'};

// The command's name as written above, or null for a code that is none of them.
const char* commandName(uint8_t command);

// Sum of bytes 1..10 of a 12-byte buffer, modulo 256: the frame checksum both ways.
uint8_t frameChecksum(const uint8_t* buffer);

}  // namespace vantrel::link

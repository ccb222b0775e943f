#pragma once
// The process-wide copy of the actuator's settings: the 512-byte EEPROM image
// (lower half identification and notes, upper half the configuration registers),
// the option card, part-turn and software identity areas, the option card type
// and the option flags.
#include <array>
#include <bitset>
#include <cstdint>
#include <string_view>

namespace vantrel::image {

inline constexpr int kEepromBytes = 512;
inline constexpr int kConfigBase = 256;  // register r is image byte 256 + r
inline constexpr int kImageBytes = 777;  // EEPROM image plus the option areas

// An area of the image: its image-file key (without the tab), offset and length.
struct Area {
    std::string_view key;
    int offset;
    int length;
};

namespace area {
inline constexpr Area CUR_SLEEP{"CUR_SLEEP", 0, 6};
inline constexpr Area BACKUP_SLEEP{"BACKUP_SLEEP", 6, 6};
inline constexpr Area ID_MAIN{"ID_MAIN", 12, 16};
inline constexpr Area ID_LOCAL{"ID_LOCAL", 28, 16};
inline constexpr Area ID_RESOLVE{"ID_RESOLVE", 44, 16};
inline constexpr Area ID_POWER{"ID_POWER", 60, 16};
inline constexpr Area ID_OPTION1{"ID_OPTION1", 76, 16};
inline constexpr Area ID_OPTION2{"ID_OPTION2", 92, 16};
inline constexpr Area ID_OPTION3{"ID_OPTION3", 108, 16};
inline constexpr Area ID_OPTION4{"ID_OPTION4", 124, 16};
inline constexpr Area ID_MANU{"ID_MANU", 140, 48};
inline constexpr Area NOTES{"NOTES", 188, 67};
inline constexpr Area ID_CSUM{"ID_CSUM", 255, 1};
inline constexpr Area OLD_SLEEP{"OLD_SLEEP", 256, 6};
inline constexpr Area MANU_CFIG{"MANU_CFIG", 262, 35};
inline constexpr Area MANU_CSUM{"MANU_CSUM", 297, 1};
inline constexpr Area CUST_CFIG{"CUST_CFIG", 298, 42};
inline constexpr Area CUST_CSUM{"CUST_CSUM", 340, 1};
inline constexpr Area DEF_CFIG{"DEF_CFIG", 341, 26};
inline constexpr Area DEF_CSUM{"DEF_CSUM", 367, 1};
inline constexpr Area UNUSED1{"UNUSED1", 368, 80};
inline constexpr Area UNUSED2{"UNUSED2", 448, 64};

// MK2BUS_3 holds 106 bytes when read, 105 when saved, 178 with a multiport unit.
inline constexpr Area MK2BUS_3{"MK2BUS_3", 512, 178};
inline constexpr Area VEXLINK_DIG_3{"VEXLINK_DIG_3", 690, 15};
inline constexpr Area DEVICENET_3{"DEVICENET_3", 705, 24};
inline constexpr Area MODBUS_3{"MODBUS_3", 726, 10};
inline constexpr Area PROFIBUS_3{"PROFIBUS_3", 736, 12};  // 12 read, 10 saved
inline constexpr Area TRACKLIN_3{"TRACKLIN_3", 748, 6};
inline constexpr Area ZRT_5{"ZRT_5", 758, 11};
inline constexpr Area OPT_SW_3{"OPT_SW_3", 769, 4};
inline constexpr Area MAIN_SW{"MAIN_SW", 773, 4};

// The 22 areas of the EEPROM image, in image order.
inline constexpr std::array<Area, 22> kEepromAreas = {
    CUR_SLEEP,  BACKUP_SLEEP, ID_MAIN,  ID_LOCAL, ID_RESOLVE, ID_POWER,  ID_OPTION1, ID_OPTION2,
    ID_OPTION3, ID_OPTION4,   ID_MANU,  NOTES,    ID_CSUM,    OLD_SLEEP, MANU_CFIG,  MANU_CSUM,
    CUST_CFIG,  CUST_CSUM,    DEF_CFIG, DEF_CSUM, UNUSED1,    UNUSED2};
}  // namespace area

inline constexpr int kMk2BusSavedBytes = 105;
inline constexpr int kMk2BusReadBytes = 106;
inline constexpr int kMultiportBusBytes = 178;
inline constexpr int kProfibusSavedBytes = 10;

// Option card type: one value at a time.
enum OptionType : uint8_t {
    kNoOption = 0,
    kLoopNetwork = 1,    // letter 'P'
    kPositioner = 2,     // letter 'F'
    kModbus = 4,         // letter 'M', variant '1'
    kProfibus = 8,       // letter 'N'
    kModbusMk2 = 16,     // letter 'M', variant '2', '3' or 'P', bus card kind 1
    kProfibusMk2 = 32,   // bus card kind 2
    kDeviceNet = 64,     // letter 'K'
    kFieldbusMk2 = 128,  // bus card kind 3
};

// Option flags.
inline constexpr uint8_t kPartTurnFlag = 0x01;   // a part-turn unit answered
inline constexpr uint8_t kMultiportFlag = 0x02;  // multiport valve unit with a Mk2 bus card

struct ConfigImage {
    std::array<uint8_t, kImageBytes> bytes{};
    uint8_t optionType = kNoOption;
    uint8_t optionFlags = 0;
    char hex[2] = {'0', '0'};  // scratch area written by byteToHex
    // Bytes that the image file last loaded did not carry (an area it lacks, a value
    // cut short); they keep whatever they held before, are shown by no page, sent in
    // no frame and saved in no file. An extract fills whole areas and clears them.
    std::bitset<kImageBytes> missing;

    uint8_t* at(const Area& area) { return bytes.data() + area.offset; }
    const uint8_t* at(const Area& area) const { return bytes.data() + area.offset; }
    // The configuration byte at register address r (0..255).
    uint8_t& reg(int r) { return bytes[kConfigBase + r]; }
    uint8_t reg(int r) const { return bytes[kConfigBase + r]; }
    // Whether every byte of offset .. offset + count - 1 is in the image and held.
    bool holds(int offset, int count = 1) const;
    bool isMk2Bus() const {
        return optionType == kModbusMk2 || optionType == kProfibusMk2 || optionType == kFieldbusMk2;
    }
};

// The option card type of a Mk2 bus card kind (1 Modbus, 2 Profibus, 3 Foundation
// Fieldbus); kNoOption for any other kind.
uint8_t optionTypeOfBusKind(uint8_t kind);

// 1 plus the sum of the bytes, modulo 256.
uint8_t imageChecksum(const uint8_t* start, int length);
// 1 when the bytes hold an odd number of one bits, else 0.
int oddBitCount(const uint8_t* bytes, int count);
// Writes the byte as two upper-case hexadecimal digits into image.hex; returns 1.
int byteToHex(ConfigImage& image, uint8_t byte);
// Two hexadecimal digits (either case) to a byte; other characters give
// meaningless values and are not rejected.
uint8_t hexToByte(const char* twoCharacters);

}  // namespace vantrel::image

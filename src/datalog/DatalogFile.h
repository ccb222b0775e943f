#pragma once
// The datalogger file (.dfg): a 132-byte header (clock difference, actuator clock,
// file name, date and time, identification record) and the 155 slots, 20592
// bytes in all. The tool only writes these files.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "datalog/DatalogData.h"

namespace vantrel::datalog {

inline constexpr int kHeaderBytes = 132;
inline constexpr int kFileBytes = kHeaderBytes + kSlotCount * kSlotBytes;  // 20592
inline constexpr int kNumberFieldWidth = 12;
inline constexpr int kDateTimeFieldWidth = 24;

// Where the header's parts start; a field separator follows each of the first three.
inline constexpr int kClockDifferenceAt = 0;
inline constexpr int kActuatorClockAt = kClockDifferenceAt + kNumberFieldWidth + 1;
inline constexpr int kFileNameAt = kActuatorClockAt + kNumberFieldWidth + 1;
inline constexpr int kDateTimeAt = kFileNameAt + kNumberFieldWidth + 1;
inline constexpr int kIdentificationAt = kDateTimeAt + kDateTimeFieldWidth;
inline constexpr int kHeaderPaddingAt = kIdentificationAt + kIdentificationBytes;
inline constexpr int kHeaderPadding = 40;  // spaces up to the end marks
inline constexpr int kEndOfTextAt = kHeaderPaddingAt + kHeaderPadding;
inline constexpr uint8_t kEndOfText = 0x1A;
static_assert(kEndOfTextAt + 2 == kHeaderBytes);  // end of text, carriage return

// The low 32 bits of the difference as a signed decimal, right-aligned in 12
// characters behind '0' (or 'f' when the actuator clock was ahead).
std::string clockDifferenceField(uint64_t difference, bool negative);
// The actuator clock in decimal, right-aligned in 12 characters behind '0'.
std::string actuatorClockField(uint32_t clock);
// The file's name without folder, cut at its first '.' and at 12 characters,
// right-aligned behind spaces, in the 8-bit code page.
std::string fileNameField(std::string_view path);
// The date and time text in the 8-bit code page, cut at 24 characters, padded with spaces.
std::string dateTimeField(std::string_view dateTime);

// Text that may be UTF-8 (file names, localised dates) as ISO-8859-1: one byte a
// character, '?' for characters beyond it. Bytes that are not valid UTF-8 are kept.
std::string toLatin1(std::string_view text);

// 8-bit text of the code page (ISO-8859-1) as UTF-8.
std::string fromLatin1(std::string_view text);

// The whole file for this record, written under this path.
std::vector<uint8_t> datalogFileBytes(const DatalogRecord& record, std::string_view path);

// Writes the file beside the target under a temporary name and renames it into
// place, so a failed save leaves an existing file whole. False when it could not
// be created or written.
bool writeDatalogFile(const std::string& path, const DatalogRecord& record);

}  // namespace vantrel::datalog

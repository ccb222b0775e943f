#pragma once
// The parser of one Pro burst: the records of a whole group, as they arrived, are
// searched for their "BLOCK" markers and copied into the group's slots with their
// CRC checked. It never looks beyond the bytes that arrived and never writes
// outside the group's slots and error flags.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "datalog/DatalogData.h"

namespace vantrel::datalog {

inline constexpr const char* kBlockNumberWrong = "Block number wrong";
inline constexpr const char* kCrcWrong = "CRC wrong";

// Shows a message box; the parser calls it for "Block number wrong" and "CRC wrong".
using ShowMessage = std::function<void(const std::string&)>;

// Parses the received bytes of group g of the group table into record.slots and
// record.blockErrors, one expected block after the other:
// - a record whose number is higher than expected but inside the group skips the
//   blocks in between: they are flagged and their slots stay empty;
// - a record with any other unexpected number (lower, or beyond the group) takes
//   the expected block's slot as received, and the expected block is flagged,
//   since its own record did not arrive there;
// - a record whose CRC does not match stays in its slot, flagged;
// - when no further complete record is found, the rest of the group is flagged
//   and its slots stay empty.
void parseBurst(const uint8_t* received, size_t size, size_t g, DatalogRecord& record,
                const ShowMessage& show);

}  // namespace vantrel::datalog

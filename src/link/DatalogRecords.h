#pragma once
// Finding datalog records in the bytes of a burst. Noise may come before any record,
// so a record is wherever its marker is: the marker "BLOCK" and the 131 bytes after
// it. The search for the next record starts at the record's last byte. The receiver
// counts records by this rule while it reads and the burst parser takes them by it,
// so both agree on what a burst holds.
#include <cstddef>
#include <cstdint>

#include "link/Commands.h"

namespace vantrel::link {

inline constexpr size_t kNoRecord = static_cast<size_t>(-1);
// Where the search for the next record starts, from the start of the one found.
inline constexpr size_t kNextRecordSearch = kRecordBytes - 1;

// The position of the first marker at or after from whose whole record lies within
// the size bytes; kNoRecord when there is none.
size_t findDatalogRecord(const uint8_t* bytes, size_t size, size_t from);

// Counts the whole records of a burst while its bytes arrive: each call looks at the
// bytes stored so far (those looked at before are unchanged) and goes on from where
// the previous call stopped.
class DatalogRecordCount {
public:
    // Looks at the size bytes stored; returns the whole records found, at most limit.
    int update(const uint8_t* bytes, size_t size, int limit);
    // The fewest further bytes that could bring the whole records to wanted.
    size_t shortOf(int wanted, size_t size) const;

private:
    size_t next_ = 0;  // the earliest position the next record can start at
    int whole_ = 0;
};

}  // namespace vantrel::link

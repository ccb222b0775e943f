#include "link/DatalogRecords.h"

#include <algorithm>
#include <iterator>

namespace vantrel::link {

size_t findDatalogRecord(const uint8_t* bytes, size_t size, size_t from) {
    if (size < kRecordBytes || from > size - kRecordBytes) return kNoRecord;
    // A marker is looked for only where its whole record fits.
    const uint8_t* end = bytes + (size - kRecordBytes) + sizeof kDatalogMarker;
    const uint8_t* found =
        std::search(bytes + from, end, std::begin(kDatalogMarker), std::end(kDatalogMarker));
    return found == end ? kNoRecord : static_cast<size_t>(found - bytes);
}

int DatalogRecordCount::update(const uint8_t* bytes, size_t size, int limit) {
    while (whole_ < limit) {
        const size_t found = findDatalogRecord(bytes, size, next_);
        if (found == kNoRecord) {
            // No record starts before here, or its whole record would have been found.
            if (size >= kRecordBytes) next_ = std::max(next_, size - kRecordBytes + 1);
            break;
        }
        ++whole_;
        next_ = found + kNextRecordSearch;
    }
    return whole_;
}

size_t DatalogRecordCount::shortOf(int wanted, size_t size) const {
    if (whole_ >= wanted) return 0;
    // The next record takes kRecordBytes from next_, each further one at least
    // kNextRecordSearch more.
    const size_t end = next_ + kRecordBytes + (wanted - whole_ - 1) * kNextRecordSearch;
    return end > size ? end - size : 1;
}

}  // namespace vantrel::link

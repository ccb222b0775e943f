// Feeds arbitrary bytes to the Pro burst parser as the received data of one group
// (the first input byte picks the group) and checks that it stays inside that
// group's slots and error flags and leaves every slot ending in a line end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "datalog/BurstParser.h"

using namespace vantrel::datalog;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t g = data[0] % kGroups.size();
    const DatalogGroup group = kGroups[g];
    const int base = groupSlotBase(g);

    DatalogRecord record;
    int messages = 0;
    parseBurst(data + 1, size - 1, g, record, [&messages](const std::string&) { ++messages; });

    for (int s = 0; s < kSlotCount; ++s) {
        const bool inGroup = s >= base && s < base + group.count;
        if (!inGroup && record.slots[s] != emptySlot()) std::abort();
        if (record.slots[s][kSlotEnd] != kCarriageReturn) std::abort();
    }
    for (int n = 0; n < kBlockNumbers; ++n)
        if (record.blockErrors[n] && (n < group.first || n >= group.end())) std::abort();
    // Each expected block raises at most a number message and a CRC message.
    if (messages > 2 * group.count) std::abort();
    return 0;
}

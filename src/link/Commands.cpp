#include "link/Commands.h"

namespace vantrel::link {

uint8_t frameChecksum(const uint8_t* buffer) {
    uint8_t sum = 0;
    for (int i = 1; i <= 10; ++i)
        sum = static_cast<uint8_t>(sum + buffer[i]);
    return sum;
}

}  // namespace vantrel::link

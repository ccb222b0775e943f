#include "link/Commands.h"

namespace vantrel::link {

const char* commandName(uint8_t command) {
    switch (command) {
        case READ_STATUS:
            return "READ_STATUS";
        case READ_VERSION:
            return "READ_VERSION";
        case REQUEST_CONFIG_BLOCKS:
            return "REQUEST_CONFIG_BLOCKS";
        case COPY_SETTINGS:
            return "COPY_SETTINGS";
        case UNLOCK_EEPROM:
            return "UNLOCK_EEPROM";
        case LOCK_EEPROM:
            return "LOCK_EEPROM";
        case READ_CLOCK:
            return "READ_CLOCK";
        case REQUEST_DATALOG_BLOCKS:
            return "REQUEST_DATALOG_BLOCKS";
        case RESET_DATALOGGER:
            return "RESET_DATALOGGER";
        case READ_OPTION_BYTE:
            return "READ_OPTION_BYTE";
        case READ_OPTION_REGISTER:
            return "READ_OPTION_REGISTER";
        case WRITE_OPTION_BYTE:
            return "WRITE_OPTION_BYTE";
        case READ_BUS_REGISTER:
            return "READ_BUS_REGISTER";
        case WRITE_BUS_REGISTER:
            return "WRITE_BUS_REGISTER";
        case COMMIT_BUS_SETTINGS:
            return "COMMIT_BUS_SETTINGS";
        case READ_OPTION_TYPE:
            return "READ_OPTION_TYPE";
        case OPTION_CONTROL:
            return "OPTION_CONTROL";
        case READ_PART_TURN:
            return "READ_PART_TURN";
        case WRITE_PART_TURN:
            return "WRITE_PART_TURN";
        case READ_PART_TURN_TYPE:
            return "READ_PART_TURN_TYPE";
        case READ_ID_BYTES:
            return "READ_ID_BYTES";
        case WRITE_ID_PAIR:
            return "WRITE_ID_PAIR";
        case WRITE_CONFIG_PAIR:
            return "WRITE_CONFIG_PAIR";
        case READ_REGISTER:
            return "READ_REGISTER";
        case WRITE_REGISTER:
            return "WRITE_REGISTER";
        case WRITE_REGISTER_BYTE:
            return "WRITE_REGISTER_BYTE";
    }
    return nullptr;
}

uint8_t frameChecksum(const uint8_t* buffer) {
    uint8_t sum = 0;
    for (int i = 1; i <= 10; ++i)
        sum = static_cast<uint8_t>(sum + buffer[i]);
    return sum;
}

}  // namespace vantrel::link

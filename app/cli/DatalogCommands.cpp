// Datalogger commands (datalog extract, datalog reset): the table is filled in with
// the datalogger extraction.
#include "Command.h"

namespace vantrel::cli {

std::span<const Command> datalogCommands() {
    return {};
}

}  // namespace vantrel::cli

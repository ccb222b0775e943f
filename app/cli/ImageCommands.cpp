// Image commands (extract, update, password): the table is filled in with the
// whole-image transfer.
#include "Command.h"

namespace vantrel::cli {

std::span<const Command> imageCommands() {
    return {};
}

}  // namespace vantrel::cli

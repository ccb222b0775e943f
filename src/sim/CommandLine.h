#pragma once
// The command line of vantrel-sim: generation, option card, part-turn unit, local
// switch, pacing and faults, turned into simulator Options.
#include <optional>
#include <string>
#include <vector>

#include "sim/Actuator.h"

namespace vantrel::sim {

struct CommandLine {
    Options options;
    bool verbose = false;
    bool help = false;
};

// Parses the arguments (without the program name). On a mistake returns nothing
// and puts a sentence naming it into error.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

// The text printed by --help.
std::string usageText();

// A command code given by name (READ_REGISTER), in hexadecimal (0xA0) or decimal.
std::optional<uint8_t> parseCommandCode(const std::string& text);

}  // namespace vantrel::sim

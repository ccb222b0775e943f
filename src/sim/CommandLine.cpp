#include "sim/CommandLine.h"

#include <charconv>
#include <map>

#include "link/Commands.h"

namespace vantrel::sim {

namespace {

using namespace link;

// Noise between records beyond this would only fill the tool's receive buffer.
constexpr int kMaxNoiseEachRecord = 255;

const std::map<std::string, uint8_t>& commandNames() {
    static const std::map<std::string, uint8_t> names = {
        {"READ_STATUS", READ_STATUS},
        {"READ_VERSION", READ_VERSION},
        {"REQUEST_CONFIG_BLOCKS", REQUEST_CONFIG_BLOCKS},
        {"COPY_SETTINGS", COPY_SETTINGS},
        {"UNLOCK_EEPROM", UNLOCK_EEPROM},
        {"LOCK_EEPROM", LOCK_EEPROM},
        {"READ_CLOCK", READ_CLOCK},
        {"REQUEST_DATALOG_BLOCKS", REQUEST_DATALOG_BLOCKS},
        {"RESET_DATALOGGER", RESET_DATALOGGER},
        {"READ_OPTION_BYTE", READ_OPTION_BYTE},
        {"READ_OPTION_REGISTER", READ_OPTION_REGISTER},
        {"WRITE_OPTION_BYTE", WRITE_OPTION_BYTE},
        {"READ_BUS_REGISTER", READ_BUS_REGISTER},
        {"WRITE_BUS_REGISTER", WRITE_BUS_REGISTER},
        {"COMMIT_BUS_SETTINGS", COMMIT_BUS_SETTINGS},
        {"READ_OPTION_TYPE", READ_OPTION_TYPE},
        {"OPTION_CONTROL", OPTION_CONTROL},
        {"READ_PART_TURN", READ_PART_TURN},
        {"WRITE_PART_TURN", WRITE_PART_TURN},
        {"READ_PART_TURN_TYPE", READ_PART_TURN_TYPE},
        {"READ_ID_BYTES", READ_ID_BYTES},
        {"WRITE_ID_PAIR", WRITE_ID_PAIR},
        {"WRITE_CONFIG_PAIR", WRITE_CONFIG_PAIR},
        {"READ_REGISTER", READ_REGISTER},
        {"WRITE_REGISTER", WRITE_REGISTER},
        {"WRITE_REGISTER_BYTE", WRITE_REGISTER_BYTE},
    };
    return names;
}

std::optional<int> parseInt(const std::string& text, int low, int high) {
    int base = 10;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        begin += 2;
    }
    int value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value, base);
    if (ec != std::errc() || ptr != end || begin == end || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<std::vector<int>> parseList(const std::string& text, int low, int high) {
    std::vector<int> values;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        const auto value = parseInt(text.substr(start, comma - start), low, high);
        if (!value) return std::nullopt;
        values.push_back(*value);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return values;
}

bool parseCard(const std::string& text, OptionCard& card) {
    if (text == "none") {
        card.letter = 0;
    } else if (text == "P" || text == "F" || text == "N" || text == "K") {
        card.letter = text[0];
    } else if (text == "M1" || text == "M2" || text == "M3" || text == "MP") {
        card.letter = 'M';
        card.variant = text[1];
    } else {
        return false;
    }
    return true;
}

// --refuse CMD[:ADDR]=STATUS
bool parseRefusal(const std::string& text, Faults::Refusal& refusal) {
    const size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals + 2 != text.size()) return false;
    refusal.status = text[equals + 1];
    std::string target = text.substr(0, equals);
    if (const size_t colon = target.find(':'); colon != std::string::npos) {
        const auto address = parseInt(target.substr(colon + 1), 0, 255);
        if (!address) return false;
        refusal.address = static_cast<uint8_t>(*address);
        target.resize(colon);
    }
    const auto command = parseCommandCode(target);
    if (!command) return false;
    refusal.command = *command;
    return true;
}

}  // namespace

std::optional<uint8_t> parseCommandCode(const std::string& text) {
    const auto& names = commandNames();
    if (const auto it = names.find(text); it != names.end()) return it->second;
    if (const auto value = parseInt(text, 0, 255)) return static_cast<uint8_t>(*value);
    return std::nullopt;
}

std::string usageText() {
    return "Usage: vantrel-sim [options]\n"
           "Serves a simulated actuator on a pseudo-terminal. The first line printed is the\n"
           "path of the terminal; a new path is printed after each hang-up. Stops on\n"
           "SIGINT or SIGTERM.\n"
           "\n"
           "Actuator:\n"
           "  --generation zr2|pro          software generation (default pro)\n"
           "  --card none|P|F|M1|N|K|M2|M3|MP  option card fitted (default none)\n"
           "  --bus-kind 1|2|3              Mk2 bus card kind: Modbus, Profibus, Fieldbus\n"
           "  --card-revision C             the card's software revision character\n"
           "                                (default 7; 0..4 is an early Profibus card)\n"
           "  --part-turn                   a part-turn unit is fitted\n"
           "  --not-in-local                the actuator is not in Local\n"
           "  --accept-locked-writes        the EEPROM takes writes while locked\n"
           "  --pace                        send at the 115200-baud wire rate\n"
           "  --verbose                     print every frame received to stderr\n"
           "\n"
           "Faults (CMD is a name such as READ_REGISTER, or a code such as 0xA0):\n"
           "  --refuse CMD[:ADDR]=S         answer CMD (at ADDR) with status S (E, T, ...)\n"
           "  --bad-checksum CMD            reply to CMD with a wrong checksum\n"
           "  --silent CMD                  never reply to CMD\n"
           "  --noise N                     N bytes of noise before each record stream\n"
           "  --noise-each-datalog N        N bytes of noise before every datalog record\n"
           "  --bad-crc-block N             configuration block N (0..3) has a bad CRC in\n"
           "                                the four-block burst\n"
           "  --bad-crc-datalog N           datalog block N has a bad CRC\n"
           "  --missing-datalog N,N,...     these datalog blocks are never sent\n"
           "  --renumber-datalog N=M        datalog block N is sent with number M\n"
           "  --slow-datalog N              datalog block N is sent 1500 ms late\n"
           "  --silent-datalog              accept datalog requests, send no records\n"
           "  --hang-up-after N             hang up after answering N frames\n"
           "  --hang-up-at-datalog N        hang up instead of sending datalog block N\n"
           "  --help                        this text\n";
}

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
    CommandLine line;
    Options& o = line.options;
    Faults& f = o.faults;
    o.clockRuns = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        auto fail = [&](const std::string& what) {
            error = what;
            return std::nullopt;
        };
        auto block = [&]() { return parseInt(value().value_or(""), 0, kDatalogBlockNumbers - 1); };
        auto command = [&]() { return parseCommandCode(value().value_or("")); };

        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--verbose" || arg == "-v") {
            line.verbose = true;
        } else if (arg == "--generation") {
            const auto g = value();
            if (g == "zr2")
                o.generation = Generation::ZR2;
            else if (g == "pro")
                o.generation = Generation::Pro;
            else
                return fail("--generation takes zr2 or pro");
        } else if (arg == "--card") {
            if (!parseCard(value().value_or(""), o.card))
                return fail("--card takes none, P, F, M1, N, K, M2, M3 or MP");
        } else if (arg == "--bus-kind") {
            const auto kind = parseInt(value().value_or(""), 1, 3);
            if (!kind) return fail("--bus-kind takes 1, 2 or 3");
            o.card.busKind = static_cast<uint8_t>(*kind);
        } else if (arg == "--card-revision") {
            const std::string revision = value().value_or("");
            if (revision.size() != 1 || revision[0] < ' ' || revision[0] > '~')
                return fail("--card-revision takes one printable character");
            o.card.identity[1] = static_cast<uint8_t>(revision[0]);
        } else if (arg == "--part-turn") {
            o.partTurn = true;
        } else if (arg == "--not-in-local") {
            o.notInLocal = true;
        } else if (arg == "--accept-locked-writes") {
            o.acceptWritesWhileLocked = true;
        } else if (arg == "--pace") {
            o.pace = true;
        } else if (arg == "--refuse") {
            Faults::Refusal refusal;
            if (!parseRefusal(value().value_or(""), refusal))
                return fail("--refuse takes CMD[:ADDR]=STATUS, for example READ_REGISTER:72=E");
            f.refusals.push_back(refusal);
        } else if (arg == "--bad-checksum") {
            f.badChecksumCommand = command();
            if (!f.badChecksumCommand) return fail("--bad-checksum takes a command");
        } else if (arg == "--silent") {
            f.silentCommand = command();
            if (!f.silentCommand) return fail("--silent takes a command");
        } else if (arg == "--noise") {
            const auto n = parseInt(value().value_or(""), 0, 4096);
            if (!n) return fail("--noise takes a number of bytes (0..4096)");
            f.noiseBeforeRecords = *n;
        } else if (arg == "--noise-each-datalog") {
            const auto n = parseInt(value().value_or(""), 0, kMaxNoiseEachRecord);
            if (!n) return fail("--noise-each-datalog takes a number of bytes (0..255)");
            f.noiseBeforeEachDatalogRecord = *n;
        } else if (arg == "--bad-crc-block") {
            const auto n = parseInt(value().value_or(""), 0, 3);
            if (!n) return fail("--bad-crc-block takes a block 0..3");
            f.badCrcConfigBlock = n;
        } else if (arg == "--bad-crc-datalog") {
            f.badCrcDatalogBlock = block();
            if (!f.badCrcDatalogBlock) return fail("--bad-crc-datalog takes a block 0..240");
        } else if (arg == "--missing-datalog") {
            const auto list = parseList(value().value_or(""), 0, kDatalogBlockNumbers - 1);
            if (!list) return fail("--missing-datalog takes blocks 0..240 separated by commas");
            f.missingDatalogBlocks = *list;
        } else if (arg == "--renumber-datalog") {
            const std::string text = value().value_or("");
            const size_t equals = text.find('=');
            const auto from = parseInt(text.substr(0, equals), 0, kDatalogBlockNumbers - 1);
            const auto to = equals == std::string::npos ? std::nullopt
                                                        : parseInt(text.substr(equals + 1), 0, 255);
            if (!from || !to) return fail("--renumber-datalog takes N=M");
            f.renumberedDatalogBlock = std::pair{*from, *to};
        } else if (arg == "--slow-datalog") {
            f.slowDatalogBlock = block();
            if (!f.slowDatalogBlock) return fail("--slow-datalog takes a block 0..240");
        } else if (arg == "--silent-datalog") {
            f.silentDatalog = true;
        } else if (arg == "--hang-up-after") {
            const auto n = parseInt(value().value_or(""), 1, 1 << 30);
            if (!n) return fail("--hang-up-after takes a number of frames");
            f.hangUpAfterFrames = n;
        } else if (arg == "--hang-up-at-datalog") {
            f.hangUpAtDatalogBlock = block();
            if (!f.hangUpAtDatalogBlock) return fail("--hang-up-at-datalog takes a block 0..240");
        } else {
            return fail("unknown option " + arg + " (see --help)");
        }
    }
    return line;
}

}  // namespace vantrel::sim

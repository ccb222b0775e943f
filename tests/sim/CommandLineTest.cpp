#include "sim/CommandLine.h"

#include <gtest/gtest.h>

#include "link/Commands.h"

namespace vantrel::sim {
namespace {

std::optional<CommandLine> parse(std::vector<std::string> args, std::string* error = nullptr) {
    std::string text;
    auto line = parseCommandLine(args, text);
    if (error) *error = text;
    return line;
}

TEST(SimCommandLine, ActuatorAndFaultOptions) {
    const auto line = parse({"--generation",
                             "zr2",
                             "--card",
                             "MP",
                             "--bus-kind",
                             "3",
                             "--card-revision",
                             "3",
                             "--part-turn",
                             "--not-in-local",
                             "--pace",
                             "--refuse",
                             "READ_REGISTER:72=E",
                             "--refuse",
                             "0x3B=T",
                             "--bad-checksum",
                             "160",
                             "--silent",
                             "READ_CLOCK",
                             "--noise",
                             "5",
                             "--noise-each-datalog",
                             "6",
                             "--bad-crc-block",
                             "2",
                             "--bad-crc-datalog",
                             "9",
                             "--missing-datalog",
                             "5,6",
                             "--renumber-datalog",
                             "11=40",
                             "--slow-datalog",
                             "12",
                             "--silent-datalog",
                             "--hang-up-after",
                             "30",
                             "--hang-up-at-datalog",
                             "100",
                             "--verbose"});
    ASSERT_TRUE(line);
    const Options& o = line->options;
    EXPECT_EQ(o.generation, Generation::ZR2);
    EXPECT_EQ(o.card.letter, 'M');
    EXPECT_EQ(o.card.variant, 'P');
    EXPECT_EQ(o.card.busKind, 3);
    EXPECT_EQ(o.card.identity[1], '3');
    EXPECT_TRUE(o.partTurn && o.notInLocal && o.pace && o.clockRuns && line->verbose);
    const auto& f = o.faults;
    ASSERT_EQ(f.refusals.size(), 2u);
    EXPECT_EQ(f.refusals[0].command, link::READ_REGISTER);
    EXPECT_EQ(f.refusals[0].address, 72);
    EXPECT_EQ(f.refusals[0].status, 'E');
    EXPECT_EQ(f.refusals[1].command, link::READ_OPTION_TYPE);
    EXPECT_FALSE(f.refusals[1].address);
    EXPECT_EQ(f.refusals[1].status, 'T');
    EXPECT_EQ(f.badChecksumCommand, link::READ_REGISTER);
    EXPECT_EQ(f.silentCommand, link::READ_CLOCK);
    EXPECT_EQ(f.noiseBeforeRecords, 5);
    EXPECT_EQ(f.noiseBeforeEachDatalogRecord, 6);
    EXPECT_EQ(f.badCrcConfigBlock, 2);
    EXPECT_EQ(f.badCrcDatalogBlock, 9);
    EXPECT_EQ(f.missingDatalogBlocks, (std::vector<int>{5, 6}));
    EXPECT_EQ(f.renumberedDatalogBlock, (std::pair{11, 40}));
    EXPECT_EQ(f.slowDatalogBlock, 12);
    EXPECT_TRUE(f.silentDatalog);
    EXPECT_EQ(f.hangUpAfterFrames, 30);
    EXPECT_EQ(f.hangUpAtDatalogBlock, 100);
}

TEST(SimCommandLine, MistakesAreNamed) {
    std::string error;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--card", "Z"},
                                                 {"--generation"},
                                                 {"--bus-kind", "4"},
                                                 {"--card-revision", "34"},
                                                 {"--card-revision"},
                                                 {"--refuse", "NOT_A_COMMAND=E"},
                                                 {"--refuse", "READ_REGISTER"},
                                                 {"--bad-crc-block", "4"},
                                                 {"--missing-datalog", "5,,6"},
                                                 {"--renumber-datalog", "3"},
                                                 {"--slow-datalog", "241"},
                                                 {"--noise", "-1"},
                                                 {"--noise-each-datalog", "256"},
                                                 {"--frobnicate"}}) {
        EXPECT_FALSE(parse(args, &error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(parse({"--help"})->help);
}

}  // namespace
}  // namespace vantrel::sim

#include "CliProcess.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

using clitest::Child;
using clitest::Cli;
using clitest::Result;

constexpr const char* kFrameLine = "^[0-9A-F]{2}( [0-9A-F]{2}){4} .\n$";

TEST_F(Cli, FrameOnTheSimulatorPrintsReplyBytesAndResult) {
    const Result r = cli({"--simulate", "frame", "0b", "00", "00", "00", "00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::regex_match(r.out, std::regex(kFrameLine))) << r.out;
    EXPECT_EQ(r.out.substr(0, 3), "0B ");
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "Y\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(Cli, DiagOnTheSimulatorPrintsFifteenIndicatorsInScreenOrder) {
    const Result r = cli({"--simulate", "diag"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Position error: off\nEEPROM error: off\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\nToff Open: off\nToff Close: off\n"), std::string::npos) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 15);
}

TEST_F(Cli, MissingPortFailsWithTheMessageAndItsReason) {
    const std::string port = home_ + "/no-such-port";
    const Result r = cli({"--port", port, "frame", "F0", "00", "00", "00", "00"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Port did not open\n", 0), 0u) << r.err;
    const std::string reason = r.err.substr(r.err.find('\n') + 1);
    EXPECT_NE(reason.substr(0, reason.find('\n')).find(port), std::string::npos) << r.err;
}

TEST_F(Cli, NoValidReplyFailsFrameAndAMissingPortPrintsNoIndicators) {
    Child sim({VANTREL_SIM_PATH, "--silent", "READ_VERSION", "--bad-checksum", "READ_STATUS"},
              home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());
    const std::string noReply =
        "vantrel-cli: no valid reply (none arrived, or its checksum was wrong)\n";
    // Nothing came back: the line shows the request itself and "2", as the screen does.
    Result r = cli({"--port", port, "frame", "0b", "84", "00", "00", "00"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "0B 84 00 00 00 2\n");
    EXPECT_EQ(r.err, noReply);
    // A reply with a wrong checksum is shown as it came, and is no reply either.
    r = cli({"--port", port, "frame", "01", "84", "00", "00", "00"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(std::regex_match(r.out, std::regex(kFrameLine))) << r.out;
    EXPECT_EQ(r.err, noReply);
    sim.stop();
    sim.finish();

    r = cli({"--port", home_ + "/no-such-port", "diag"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("Port did not open\n", 0), 0u) << r.err;
}

TEST_F(Cli, UsageErrorsExitTwoWithUsageText) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"nonsense"},
        {"frame", "F0", "00", "00", "00"},
        {"frame", "F0", "00", "00", "00", "ZZ"},
        {"frame", "F0", "00", "00", "00", "123"},
        {"diag", "extra"},
        {"--login", "user", "diag"},
        {"--login", "admin", "--password", "x", "diag"},
        {"--port"},
        {"--bogus", "diag"},
    };
    for (const auto& args : cases) {
        const Result r = cli(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("usage: vantrel-cli"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    const Result help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("frame CC AA D1 D2 D3"), std::string::npos);
}

TEST_F(Cli, LoginUsesTheStoredPasswordsExactly) {
    storePassword("Tarvek Password", "s3cret");
    Result r = cli({"--simulate", "--login", "service", "--password", "w4", "diag"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Incorrect Password entered\n");
    EXPECT_EQ(r.out, "");  // the command does not run

    r = cli({"--simulate", "--login", "service", "--password", "s3cret", "diag"});
    EXPECT_EQ(r.status, 0) << r.err;
    r = cli({"--simulate", "--login", "user", "--password", "qmzv", "diag"});
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(Cli, ExternalSimulatorRefusalsShowInFrameAndFailDiag) {
    Child sim({VANTREL_SIM_PATH, "--refuse", "READ_REGISTER:145=E"}, home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());

    Result r = cli({"--port", port, "frame", "A0", "91", "00", "00", "00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "E\n") << r.out;
    EXPECT_EQ(r.err, "");

    r = cli({"--port", port, "diag"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "EEPROM Error\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 15);
    sim.stop();
    sim.finish();
}

TEST_F(Cli, YesStopsRetryingABusCardThatNeverAnswers) {
    Child sim({VANTREL_SIM_PATH, "--card", "M2", "--refuse", "READ_BUS_REGISTER:5=T"}, home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());

    const std::string file = home_ + "/image.ucf";
    const Result r = cli({"--port", port, "--yes", "extract", "-o", file});
    EXPECT_EQ(r.status, 1);
    const std::string question = "Error retrying receive data 3 times, continue to retry? [y/N] ";
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 12) << r.err;
    EXPECT_NE(r.err.find(question + "n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\nOption card comms error\n"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(file));
    sim.stop();
    sim.finish();
}

TEST_F(Cli, ExtractWhoseOptionCardTypeIsLostSavesWhatWasReadAndFails) {
    Child sim({VANTREL_SIM_PATH, "--card", "N", "--silent", "READ_OPTION_TYPE"}, home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());

    const std::string file = home_ + "/image.ucf";
    const Result r = cli({"--port", port, "extract", "-o", file});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Event Not RX\n");
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("UNUSED2\t"), std::string::npos);
    EXPECT_EQ(text.find("OPT_SW_3\t"), std::string::npos);
    sim.stop();
    sim.finish();
}

}  // namespace

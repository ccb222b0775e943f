// vantrel-cli calibration against its in-process simulated actuator, whose
// calibration registers hold offsets 3 and 3, scalings 2 and 1, normalisation 3 and
// gain 2.
#include "CliProcess.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using CliRun = clitest::Result;

class CalibrationCli : public clitest::Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        folder = home_;
    }
    // Runs the tool against its in-process simulated actuator.
    CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), "--simulate");
        return cli(std::move(args));
    }
    CliRun asService(std::vector<std::string> args) {
        args.insert(args.begin(), {"--login", "service", "--password", "w4"});
        return run(std::move(args));
    }

    std::string folder;
};

constexpr const char* kSimulatorValues =
    "Clockwise Offset: 3\nAnti Clockwise Offset: 3\nClockwise Scaling: 2\n"
    "Anti Clockwise Scaling: 1\nGain: 2\n";

TEST_F(CalibrationCli, ShowAndKeepValuesStoredModuloTheirWidth) {
    const CliRun shown = run({"calibration", "show"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, kSimulatorValues);

    const std::string file = folder + "/kept.ucf";
    const CliRun kept =
        asService({"calibration", "-o", file, "set", "Gain=300", "Clockwise Offset=70000", "keep"});
    EXPECT_EQ(kept.status, 0) << kept.err;
    const CliRun reread = run({"calibration", "--from", file, "show"});
    EXPECT_EQ(reread.out,
              "Clockwise Offset: 4464\nAnti Clockwise Offset: 3\nClockwise Scaling: 2\n"
              "Anti Clockwise Scaling: 1\nGain: 44\n");

    const CliRun user = run({"calibration", "set", "Gain=1", "send"});
    EXPECT_EQ(user.status, 1);
    EXPECT_EQ(user.err, "Incorrect Password entered\n");
}

TEST_F(CalibrationCli, RecalibrateStoresAndSendsOnlyWithYes) {
    const std::string expected =
        "Clockwise Offset: 3\nAnti Clockwise Offset: 3\nClockwise Scaling: 128\n"
        "Anti Clockwise Scaling: 64\nGain: 2\nNormalisation: 9\n";
    const std::string file = folder + "/image.ucf";
    CliRun asked = asService({"calibration", "-o", file, "recalibrate", "50450", "50450"});
    EXPECT_EQ(asked.status, 0) << asked.err;
    EXPECT_EQ(asked.out, expected);
    EXPECT_NE(asked.err.find("Warning: Normalisation Changed!\n"), std::string::npos);
    EXPECT_EQ(run({"calibration", "--from", file, "show"}).out, kSimulatorValues);

    CliRun sent = asService({"--yes", "calibration", "-o", file, "recalibrate", "50450", "50450"});
    EXPECT_EQ(sent.status, 0) << sent.err;
    EXPECT_EQ(sent.out, expected);
    EXPECT_NE(run({"calibration", "--from", file, "show"}).out.find("Clockwise Scaling: 128\n"),
              std::string::npos);

    CliRun error = asService({"--yes", "calibration", "recalibrate", "50050", "50450"});
    EXPECT_EQ(error.status, 1);
    EXPECT_EQ(error.out, "");
    EXPECT_NE(error.err.find("ERROR calibration figures can not be calculated correctly"),
              std::string::npos);
}

TEST_F(CalibrationCli, AFileWithoutTheValuesSendsAndSavesNoneOfThem) {
    const std::string file = folder + "/unused2.ucf";
    std::ofstream(file) << "UNUSED2\t" << std::string(128, '0') << '\r';
    const std::string saved = folder + "/saved.ucf";

    const CliRun set =
        asService({"calibration", "--from", file, "-o", saved, "set", "Gain=2", "send"});
    EXPECT_EQ(set.status, 1);
    EXPECT_NE(set.err.find("\"Gain\" is disabled, nothing done"), std::string::npos) << set.err;
    EXPECT_EQ(set.err.find("send data"), std::string::npos) << set.err;
    EXPECT_EQ(run({"calibration", "--from", saved, "show"}).out,
              "Clockwise Offset:  (disabled)\nAnti Clockwise Offset:  (disabled)\n"
              "Clockwise Scaling:  (disabled)\nAnti Clockwise Scaling:  (disabled)\n"
              "Gain:  (disabled)\n");

    const CliRun recalibrated =
        asService({"--yes", "calibration", "--from", file, "recalibrate", "50450", "50450"});
    EXPECT_EQ(recalibrated.status, 1);
    EXPECT_EQ(recalibrated.out, "");
    EXPECT_NE(recalibrated.err.find("ERROR calibration figures can not be calculated correctly"),
              std::string::npos);
}

TEST_F(CalibrationCli, BadWordsAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"calibration"},
        {"calibration", "show", "extra"},
        {"calibration", "set", "Gain=abc", "keep"},
        {"calibration", "set", "Gain=-1", "keep"},
        {"calibration", "set", "Gain=", "keep"},
        {"calibration", "set", "Torque=1", "keep"},
        {"calibration", "set", "Gain=1"},
        {"calibration", "recalibrate", "1234", "12345"},
        {"calibration", "recalibrate", "12a45", "12345"},
        {"calibration", "recalibrate", "", "12345"},
        {"calibration", "recalibrate", "123456", "12345"},
        {"calibration", "-o", "", "show"},
    };
    for (const auto& args : cases) {
        const CliRun r = asService(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(CalibrationCli, MultiportSetUpIsSilentWhateverTheCardAnswers) {
    // The simulator has no option card: both frames are refused, and nothing shows.
    const CliRun r = asService({"calibration", "multiport-setup"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(run({"calibration", "multiport-setup"}).status, 1);
}

}  // namespace

// "Calibration Data": the multiport set-up frames with their pauses, whatever the
// card answers, and fetching the image before the torque screens.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "link/Commands.h"
#include "link/ErrorFlags.h"
#include "service/ReCalTS.h"
#include "service/Service.h"
#include "service/TrqCalib.h"

namespace vantrel::service {
namespace {

using Request = std::array<uint8_t, 5>;  // command, address, three data bytes

std::vector<Request> requests(const sim::Actuator& actuator) {
    std::vector<Request> out;
    for (const auto& frame : actuator.frames())
        out.push_back({frame[5], frame[6], frame[7], frame[8], frame[9]});
    return out;
}

struct SetUpCase {
    const char* name;
    std::function<void(sim::Options&)> setUp;
};

std::ostream& operator<<(std::ostream& out, const SetUpCase& c) {
    return out << c.name;
}

class MultiportSetUp : public ::testing::TestWithParam<SetUpCase> {};

TEST_P(MultiportSetUp, BothFramesWithTheirPausesNothingShown) {
    sim::Options options;
    GetParam().setUp(options);
    test::SimRig rig(options);
    std::vector<std::chrono::milliseconds> waits;
    EXPECT_TRUE(setUpMultiport(rig.context, [&](auto time) { waits.push_back(time); }));
    const std::vector<Request> expected = {{link::OPTION_CONTROL, 0, 0, 0, 0},
                                           {link::OPTION_CONTROL, 77, 80, 0, 0}};
    EXPECT_EQ(requests(rig.actuator), expected);
    EXPECT_EQ(waits, (std::vector<std::chrono::milliseconds>{kMultiportSettle, kMultiportSettle}));
    EXPECT_TRUE(rig.ui.shown.empty());
    EXPECT_EQ(rig.context.errorFlags & link::kOptionCommsError, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MultiportSetUp,
    ::testing::Values(SetUpCase{"MultiportCardAccepts",
                                [](sim::Options& o) {
                                    o.card = {'M', 'P', 1, {}};
                                }},
                      SetUpCase{"NoCardRefuses", [](sim::Options&) {}},
                      SetUpCase{"FirstSilent",
                                [](sim::Options& o) {
                                    o.card = {'M', 'P', 1, {}};
                                    o.faults.silentCommand = link::OPTION_CONTROL;
                                    o.faults.silentAddress = 0;
                                }},
                      SetUpCase{
                          "SecondRefusedWithE",
                          [](sim::Options& o) {
                              o.card = {'M', 'P', 1, {}};
                              o.faults.refusals.push_back({link::OPTION_CONTROL, 77, 'E', -1});
                          }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MultiportSetUpPort, APortThatDoesNotOpenSendsNothingAndWaitsNot) {
    test::SimRig rig;
    rig.context.portName = rig.folder + "/no-such-port";
    int waits = 0;
    EXPECT_FALSE(setUpMultiport(rig.context, [&](auto) { ++waits; }));
    EXPECT_EQ(waits, 0);
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"Port did not open"});
}

TEST(CalibrationData, FetchesTheImageBeforeEachTorqueScreen) {
    test::SimRig rig;
    rig.ui.onRunScreen = [](ui::Screen&) {};  // screens stay open for the clicks
    rig.context.loginLevel = shell::kService;
    {
        CService menu(rig.context);
        rig.ui.run(menu);
        rig.ui.answers = {true};  // extract
        ASSERT_TRUE(menu.click("Read and update calibration data"));
        EXPECT_TRUE(menu.closed());
        EXPECT_EQ(rig.context.nextScreen, shell::kTorqueCalibration);
        EXPECT_EQ(rig.context.image.reg(15), rig.actuator.eeprom()[256 + 15]);
        EXPECT_EQ(rig.ui.sounds.back(), ui::Sound::Menu);
        EXPECT_FALSE(rig.ui.busy);
    }
    {
        // A cancelled file dialog keeps the menu open.
        CService menu(rig.context);
        rig.ui.run(menu);
        rig.context.nextScreen = shell::kCalibration;
        rig.ui.answers = {false};
        ASSERT_TRUE(menu.click("Change Torque sensor"));
        EXPECT_FALSE(menu.closed());
        EXPECT_EQ(rig.context.nextScreen, shell::kCalibration);
    }
    {
        // A failed extract keeps it open too, and the cursor comes back.
        rig.actuator.configure(
            [](sim::Options& o) { o.faults.silentCommand = link::READ_VERSION; });
        CService menu(rig.context);
        rig.ui.run(menu);
        rig.ui.answers = {true};
        ASSERT_TRUE(menu.click("Change Torque sensor"));
        EXPECT_FALSE(menu.closed());
        EXPECT_EQ(rig.context.nextScreen, shell::kCalibration);
        EXPECT_FALSE(rig.ui.busy);
    }
    CTrqCalib torque(rig.context);
    rig.ui.run(torque);
    ASSERT_TRUE(torque.click("Exit"));
    EXPECT_TRUE(torque.closed());
    CReCalTS recalibration(rig.context);
    rig.ui.run(recalibration);
    rig.context.nextScreen = shell::kMainMenu;
    ASSERT_TRUE(recalibration.click("BACK"));
    EXPECT_EQ(rig.context.nextScreen, shell::kCalibration);
}

}  // namespace
}  // namespace vantrel::service

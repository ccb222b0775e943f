#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "link/Commands.h"
#include "service/Diagnostics.h"
#include "service/Vxchat.h"

namespace vantrel::service {
namespace {

using Frame = std::array<uint8_t, 11>;

// The command and address bytes of every frame the actuator received.
std::vector<std::pair<uint8_t, uint8_t>> requests(const sim::Actuator& actuator) {
    std::vector<std::pair<uint8_t, uint8_t>> out;
    for (const Frame& frame : actuator.frames())
        out.emplace_back(frame[5], frame[6]);
    return out;
}

std::set<std::string> litLamps(const CDiagnostics& screen) {
    std::set<std::string> names;
    for (const char* text : kIndicatorTexts)
        if (screen.get<ui::Lamp>(text).lit) names.insert(text);
    return names;
}

constexpr int kInterlockImageByte = 256 + 67;

TEST(DiagnosticsUpdate, ReadsInOrderAndLightsFromTheActuator) {
    test::SimRig rig;
    rig.actuator.setStatusWord(0x1800);
    rig.actuator.setStallWord(0x0002);
    rig.actuator.setTorqueOff(0x08);
    rig.actuator.setInputByte(0x08);  // open interlock input present, close input clear
    rig.actuator.setEeprom(kInterlockImageByte, 0x40);

    CDiagnostics screen(rig.context);
    rig.ui.run(screen);
    EXPECT_TRUE(rig.actuator.frames().empty());
    ASSERT_TRUE(screen.click("Update"));

    using link::READ_REGISTER, link::READ_STATUS;
    EXPECT_EQ(requests(rig.actuator),
              (std::vector<std::pair<uint8_t, uint8_t>>{{READ_REGISTER, 145},
                                                        {READ_REGISTER, 93},
                                                        {READ_REGISTER, 4},
                                                        {READ_STATUS, 132},
                                                        {READ_REGISTER, 67}}));
    EXPECT_EQ(litLamps(screen), (std::set<std::string>{"Local fault", "Stalled", "Toff Open",
                                                       "CIL-Close Inhibited"}));
    EXPECT_TRUE(rig.ui.shown.empty());
    EXPECT_TRUE(rig.ui.sounds.empty());  // Update plays nothing

    // A second update redraws from scratch: what cleared goes out.
    rig.actuator.setStatusWord(0x0006);
    rig.actuator.setStallWord(0);
    rig.actuator.setTorqueOff(0x04);
    rig.actuator.setInputByte(0x98);
    ASSERT_TRUE(screen.click("Update"));
    EXPECT_EQ(litLamps(screen),
              (std::set<std::string>{"EEPROM error", "Toff Close", "T-stat trip"}));
}

TEST(DiagnosticsUpdate, ARefusedReadIsReportedTheOthersStillMade) {
    sim::Options options;
    options.faults.refusals.push_back({link::READ_REGISTER, 93, 'E', -1});
    test::SimRig rig(options);
    rig.actuator.setStatusWord(0x0001);
    rig.actuator.setStallWord(0x0002);
    rig.actuator.setTorqueOff(0x04);

    CDiagnostics screen(rig.context);
    rig.ui.run(screen);
    ASSERT_TRUE(screen.click("Update"));
    EXPECT_EQ(rig.actuator.frames().size(), 5u);
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"EEPROM Error"});
    EXPECT_EQ(litLamps(screen), (std::set<std::string>{"Position error", "Toff Close"}));
    EXPECT_EQ(rig.context.errorFlags, 0u);
}

TEST(DiagnosticsUpdate, NoPortReportsOnceAndLightsNothing) {
    test::SimRig rig;
    rig.context.portName = rig.folder + "/no-such-port";
    rig.actuator.setStatusWord(0xFFFF);
    CDiagnostics screen(rig.context);
    rig.ui.run(screen);
    ASSERT_TRUE(screen.click("Update"));
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"Port did not open"});
    EXPECT_TRUE(litLamps(screen).empty());
    EXPECT_TRUE(rig.actuator.frames().empty());
}

std::string box(const ui::Screen& screen, const char* id) {
    return screen.get<ui::Edit>(id).text;
}

void sendFrame(CVxchat& screen, const std::array<const char*, 5>& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i)
        screen.get<ui::Edit>(kTransmitIds[i]).text = bytes[i];
    ASSERT_TRUE(screen.click("SEND"));
}

TEST(VxchatSend, ShowsReplyBytesInHexAndAsCharacters) {
    test::SimRig rig;
    // Registers 10..12 hold "Az" and 0x00.
    rig.actuator.setEeprom(256 + 10, 'A');
    rig.actuator.setEeprom(256 + 11, 'z');
    rig.actuator.setEeprom(256 + 12, 0x00);
    CVxchat screen(rig.context);
    rig.ui.run(screen);
    sendFrame(screen, {"a0", "0a", "00", "00", "00"});

    ASSERT_EQ(rig.actuator.frames().size(), 1u);
    const Frame frame = rig.actuator.frames().front();
    EXPECT_EQ(frame[5], 0xA0);
    EXPECT_EQ(frame[6], 0x0A);
    EXPECT_EQ(box(screen, "rx-8"), "41");
    EXPECT_EQ(box(screen, "rx-9"), "7A");
    EXPECT_EQ(box(screen, "rx-10"), "00");
    EXPECT_EQ(box(screen, "rx-char-8"), "A");
    EXPECT_EQ(box(screen, "rx-char-9"), "z");
    EXPECT_EQ(box(screen, kResultId), "Y");
    EXPECT_TRUE(rig.ui.shown.empty());
}

TEST(VxchatSend, RefusalsShowTheirStatusSilentlyAndLeaveNoFlags) {
    for (char status : {'E', 'T', 'Q'}) {
        sim::Options options;
        options.faults.refusals.push_back({link::WRITE_REGISTER_BYTE, std::nullopt, status, -1});
        test::SimRig rig(options);
        CVxchat screen(rig.context);
        rig.ui.run(screen);
        sendFrame(screen, {"C0", "10", "55", "00", "00"});
        EXPECT_EQ(box(screen, kResultId), std::string(1, status));
        EXPECT_TRUE(rig.ui.shown.empty()) << status;
        EXPECT_TRUE(rig.ui.sounds.empty()) << status;
        EXPECT_EQ(rig.context.errorFlags, 0u) << status;

        // The next frame goes through: nothing was left behind to fail it.
        sendFrame(screen, {"0B", "00", "00", "00", "00"});
        EXPECT_EQ(box(screen, kResultId), "Y") << status;
    }
}

}  // namespace
}  // namespace vantrel::service

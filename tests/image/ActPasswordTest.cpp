#include <gtest/gtest.h>

#include "SimFixture.h"
#include "link/Commands.h"
#include "shell/ActPassword.h"

namespace vantrel::shell {
namespace {

using namespace link;

constexpr int kPasswordByte = 256 + 72;

// Command, address and first argument of every frame the actuator received.
std::vector<std::array<int, 3>> sent(const sim::Actuator& actuator) {
    std::vector<std::array<int, 3>> frames;
    for (const auto& f : actuator.frames())
        frames.push_back({f[5], f[6], f[7]});
    return frames;
}

class ActPassword : public ::testing::Test {
protected:
    void SetUp() override {
        rig.context.defaultView = true;
        rig.ui.run(screen);  // calls setUp; the scripted Ui then closes it
        screen.reopen();
    }
    ui::ComboBox& list() { return screen.get<ui::ComboBox>("Password:"); }
    test::SimRig rig;
    CActPassword screen{rig.context};
};

TEST_F(ActPassword, OpensWithNothingChosenAndTheCurrentView) {
    EXPECT_EQ(screen.title(), "Actuator Password");
    EXPECT_FALSE(rig.context.defaultView);
    EXPECT_EQ(list().selected, -1);
    ASSERT_EQ(list().entries().size(), 256u);
    EXPECT_EQ(list().entries()[0x1A], "1Ah");
}

TEST_F(ActPassword, UpdateWritesTheChosenByteBetweenUnlockAndLock) {
    ASSERT_TRUE(list().select("1Ah"));
    screen.click("Update Password");
    EXPECT_EQ(sent(rig.actuator), (std::vector<std::array<int, 3>>{{READ_REGISTER, 72, 0},
                                                                   {UNLOCK_EEPROM, 0, 0},
                                                                   {WRITE_REGISTER_BYTE, 72, 0x1A},
                                                                   {LOCK_EEPROM, 0, 0}}));
    EXPECT_EQ(rig.actuator.eeprom()[kPasswordByte], 0x1A);
    EXPECT_TRUE(rig.actuator.locked());
    EXPECT_TRUE(rig.ui.shown.empty());

    // Read back into a fresh list selection.
    list().selected = -1;
    screen.click("Read Password");
    EXPECT_EQ(list().selectedText(), "1Ah");
}

TEST_F(ActPassword, UpdateWithoutAChoiceWritesFF) {
    screen.click("Update Password");
    EXPECT_EQ(sent(rig.actuator)[2], (std::array<int, 3>{WRITE_REGISTER_BYTE, 72, 0xFF}));
    EXPECT_EQ(rig.actuator.eeprom()[kPasswordByte], 0xFF);
}

TEST_F(ActPassword, FailuresShowTheErrorAndTheScreensOwnMessage) {
    rig.actuator.configure([](sim::Options& o) {
        o.faults.refusals = {{READ_REGISTER, 72, 'E', 1}, {WRITE_REGISTER_BYTE, 72, 'E', 1}};
    });
    screen.click("Read Password");
    EXPECT_EQ(rig.ui.shown,
              (std::vector<std::string>{"error: EEPROM Error", "message: Could not get data"}));
    EXPECT_NE(list().selected, -1);

    // The refused write stops before the lock, leaving the EEPROM unlocked.
    rig.ui.clearRecord();
    rig.actuator.clearLog();
    list().select("33h");
    screen.click("Update Password");
    EXPECT_EQ(rig.ui.shown,
              (std::vector<std::string>{"error: EEPROM Error", "message: Could not get data"}));
    EXPECT_EQ(sent(rig.actuator).size(), 3u);
    EXPECT_FALSE(rig.actuator.locked());
}

TEST_F(ActPassword, BackReturnsToTheConfigurationMenu) {
    EXPECT_TRUE(screen.click("BACK"));
    EXPECT_TRUE(screen.closed());
    EXPECT_EQ(rig.context.nextScreen, kConfiguration);
    EXPECT_EQ(rig.ui.sounds, std::vector{ui::Sound::Menu});
}

}  // namespace
}  // namespace vantrel::shell

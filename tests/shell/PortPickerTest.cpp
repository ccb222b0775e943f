// "Port..." on the main menu: the ports present with their state, the one in use
// marked, the choice made the tool's port and stored as "Port" in the settings.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ShellFixture.h"
#include "shell/MainMenu.h"
#include "shell/PortPicker.h"
#include "shell/StatusLine.h"

namespace vantrel::shell {
namespace {

namespace fs = std::filesystem;

// Two pseudo-terminals as ttyUSB0 and ttyACM0 of a scratch /dev.
class PortPicker : public ::testing::Test {
protected:
    void SetUp() override {
        for (int& master : masters_) {
            master = ::posix_openpt(O_RDWR | O_NOCTTY);
            ASSERT_GE(master, 0);
            ASSERT_EQ(::grantpt(master), 0);
            ASSERT_EQ(::unlockpt(master), 0);
        }
        dev_ = f_.directory() / "dev";
        fs::create_directories(dev_);
        fs::create_symlink(::ptsname(masters_[0]), dev_ / "ttyUSB0");
        fs::create_symlink(::ptsname(masters_[1]), dev_ / "ttyACM0");
        roots_ = {(f_.directory() / "by-id").string(), dev_.string(),
                  (f_.directory() / "class").string()};
    }
    void TearDown() override {
        for (int master : masters_)
            if (master >= 0) ::close(master);
    }

    std::string store() const {
        std::ifstream in(f_.settings.path());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    test::ShellFixture f_;
    int masters_[2] = {-1, -1};
    fs::path dev_;
    link::PortRoots roots_;
};

TEST_F(PortPicker, MarksThePortInUseAndStoresTheChoiceWhichTheStatusLineShowsAtOnce) {
    const std::string usb = (dev_ / "ttyUSB0").string(), acm = (dev_ / "ttyACM0").string();
    f_.context.portName = acm;
    CPortPicker picker(f_.context, roots_);
    picker.setUp();
    auto& list = picker.get<ui::ComboBox>(kPortListLabel);
    EXPECT_EQ(list.entries(),
              (std::vector<std::string>{usb + ": free", acm + ": free (in use now)"}));
    EXPECT_EQ(list.selected, 1);
    EXPECT_FALSE(picker.get<ui::Label>("none").visible);

    list.selected = 0;
    ASSERT_TRUE(picker.click("OK"));
    EXPECT_TRUE(picker.closed());
    EXPECT_EQ(f_.context.portName, usb);
    EXPECT_EQ(f_.settings.read(kSettingsSection, "Port", ""), usb);
    EXPECT_EQ(statusLine(f_.context).port, usb);
    EXPECT_TRUE(f_.ui.shown.empty());

    // Cancel changes nothing.
    CPortPicker again(f_.context, roots_);
    again.setUp();
    EXPECT_EQ(again.get<ui::ComboBox>(kPortListLabel).selected, 0);
    again.get<ui::ComboBox>(kPortListLabel).selected = 1;
    ASSERT_TRUE(again.click("Cancel"));
    EXPECT_EQ(f_.context.portName, usb);
}

TEST_F(PortPicker, AStoreThatCannotBeReadIsLeftAsItIsAndTheChoiceLastsForTheRun) {
    // Not UTF-8 text: the store cannot be read, so it must not be rewritten.
    const std::string unreadable = "[Rudozi Vantrel]\nPassword=\xff\xfe\n";
    std::ofstream(f_.settings.path(), std::ios::binary) << unreadable;
    CPortPicker picker(f_.context, roots_);
    picker.setUp();
    ASSERT_TRUE(picker.click("OK"));
    EXPECT_EQ(f_.context.portName, (dev_ / "ttyUSB0").string());
    EXPECT_EQ(store(), unreadable);
    ASSERT_EQ(f_.ui.shown.size(), 1u);
    EXPECT_NE(f_.ui.shown[0].find(kPortNotStored), std::string::npos) << f_.ui.shown[0];
}

TEST_F(PortPicker, NoPortsLeavesOkDisabledAndSaysSo) {
    CPortPicker picker(f_.context, {"/nonexistent", "/nonexistent", "/nonexistent"});
    picker.setUp();
    EXPECT_EQ(picker.get<ui::ComboBox>(kPortListLabel).count(), 0);
    EXPECT_TRUE(picker.get<ui::Label>("none").visible);
    EXPECT_FALSE(picker.get<ui::Button>("OK").enabled);
    const std::string before = f_.context.portName;
    picker.click("OK");
    EXPECT_EQ(f_.context.portName, before);
}

TEST_F(PortPicker, TheMainMenusPortButtonShowsThePickerAndKeepsTheMenuOpen) {
    std::string title;
    f_.ui.onRunScreen = [&](ui::Screen& screen) {
        title = screen.title();
        screen.click("Cancel");
    };
    CMainMenu menu(f_.context);
    menu.setUp();
    ASSERT_TRUE(menu.click("Port..."));
    EXPECT_EQ(title, kPortPickerTitle);
    EXPECT_FALSE(menu.closed());
}

}  // namespace
}  // namespace vantrel::shell

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <string>

#include "ScriptedUi.h"
#include "link/ErrorFlags.h"
#include "service/Vxchat.h"
#include "shell/Settings.h"

namespace vantrel::service {
namespace {

TEST(VxchatBoxes, EveryTextBecomesExactlyTwoCharacters) {
    EXPECT_EQ(twoCharacters(""), "00");
    EXPECT_EQ(twoCharacters("A"), "0A");
    EXPECT_EQ(twoCharacters("a0"), "a0");
    EXPECT_EQ(twoCharacters("123"), "23");
    EXPECT_EQ(twoCharacters(std::string(1000, 'F') + "12"), "12");
}

// An adapter with no actuator in front of it: a terminal nobody answers on.
class SilentLine {
public:
    SilentLine() {
        char name[128] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
        ::fcntl(master_, F_SETFL, O_NONBLOCK);
        path_ = name;
    }
    ~SilentLine() {
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
    }
    const std::string& path() const { return path_; }
    // What the tool wrote on the line.
    std::string written() {
        std::string bytes;
        char buffer[64];
        ssize_t n;
        while ((n = ::read(master_, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, n);
        return bytes;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

std::string text(const ui::Screen& screen, const char* id) {
    return screen.get<ui::Edit>(id).text;
}

TEST(Vxchat, OpensWithDefaultFrameAndTwoCharacterBoxes) {
    test::ScriptedUi ui;
    shell::Settings settings("/nonexistent/settings.ini");
    shell::Context context(ui, settings);
    CVxchat screen(context);
    screen.setUp();
    EXPECT_EQ(screen.title(), "VXCHAT");
    const std::array<const char*, 5> defaults = {"F0", "00", "00", "00", "00"};
    for (size_t i = 0; i < kTransmitIds.size(); ++i) {
        EXPECT_EQ(text(screen, kTransmitIds[i]), defaults[i]);
        EXPECT_EQ(screen.get<ui::Edit>(kTransmitIds[i]).maxLength, 2);
    }
    context.nextScreen = shell::kVxchat;
    ASSERT_TRUE(screen.click("BACK"));
    EXPECT_EQ(context.nextScreen, shell::kMainMenu);
    EXPECT_EQ(ui.sounds, std::vector<ui::Sound>{ui::Sound::Menu});
}

TEST(Vxchat, WithoutActuatorShowsTheRequestAndResultTwoAndNoError) {
    SilentLine line;
    ASSERT_FALSE(line.path().empty());
    test::ScriptedUi ui;
    shell::Settings settings("/nonexistent/settings.ini");
    shell::Context context(ui, settings);
    context.portName = line.path();
    context.errorFlags = link::kIncorrectPassword;  // left over from elsewhere

    CVxchat screen(context);
    screen.setUp();
    const std::array<const char*, 5> typed = {"a0", "48", "1", "", "7FF"};
    for (size_t i = 0; i < typed.size(); ++i)
        screen.get<ui::Edit>(kTransmitIds[i]).text = typed[i];

    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(screen.click("SEND"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    EXPECT_EQ(ui.shown, std::vector<std::string>{});
    EXPECT_EQ(context.errorFlags & link::kLow13Bits, 0u);
    // Short boxes are padded on the left, long ones give their last two characters.
    EXPECT_EQ(text(screen, "tx-data1"), "01");
    EXPECT_EQ(text(screen, "tx-data2"), "00");
    EXPECT_EQ(text(screen, "tx-data3"), "FF");
    EXPECT_EQ(text(screen, "rx-6"), "A0");
    EXPECT_EQ(text(screen, "rx-7"), "48");
    EXPECT_EQ(text(screen, "rx-8"), "01");
    EXPECT_EQ(text(screen, "rx-9"), "00");
    EXPECT_EQ(text(screen, "rx-10"), "FF");
    EXPECT_EQ(text(screen, "rx-char-7"), "H");
    EXPECT_EQ(text(screen, "rx-char-8"), ".") << "a control code shows as a dot";
    EXPECT_EQ(text(screen, "rx-char-9"), ".");
    EXPECT_EQ(text(screen, "rx-char-10"), std::string(1, '\xFF'));
    EXPECT_EQ(text(screen, kResultId), "2");

    const uint8_t sum =
        (0x48 + 0x48 + 0x43 + 0x30 + 0x32 + 0xA0 + 0x48 + 0x01 + 0x00 + 0xFF) & 0xFF;
    EXPECT_EQ(line.written(), std::string("HHC02\xA0\x48\x01\x00\xFF", 10) + char(sum));
}

}  // namespace
}  // namespace vantrel::service

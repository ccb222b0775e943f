#include <gtest/gtest.h>

#include <vector>

#include "ShellFixture.h"
#include "registry/ScreenRegistry.h"
#include "shell/AboutBox.h"
#include "shell/Downloads.h"
#include "shell/MainMenu.h"

namespace vantrel::shell {
namespace {

std::vector<std::string> visibleNames(const ui::Screen& screen) {
    std::vector<std::string> names;
    for (const auto& control : screen.controls())
        if (control->visible) names.push_back(control->name());
    return names;
}

TEST(MainMenu, ServiceButtonsShowOnlyAtServiceLevel) {
    test::ShellFixture f;
    for (uint8_t level : {kNotLoggedIn, kUser, kService}) {
        f.context.loginLevel = level;
        f.context.displayScale = 0;
        CMainMenu menu(f.context);
        menu.setUp();
        const bool service = level == kService;
        EXPECT_EQ(menu.get<ui::Button>("vxchat").visible, service) << int(level);
        EXPECT_EQ(menu.get<ui::Button>("Calibrate").visible, service) << int(level);
        EXPECT_EQ(f.context.displayScale, 1);
    }
}

TEST(MainMenu, ButtonsInOrderWithHiddenHelp) {
    test::ShellFixture f;
    f.context.loginLevel = kService;
    CMainMenu menu(f.context);
    menu.setUp();
    EXPECT_EQ(menu.title(), "Main Menu");
    EXPECT_EQ(
        visibleNames(menu),
        (std::vector<std::string>{"LOGIN", "CONFIGURATION", "DOWNLOADS", "DIAGNOSTICS", "vxchat",
                                  "Calibrate", "About...", "Port...", "EXIT", "picture"}));
    EXPECT_FALSE(menu.get<ui::Button>("help").visible);
    EXPECT_FALSE(menu.click("QUEST"));
}

// Every button a user can press either leads to a screen, or exits, or does work of
// its own; a button whose screen does not exist yet must be disabled.
void expectNoDeadEnds(uint16_t code, const std::vector<std::string>& captions) {
    for (const auto& caption : captions) {
        test::ShellFixture f;
        f.context.loginLevel = kService;
        auto screen = registry::makeScreen(f.context, code);
        ASSERT_TRUE(screen);
        screen->setUp();
        const auto& button = screen->get<ui::Button>(caption);
        if (!button.enabled) continue;
        EXPECT_TRUE(button.onClick) << caption;
        f.context.nextScreen = code;
        f.ui.onRunScreen = [](ui::Screen& s) { s.close(); };
        screen->click(caption);
        if (f.context.nextScreen != code && f.context.nextScreen != kExit) {
            EXPECT_TRUE(registry::makeScreen(f.context, f.context.nextScreen)) << caption;
        }
    }
}

TEST(MainMenu, NoEnabledButtonLeadsToAMissingScreen) {
    expectNoDeadEnds(kMainMenu, {"LOGIN", "CONFIGURATION", "DOWNLOADS", "DIAGNOSTICS", "vxchat",
                                 "Calibrate", "About...", "Port...", "EXIT"});
}

TEST(Downloads, NoEnabledButtonLeadsToAMissingScreen) {
    expectNoDeadEnds(kDownloads, {"Extract EEPROM", "Update EEPROM", "Datalogger", "BACK"});
}

TEST(MainMenu, NavigationButtonsPlayMenuSoundSetCodeAndClose) {
    const std::vector<std::pair<std::string, uint16_t>> routes = {{"LOGIN", kLogin},
                                                                  {"DOWNLOADS", kDownloads},
                                                                  {"DIAGNOSTICS", kDiagnostics},
                                                                  {"vxchat", kVxchat},
                                                                  {"EXIT", kExit}};
    for (const auto& [caption, code] : routes) {
        test::ShellFixture f;
        f.context.loginLevel = kService;
        CMainMenu menu(f.context);
        menu.setUp();
        ASSERT_TRUE(menu.click(caption)) << caption;
        EXPECT_EQ(f.context.nextScreen, code) << caption;
        EXPECT_TRUE(menu.closed()) << caption;
        EXPECT_EQ(f.ui.sounds, std::vector<ui::Sound>{ui::Sound::Menu}) << caption;
        EXPECT_TRUE(f.ui.shown.empty()) << caption;  // EXIT asks nothing
    }
}

TEST(MainMenu, AboutShowsTheBoxAndLeavesTheMenuOpenWithFocusOnExit) {
    test::ShellFixture f;
    std::vector<std::string> aboutLines;
    f.ui.onRunScreen = [&](ui::Screen& screen) {
        EXPECT_EQ(screen.title(), "About Rudozi Vantrel");
        for (const auto& control : screen.controls())
            if (control->kind == ui::ControlKind::Label) aboutLines.push_back(control->name());
        EXPECT_EQ(screen.get<ui::Picture>("icon").picture, ui::PictureKind::AppIcon);
        EXPECT_TRUE(screen.click("OK"));
        EXPECT_TRUE(screen.closed());
    };
    f.context.nextScreen = kDiagnostics;
    CMainMenu menu(f.context);
    menu.setUp();
    ASSERT_TRUE(menu.click("About..."));
    EXPECT_EQ(aboutLines,
              (std::vector<std::string>{"Rudozi Vantrel", "Version 2.5", "External ActiSys IrDA"}));
    EXPECT_FALSE(menu.closed());
    EXPECT_EQ(menu.focus(), "EXIT");
    EXPECT_EQ(f.context.nextScreen, kDiagnostics);
}

TEST(Downloads, BackReturnsToMainMenu) {
    test::ShellFixture f;
    CDownloads menu(f.context);
    menu.setUp();
    EXPECT_EQ(menu.title(), "Download Menu");
    EXPECT_EQ(visibleNames(menu), (std::vector<std::string>{"Extract EEPROM", "Update EEPROM",
                                                            "Datalogger", "BACK", "picture"}));
    f.context.nextScreen = kDownloads;
    ASSERT_TRUE(menu.click("BACK"));
    EXPECT_EQ(f.context.nextScreen, kMainMenu);
    EXPECT_TRUE(menu.closed());
    EXPECT_EQ(f.ui.sounds, std::vector<ui::Sound>{ui::Sound::Menu});
}

}  // namespace
}  // namespace vantrel::shell

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellFixture.h"
#include "registry/ScreenRegistry.h"

namespace vantrel::shell {
namespace {

// Runs the loop with a script of (screen title, action) steps; each step checks the
// screen shown and acts on it. A loop that shows more screens than scripted fails
// instead of spinning.
struct Step {
    std::string title;
    std::function<void(ui::Screen&)> act;
};

std::vector<std::string> runScript(test::ShellFixture& f, std::vector<Step> steps) {
    std::vector<std::string> titles;
    size_t next = 0;
    f.ui.onRunScreen = [&](ui::Screen& screen) {
        titles.push_back(screen.title());
        if (next >= steps.size()) {
            ADD_FAILURE() << "unscripted screen " << screen.title();
            f.context.nextScreen = kExit;
            screen.close();
            return;
        }
        EXPECT_EQ(screen.title(), steps[next].title);
        steps[next++].act(screen);
    };
    registry::runProgram(f.context);
    EXPECT_EQ(next, steps.size());
    return titles;
}

auto click(std::string caption) {
    return [caption](ui::Screen& screen) { EXPECT_TRUE(screen.click(caption)) << caption; };
}

TEST(ScreenLoop, ShowsTheScreenNextScreenNamesUntilExit) {
    test::ShellFixture f;
    f.context.loginLevel = kService;  // the loop starts logged out
    bool vxchatVisible = true;
    runScript(f, {
                     {"Main Menu",
                      [&](ui::Screen& s) {
                          vxchatVisible = s.get<ui::Button>("vxchat").visible;
                          EXPECT_TRUE(s.click("DOWNLOADS"));
                      }},
                     {"Download Menu", click("BACK")},
                     {"Main Menu", click("DIAGNOSTICS")},
                     {"Diagnostics ", click("Back")},
                     {"Main Menu", click("LOGIN")},
                     {"Login",
                      [](ui::Screen& s) {
                          s.get<ui::ComboBox>("Login Level").select("Tarvek Service");
                          s.get<ui::Edit>("Password").text = "w4";
                          EXPECT_TRUE(s.click("ENTER"));
                          EXPECT_TRUE(s.click("BACK"));
                      }},
                     {"Main Menu",
                      [](ui::Screen& s) {
                          EXPECT_TRUE(s.get<ui::Button>("vxchat").visible);
                          EXPECT_TRUE(s.get<ui::Button>("Calibrate").visible);
                          EXPECT_TRUE(s.click("vxchat"));
                      }},
                     {"VXCHAT", click("BACK")},
                     {"Main Menu", click("EXIT")},
                 });
    EXPECT_FALSE(vxchatVisible);
    EXPECT_EQ(f.context.loginLevel, kService);
}

TEST(ScreenLoop, ScreenClosedWithoutNewCodeIsShownAgain) {
    test::ShellFixture f;
    runScript(f, {
                     {"Main Menu", [](ui::Screen& s) { s.close(); }},
                     {"Main Menu", click("EXIT")},
                 });
}

TEST(ScreenLoop, CodeWithoutScreenFallsBackToMainMenu) {
    test::ShellFixture f;
    for (uint16_t code : {uint16_t{4}, uint16_t{12}, uint16_t{0xFFFF}})
        EXPECT_FALSE(registry::makeScreen(f.context, code)) << code;
    runScript(f, {
                     {"Main Menu",
                      [&](ui::Screen& s) {
                          f.context.nextScreen = 4;
                          s.close();
                      }},
                     {"Main Menu", click("EXIT")},
                 });
}

TEST(ScreenLoop, EveryScreenOfTheShellHasItsTitleAndClass) {
    test::ShellFixture f;
    const std::vector<std::tuple<uint16_t, std::string, std::string>> screens = {
        {kMainMenu, "Main Menu", "CMainMenu"},
        {kDownloads, "Download Menu", "CDownloads"},
        {kLogin, "Login", "Cloginmenu"},
        {kVxchat, "VXCHAT", "CVxchat"},
        {kDiagnostics, "Diagnostics ", "CDiagnostics"},
    };
    for (const auto& [code, title, className] : screens) {
        auto screen = registry::makeScreen(f.context, code);
        ASSERT_TRUE(screen) << code;
        EXPECT_EQ(screen->title(), title);
        EXPECT_EQ(screen->className(), className);
        // The window's close button leaves through it.
        EXPECT_TRUE(screen->exitButton()) << title;
    }
}

}  // namespace
}  // namespace vantrel::shell

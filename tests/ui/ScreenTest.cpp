#include <gtest/gtest.h>

#include <memory>

#include "ui/Screen.h"

namespace vantrel::ui {
namespace {

class TwoButtons : public Screen {
public:
    TwoButtons() : Screen("Two") {
        section("Group");
        addButton("Send", [this] { ++sent; });
        addTwoStateButton("Close on Torque", "Close On Limit", nullptr);
        auto& hidden = addButton("Hidden", [this] { ++sent; });
        hidden.visible = false;
        addButton(
            "Send", [this] { sent += 10; }, "second-send");
    }
    const char* className() const override { return "TwoButtons"; }
    int sent = 0;
};

TEST(Screen, ClickFindsByIdBeforeNameAndRefusesHiddenButtons) {
    TwoButtons screen;
    EXPECT_TRUE(screen.click("second-send"));
    EXPECT_EQ(screen.sent, 10);
    EXPECT_TRUE(screen.click("Send"));
    EXPECT_EQ(screen.sent, 11);
    EXPECT_FALSE(screen.click("Hidden"));
    EXPECT_FALSE(screen.click("Missing"));
    EXPECT_EQ(screen.sent, 11);
}

TEST(Screen, TwoStateButtonSwapsCaptionOnClick) {
    TwoButtons screen;
    auto& toggle = screen.get<Button>("Close on Torque");
    EXPECT_TRUE(screen.click("Close on Torque"));
    EXPECT_EQ(toggle.caption, "Close On Limit");
    EXPECT_TRUE(toggle.isSecond());
    EXPECT_TRUE(screen.click("Close On Limit"));
    EXPECT_FALSE(toggle.isSecond());
}

TEST(Screen, ExitButtonIsTheFirstUsableButtonMarkedSo) {
    class Leaving : public Screen {
    public:
        Leaving() : Screen("Leaving") {
            addButton("EXIT", nullptr);  // a caption alone does not make an exit
            hidden = &addButton("Away", nullptr);
            hidden->isExit = true;
            hidden->visible = false;
            back = &addButton("Go back", nullptr);
            back->isExit = true;
        }
        const char* className() const override { return "Leaving"; }
        Button* hidden;
        Button* back;
    } screen;
    EXPECT_EQ(screen.exitButton(), screen.back);
    screen.hidden->visible = true;
    EXPECT_EQ(screen.exitButton(), screen.hidden);
    screen.hidden->enabled = false;
    screen.back->enabled = false;
    EXPECT_EQ(screen.exitButton(), nullptr);
}

// A page that flips its view and rebuilds its controls from the button's own handler,
// then goes on using its captures, as configuration pages do.
class Rebuilding : public Screen {
public:
    Rebuilding() : Screen("Rebuilding") { rebuild(); }
    const char* className() const override { return "Rebuilding"; }
    void rebuild() {
        clearControls();
        auto token = std::make_shared<int>(0);
        handlerCopy = token;
        addTwoStateButton(
            "Current", "Default",
            [this, token] {
                std::weak_ptr<int> mine = token;
                ++flips;
                rebuild();
                // The closure, token and all, must outlive the rebuild it started.
                closureAliveAfterRebuild = !mine.expired();
            },
            "view");
    }
    int flips = 0;
    bool closureAliveAfterRebuild = false;
    std::weak_ptr<int> handlerCopy;  // the newest button's captured token
};

TEST(Screen, HandlerThatRebuildsItsControlsRunsToTheEnd) {
    Rebuilding screen;
    std::weak_ptr<int> first = screen.handlerCopy;
    EXPECT_TRUE(screen.click("view"));
    EXPECT_EQ(screen.flips, 1);
    EXPECT_TRUE(screen.closureAliveAfterRebuild);
    // Once the handler has returned, the replaced button is freed; the new one lives.
    EXPECT_TRUE(first.expired());
    EXPECT_FALSE(screen.handlerCopy.expired());
    EXPECT_EQ(screen.controls().size(), 1u);
    EXPECT_TRUE(screen.click("view"));
    EXPECT_EQ(screen.flips, 2);
}

TEST(Screen, ControlsClearedOutsideAHandlerAreFreedAtOnce) {
    Rebuilding screen;
    std::weak_ptr<int> first = screen.handlerCopy;
    screen.rebuild();
    EXPECT_TRUE(first.expired());
}

}  // namespace
}  // namespace vantrel::ui

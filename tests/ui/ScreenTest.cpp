#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vantrel::ui

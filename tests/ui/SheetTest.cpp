#include <gtest/gtest.h>

#include <memory>

#include "ui/Sheet.h"

namespace vantrel::ui {
namespace {

class Counted : public Screen {
public:
    Counted(std::string title, int& setUps) : Screen(std::move(title)), setUps_(setUps) {}
    const char* className() const override { return "Counted"; }
    void setUp() override { ++setUps_; }

private:
    int& setUps_;
};

TEST(Sheet, ShowByTitleBringsThatPageForwardAndSetsItUpOnce) {
    int setUps = 0;
    Sheet sheet("Configuration");
    for (const char* title : {"Stop Settings", "ESD", "Misc"})
        sheet.addPage(std::make_unique<Counted>(title, setUps));
    sheet.show(0);
    EXPECT_TRUE(sheet.show("Misc"));
    EXPECT_EQ(sheet.current(), 2);
    EXPECT_TRUE(sheet.show("Stop Settings"));
    EXPECT_TRUE(sheet.show("Misc"));
    EXPECT_EQ(setUps, 2);
    // A page the sheet does not hold leaves the front page where it is.
    EXPECT_FALSE(sheet.show("Option - Modbus"));
    EXPECT_EQ(sheet.current(), 2);
    EXPECT_EQ(setUps, 2);
}

}  // namespace
}  // namespace vantrel::ui

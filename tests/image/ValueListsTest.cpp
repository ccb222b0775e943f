#include <gtest/gtest.h>

#include <chrono>
#include <clocale>

#include "DecimalCommaLocale.h"
#include "SimFixture.h"
#include "image/ValueLists.h"
#include "link/Commands.h"

namespace vantrel::image {
namespace {

TEST(ValueLists, IntegerListsAppendInclusiveRanges) {
    ui::ComboBox list;
    fillNumberList(list, 0, 0);
    EXPECT_EQ(list.entries(), std::vector<std::string>{"0"});

    list.assign({"keep"});  // appended to, never cleared
    fillNumberListSuffix(list, 25, 105, true, "%");
    ASSERT_EQ(list.entries().size(), 82u);
    EXPECT_EQ(list.entries()[0], "keep");
    EXPECT_EQ(list.entries()[1], "25%");
    EXPECT_EQ(list.entries().back(), "105%");

    list.clear();
    fillNumberListSuffix(list, 1, 2, false, "%");
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"1", "2"}));

    list.clear();
    fillHexList(list, 0, 255);
    ASSERT_EQ(list.entries().size(), 256u);
    EXPECT_EQ(list.entries()[0], "00h");
    EXPECT_EQ(list.entries()[10], "0Ah");
    EXPECT_EQ(list.entries()[255], "FFh");

    // The top of the 16-bit range ends instead of wrapping around.
    list.clear();
    fillNumberList(list, 65534, 65535);
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"65534", "65535"}));
    list.clear();
    fillNumberList(list, 5, 4);
    EXPECT_TRUE(list.entries().empty());
}

TEST(ValueLists, TenthsStopBelowTheLastValue) {
    ui::ComboBox list;
    fillTenthsList(list, 0.0f, 9.9f, false, "");
    ASSERT_EQ(list.entries().size(), 99u);
    EXPECT_EQ(list.entries()[1], "0.1");
    EXPECT_EQ(list.entries().back(), "9.8");

    list.clear();
    fillTenthsList(list, 0.0f, 25.6f, true, "s");
    ASSERT_EQ(list.entries().size(), 256u);
    EXPECT_EQ(list.entries()[125], "12.5s");
    EXPECT_EQ(list.entries().back(), "25.5s");
}

TEST(ValueLists, TenthsKeepTheirPointUnderADecimalCommaLocale) {
    const std::string locale = test::decimalCommaLocale();
    if (locale.empty())
        GTEST_SKIP() << "no locale with a decimal comma is installed and none could be made "
                        "(the locales package has the sources)";
    test::ScopedLocale numbers(LC_ALL, locale);
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    ui::ComboBox list;
    fillTenthsList(list, -1.0f, 1.0f, true, "s");
    ASSERT_EQ(list.count(), 20u);
    EXPECT_EQ(list.entries()[0], "-1.0s");
    EXPECT_EQ(list.entries()[5], "-0.5s");
    EXPECT_EQ(list.entries()[10], "0.0s");
    EXPECT_EQ(list.entries()[19], "0.9s");
}

TEST(ValueLists, DelayWaitsAtLeastTheTimeAsked) {
    auto start = std::chrono::steady_clock::now();
    delayMs(30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

class Travel : public ::testing::Test {
protected:
    void setRegister(int r, int32_t value) {
        for (int i = 0; i < 3; ++i)
            rig.actuator.setEeprom(kConfigBase + r + i, static_cast<uint8_t>(value >> (8 * i)));
    }
    int measure(int32_t position, int32_t openLimit) {
        setRegister(68, openLimit);
        setRegister(0, position);
        return measureTravel(rig.context);
    }
    test::SimRig rig;
};

TEST_F(Travel, ThousandthsOfTheWayFromHomeToTheOpenLimit) {
    const int32_t home = kTravelHomeCount;
    EXPECT_EQ(measure(home, home + 4000), 0);
    EXPECT_EQ(measure(home + 4000, home + 4000), 1000);
    EXPECT_EQ(measure(home + 2000, home + 4000), 500);
    EXPECT_EQ(measure(home + 3, home + 4000), 0);  // truncated toward zero
    EXPECT_EQ(measure(home - 2000, home + 4000), -500);
    EXPECT_EQ(measure(home + 100, home), 0);  // no travel set up
    EXPECT_EQ(rig.actuator.frames().size(), 2u * 6u);
    EXPECT_TRUE(rig.ui.errors.empty());
}

TEST_F(Travel, FailedReadGivesZeroAndIsReported) {
    rig.actuator.configure([](sim::Options& o) {
        o.faults.refusals = {{link::READ_REGISTER, 0, 'E', -1}};
    });
    EXPECT_EQ(measure(kTravelHomeCount + 2000, kTravelHomeCount + 4000), 0);
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"EEPROM Error"});
}

}  // namespace
}  // namespace vantrel::image

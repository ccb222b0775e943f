#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ui/Control.h"

namespace vantrel::ui {
namespace {

struct Reading {
    const char* text;
    std::optional<double> number;
};

class NumberReading : public testing::TestWithParam<Reading> {};

TEST_P(NumberReading, TakesOnlyNumbersOfTheRange) {
    Edit edit;
    edit.numeric = NumericRange{-10, 100, 1};
    edit.text = GetParam().text;
    EXPECT_EQ(edit.number(), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Edit, NumberReading,
    testing::Values(Reading{"12.5", 12.5}, Reading{" 7 ", 7.0}, Reading{"-10", -10.0},
                    Reading{"100.0", 100.0}, Reading{".5", 0.5}, Reading{"100.1", std::nullopt},
                    Reading{"-10.5", std::nullopt}, Reading{"12.25", std::nullopt},
                    Reading{"1,5", std::nullopt}, Reading{"", std::nullopt},
                    Reading{"-", std::nullopt}, Reading{"1e1", std::nullopt},
                    Reading{"inf", std::nullopt}, Reading{"nan", std::nullopt},
                    Reading{"12.5x", std::nullopt}, Reading{"+5", std::nullopt}));

TEST(Edit, SetNumberShowsTheRangesDecimalsAndReadsBack) {
    Edit edit;
    edit.numeric = NumericRange{-10, 100, 1};
    edit.setNumber(12.34);
    EXPECT_EQ(edit.text, "12.3");
    EXPECT_EQ(edit.number(), 12.3);
    edit.setNumber(100);
    EXPECT_EQ(edit.text, "100.0");
    edit.setNumber(-0.04);
    EXPECT_EQ(edit.text, "0.0");

    edit.numeric->decimals = 0;
    edit.setNumber(12.6);
    EXPECT_EQ(edit.text, "13");
    edit.text = "12.0";  // more decimals than the box takes
    EXPECT_EQ(edit.number(), std::nullopt);

    // Without a range: whole numbers shown, any number read.
    Edit plain;
    plain.setNumber(2.5e6);
    EXPECT_EQ(plain.text, "2500000");
    plain.text = "-0.125";
    EXPECT_EQ(plain.number(), -0.125);
}

}  // namespace
}  // namespace vantrel::ui

// The number read from a box of the "Set Limits" screen.
#include <gtest/gtest.h>

#include "pages/Limits.h"

namespace {

struct Typed {
    const char* text;
    std::optional<double> value;
};

TEST(TypedNumber, ReadsTheLeadingDecimalNumberElseNothing) {
    const Typed rows[] = {
        {"10.5", 10.5},
        {" +3", 3},
        {"-5000", -5000},
        {"2.5 turns", 2.5},
        {"1e2", 100},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"12345678901234567890", 1234567890123456789.0},
        {"nan", std::nullopt},
        {"-inf", std::nullopt},
        {"infinity", std::nullopt},
        {"1e999", std::nullopt},
        {"please get", std::nullopt},
        {"0", 0},
    };
    for (const Typed& row : rows)
        EXPECT_EQ(vantrel::pages::typedNumber(row.text), row.value) << row.text;
}

}  // namespace

#include "shell/Locale.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <clocale>
#include <ctime>

#include "DecimalCommaLocale.h"

namespace vantrel::shell {
namespace {

TEST(Locale, DatesFollowTheEnvironmentNumbersStayC) {
    const std::string locale = test::decimalCommaLocale();
    if (locale.empty())
        GTEST_SKIP() << "no locale with a decimal comma is installed and none could be made "
                        "(the locales package has the sources)";
    test::ScopedLocale restore(LC_ALL, "C");
    ::setenv("LC_ALL", locale.c_str(), 1);
    useEnvironmentLocale();
    ::unsetenv("LC_ALL");

    EXPECT_EQ(std::string(std::localeconv()->decimal_point), ".");
    std::tm december{};
    december.tm_mon = 11;
    char month[16] = {};
    std::strftime(month, sizeof month, "%b", &december);
    EXPECT_EQ(std::string(month), "Dez");
}

}  // namespace
}  // namespace vantrel::shell

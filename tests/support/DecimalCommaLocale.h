#pragma once
// A locale that writes numbers with a decimal comma, for tests that check that
// nothing the tool writes changes with the user's locale.
#include <clocale>
#include <string>

namespace vantrel::test {

// The name of such a locale: an installed one, or else one made from the system's
// locale sources into the build tree (LOCPATH then points there, for this process
// and the programs it starts). Empty when neither is possible.
std::string decimalCommaLocale();

// Sets one category of the process locale for the life of the object.
class ScopedLocale {
public:
    ScopedLocale(int category, const std::string& name);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    int category_;
    std::string saved_;
};

}  // namespace vantrel::test

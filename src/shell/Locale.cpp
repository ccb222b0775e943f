#include "shell/Locale.h"

#include <clocale>

namespace vantrel::shell {

void useEnvironmentLocale() {
    // A locale the system does not have leaves the C locale in place.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace vantrel::shell

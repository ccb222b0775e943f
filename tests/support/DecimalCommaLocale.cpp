#include "DecimalCommaLocale.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

namespace vantrel::test {

namespace {

namespace fs = std::filesystem;

constexpr const char* kName = "de_DE.UTF-8";
constexpr const char* kSource = "/usr/share/i18n/locales/de_DE";
constexpr const char* kLocaleCompiler = "/usr/bin/localedef";

// Tried with setlocale: newlocale leaks its search path when LOCPATH is set.
bool available(const char* name) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const bool found = std::setlocale(LC_ALL, name) != nullptr;
    std::setlocale(LC_ALL, saved.c_str());
    return found;
}

// Compiles the locale into the build tree once; concurrent test programs each
// compile into a folder of their own and the first rename wins.
bool compileIntoBuildTree() {
    const fs::path folder = VANTREL_TEST_LOCALE_DIR;
    const fs::path target = folder / kName;
    if (!fs::exists(target)) {
        if (!fs::exists(kSource) || ::access(kLocaleCompiler, X_OK) != 0) return false;
        std::error_code ec;
        fs::create_directories(folder, ec);
        const fs::path work = folder / ("work-" + std::to_string(::getpid()));
        fs::create_directories(work, ec);
        const std::string command = std::string(kLocaleCompiler) + " -i de_DE -f UTF-8 '" +
                                    (work / kName).string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) fs::rename(work / kName, target, ec);
        fs::remove_all(work, ec);
        if (!fs::exists(target)) return false;
    }
    ::setenv("LOCPATH", folder.c_str(), 1);
    return true;
}

}  // namespace

std::string decimalCommaLocale() {
    static const std::string name = [] {
        if (available(kName)) return std::string(kName);
        if (compileIntoBuildTree() && available(kName)) return std::string(kName);
        return std::string();
    }();
    return name;
}

ScopedLocale::ScopedLocale(int category, const std::string& name)
    : category_(category), saved_(std::setlocale(category, nullptr)) {
    std::setlocale(category, name.c_str());
}

ScopedLocale::~ScopedLocale() {
    std::setlocale(category_, saved_.c_str());
}

}  // namespace vantrel::test

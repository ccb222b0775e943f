#include "SimFixture.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

namespace vantrel::test {

namespace {
std::string makeTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}
}  // namespace

SimRig::SimRig(sim::Options options)
    : actuator(std::move(options)),
      server(actuator),
      folder(makeTempFolder()),
      settings(folder + "/settings.ini"),
      context(ui, settings) {
    if (!server.start()) throw std::runtime_error("cannot start the simulated actuator");
    context.portName = server.path();
}

SimRig::~SimRig() {
    server.stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void SimRig::reconnect() {
    context.portName = server.path();
}

}  // namespace vantrel::test

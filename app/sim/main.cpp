// vantrel-sim: a simulated actuator on a pseudo-terminal. Prints the terminal's
// path, then serves until SIGINT or SIGTERM.
#include <signal.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "shell/Locale.h"
#include "sim/Actuator.h"
#include "sim/CommandLine.h"
#include "sim/PtyServer.h"

using namespace vantrel;

namespace {

void printFrame(const std::array<uint8_t, 11>& frame) {
    std::string line = "frame:";
    char hex[4];
    for (uint8_t byte : frame) {
        std::snprintf(hex, sizeof hex, " %02X", byte);
        line += hex;
    }
    std::cerr << line << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    shell::useEnvironmentLocale();
    std::string error;
    const auto line = sim::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!line) {
        std::cerr << "vantrel-sim: " << error << std::endl;
        return 2;
    }
    if (line->help) {
        std::cout << sim::usageText();
        return 0;
    }

    // Block the stop signals before the server thread starts, so that it inherits
    // the mask and only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    sim::Actuator actuator(line->options);
    sim::PtyServer server(actuator);
    if (line->verbose) server.onFrame(printFrame);
    server.onNewTerminal([](const std::string& path) { std::cout << path << std::endl; });
    if (!server.start()) {
        std::cerr << "vantrel-sim: cannot create a pseudo-terminal" << std::endl;
        return 1;
    }
    std::cout << server.path() << std::endl;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
    return 0;
}

#pragma once
// A tool wired to a simulated actuator on a real pseudo-terminal: the actuator, its
// server, a settings store in a fresh temporary folder, the scripted Ui and a
// Context whose port is the simulator's terminal. Each test builds its own.
#include <string>

#include "ScriptedUi.h"
#include "shell/Context.h"
#include "shell/Settings.h"
#include "sim/Actuator.h"
#include "sim/PtyServer.h"

namespace vantrel::test {

struct SimRig {
    explicit SimRig(sim::Options options = {});
    ~SimRig();
    SimRig(const SimRig&) = delete;
    SimRig& operator=(const SimRig&) = delete;

    // Points the context at the server's terminal again (its path changes after a
    // hang-up fault).
    void reconnect();

    sim::Actuator actuator;
    sim::PtyServer server;
    std::string folder;  // temporary folder, removed with the rig
    shell::Settings settings;
    ScriptedUi ui;
    shell::Context context;
};

}  // namespace vantrel::test

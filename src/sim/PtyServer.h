#pragma once
// Serves a simulated actuator on a pseudo-terminal, in a thread of its own: reads
// command frames from the master side and writes the actuator's output, optionally
// paced at the real wire rate. The tool opens the slave side like a serial device.
#include <atomic>
#include <string>
#include <thread>

#include "sim/Actuator.h"

namespace vantrel::sim {

class PtyServer {
public:
    explicit PtyServer(Actuator& actuator);
    ~PtyServer();  // stops the thread and closes the terminal

    // Creates the terminal and starts serving; false when no terminal can be made.
    bool start();
    void stop();
    // The path of the slave side (for example /dev/pts/3). After a hang-up fault
    // the server makes a new terminal, so the path changes.
    std::string path() const;

private:
    Actuator& actuator_;
    // Further state lives in PtyServer.cpp.
};

}  // namespace vantrel::sim

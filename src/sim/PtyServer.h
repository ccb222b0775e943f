#pragma once
// Serves a simulated actuator on a pseudo-terminal, in a thread of its own: reads
// command frames from the master side and writes the actuator's output, optionally
// paced at the real wire rate. The tool opens the slave side like a serial device.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/Actuator.h"

namespace vantrel::sim {

// One byte on the wire at 115200 baud, 10 bits a byte (start, 8 data, stop).
inline constexpr std::chrono::nanoseconds kByteTime{86806};

class PtyServer {
public:
    explicit PtyServer(Actuator& actuator);
    ~PtyServer();  // stops the thread and closes the terminal
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the terminal and starts serving; false when no terminal can be made.
    bool start();
    void stop();
    // The path of the slave side (for example /dev/pts/3). After a hang-up fault
    // the server makes a new terminal, whose path may differ (the system may also
    // hand out the freed number again).
    std::string path() const;
    // How many times the line was hung up.
    int hangUps() const { return hangUps_; }

    // Called with every frame received (from the server thread), e.g. to print it.
    void onFrame(std::function<void(const std::array<uint8_t, 11>&)> callback);
    // Called with the new path after a hang-up has made a fresh terminal.
    void onNewTerminal(std::function<void(const std::string&)> callback);

private:
    bool openTerminal();
    void closeTerminal();
    void serve();
    void takeFrames();
    void send(const Output& output);
    void waitForDrain();
    bool writeAll(const uint8_t* bytes, size_t count);
    // Waits until the time given, or until stop() is called; false when stopping.
    bool sleepUntil(std::chrono::steady_clock::time_point until);

    Actuator& actuator_;
    mutable std::mutex pathMutex_;
    std::string path_;
    int master_ = -1;
    int slave_ = -1;  // held open so the master never sees a hang-up between operations
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> hangUps_{0};
    std::vector<uint8_t> input_;
    std::chrono::steady_clock::time_point wireFree_{};
    std::function<void(const std::array<uint8_t, 11>&)> onFrame_;
    std::function<void(const std::string&)> onNewTerminal_;
};

}  // namespace vantrel::sim

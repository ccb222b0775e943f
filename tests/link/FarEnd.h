#pragma once
// The actuator's end of a real pseudo-terminal, played by hand in a thread: it reads
// 11-byte command frames, records them and answers each with what the test's
// responder returns. Also builds reply frames and records for the tests.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vantrel::test {

using Frame = std::array<uint8_t, 11>;
using Bytes = std::vector<uint8_t>;

class FarEnd {
public:
    // One thing the far end does in answer to a frame.
    struct Step {
        Bytes bytes;
        std::chrono::milliseconds delay{0};  // before the bytes are sent
        bool hangUp = false;                 // close the line after the bytes
    };
    using Responder = std::function<std::vector<Step>(const Frame&)>;

    FarEnd();  // opens the terminal pair; check ok()
    ~FarEnd();
    FarEnd(const FarEnd&) = delete;
    FarEnd& operator=(const FarEnd&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& path() const { return path_; }

    // Starts answering frames in a thread of its own.
    void serve(Responder responder);
    std::vector<Frame> frames() const;

private:
    void run();
    void perform(const Step& step);

    int master_ = -1;
    int slave_ = -1;  // held so the terminal stays up between openers
    std::string path_;
    Responder responder_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Frame> frames_;
};

// A 12-byte reply with the given status and data bytes 7..10 and a correct checksum.
Bytes reply(uint8_t status, uint8_t aux = 0, uint8_t d1 = 0, uint8_t d2 = 0, uint8_t d3 = 0);
// A 136-byte record: lead-in, four header bytes, number, data, CRC low then high.
Bytes record(uint8_t leadIn, uint8_t number, uint8_t fill, const char* header = "LOCK");
// The record's data: byte i is fill + i.
std::array<uint8_t, 128> recordData(uint8_t fill);

}  // namespace vantrel::test

#pragma once
// The link object of one user operation. Creating it opens the shared port (unless
// already open) and clears the low error flags; destroying it closes the port.
// sendCommand sends one 11-byte frame and checks the 12-byte reply; reply bytes
// 7..10 stay readable in the buffer until the next command. When the port did not
// open, "Port did not open" is the one message the operation shows: every later
// command fails at once, quietly.
#include <array>
#include <chrono>
#include <cstdint>
#include <span>

#include "link/LinkState.h"

namespace vantrel::link {

// The one read time-out of the link: every wait and every byte read is bounded by it.
inline constexpr std::chrono::milliseconds kReadTimeout{1000};
// Writes of a frame must complete within this.
inline constexpr std::chrono::milliseconds kWriteTimeout{3000};
// drainUntilQuiet ends after this long without a byte. A late burst that resumes at
// all does so soon after its time-out; every late group pays this once, so it is
// kept below the read time-out.
inline constexpr std::chrono::milliseconds kDrainQuiet{700};
// The longest drainUntilQuiet takes: the rest of the largest group at the wire rate
// (about 1.5 s) after the time-out, with room to spare.
inline constexpr std::chrono::milliseconds kDrainLimit{5000};

class LinkPort {
public:
    explicit LinkPort(LinkState& state);
    ~LinkPort();
    LinkPort(const LinkPort&) = delete;
    LinkPort& operator=(const LinkPort&) = delete;

    bool sendCommand(uint8_t command, uint8_t address, uint8_t data1, uint8_t data2, uint8_t data3,
                     bool report);

    // Receives one 136-byte record into buffer; with lead-in 'B' the buffer receives
    // a 132-byte slot (number, data, CRC low, CRC high, CR), otherwise the 128 data bytes.
    bool receiveBlock(uint8_t* buffer, uint8_t leadIn);
    // Receives 544 bytes (four records) without examining them, beyond dropping
    // noise that came before the first lead-in.
    bool receiveBurst(uint8_t* buffer);
    // Receives count records of 136 bytes back to back, each within 1000 ms, noise
    // before the first record's marker dropped. Noise between records pushes the last
    // of them further: it reads on until the buffer holds count whole records, the
    // line stays quiet for the read time-out, or the buffer is full. A late record
    // ends it with "Timeout receiving datalog" and true; received, when given, is set
    // to the number of bytes stored (a record cut short counts what arrived).
    bool receiveRecords(std::span<uint8_t> buffer, int count, int* received = nullptr);
    // Drops what the actuator is still sending until the line has been quiet for
    // kDrainQuiet (for at most kDrainLimit), so that the rest of a late burst is not
    // taken for the reply to the next command.
    void drainUntilQuiet();

    // Closes the shared port early (the destructor does it too).
    void close();

    // False when the port did not open as this link was created.
    bool opened() const { return opened_; }

    // True when the last sendCommand got a whole reply with a correct checksum,
    // whatever its status: false when nothing, or only part, or garbage came back.
    bool replied() const { return replied_; }

    // Bytes 0..11 hold the last frame sent, overwritten by the reply; byte 12 is 0.
    const std::array<uint8_t, 13>& buffer() const { return buffer_; }
    uint8_t reply(int index) const { return buffer_[index]; }

    // Frames sent through this link so far.
    int framesSent() const { return static_cast<int>(state_.framesSent - firstFrame_); }
    LinkState& state() const { return state_; }

    // Scratch byte; the whole-image update remembers a Pro-generation actuator in it.
    uint8_t scratch = 0;

private:
    using Deadline = std::chrono::steady_clock::time_point;
    enum class ReadEnd { Complete, TimedOut, LineError };

    // Reads count bytes one at a time until the deadline; bytes that do not arrive
    // leave what was in place. count is how many arrived.
    ReadEnd readBytes(uint8_t* into, int count, Deadline deadline, int& arrived);
    // Noise before the first record pushes the tail of the last record past the size
    // read. When the marker is not at the start, drops what precedes it and reads on,
    // within the read time-out, until size bytes from the marker are stored; stored is
    // how many are. A buffer without the marker is left as it is.
    ReadEnd dropNoiseBefore(const uint8_t* marker, int markerSize, uint8_t* buffer, int size,
                            int& stored);
    // Reads on, one byte within the read time-out of the one before, until buffer
    // holds count whole datalog records or is full; stored is how many bytes it holds.
    ReadEnd readOnToWholeRecords(std::span<uint8_t> buffer, int count, int& stored);
    // Sets "Event Not RX" and names the parts of the line event that the port saw.
    void lineEventNotRx();

    LinkState& state_;
    std::array<uint8_t, 13> buffer_{};
    bool replied_ = false;
    bool opened_ = true;
    uint64_t firstFrame_;  // the state's frame count when this link was made
};

}  // namespace vantrel::link

#pragma once
// A small POSIX serial port: termios raw 8N1 at 115200 baud, exclusive use, and
// reads, writes and waits that are each bounded by a deadline. Platform details
// stay in SerialPort.cpp; callers see a bool result and an error enum.
#include <termios.h>
#include <array>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantrel::link {

class SerialPort {
public:
    enum class Error {
        None,
        NotFound,          // no such device
        PermissionDenied,  // not allowed to open it (not in the dialout group?)
        Busy,              // held by another program
        NotATerminal,      // the path is not a serial device
        Settings,          // the line settings could not be read or applied
        Io,                // read or write failed
        Timeout,           // a bounded operation ran out of time
        Closed,            // the port is not open
        Other,
    };

    // What a bounded wait for incoming data saw.
    enum class Event {
        Received,   // at least one byte can be read
        LineError,  // hang-up or error on the line
        None,       // nothing within the time allowed
    };

    // What the last LineError event consisted of.
    struct LineEvents {
        bool error = false;   // a fault on the line (framing, overrun, device error)
        bool hangUp = false;  // the device went away or the far end hung up
    };

    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device for exclusive read and write (TIOCEXCL and flock), raw 8N1.
    bool open(const std::string& path);
    // Reads the current line settings; false when the device refuses.
    bool readSettings();
    // Applies 115200 baud, 8N1, raw, DTR and RTS asserted. Modem-line ioctls that
    // the device does not support (a pseudo-terminal) are not errors.
    bool applySettings();
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Writes all bytes within the timeout.
    bool write(const uint8_t* bytes, size_t count, std::chrono::milliseconds timeout);
    // Waits up to the timeout for a byte to arrive.
    Event wait(std::chrono::milliseconds timeout);
    // Reads one byte, waiting up to the timeout; false when none arrives.
    bool readByte(uint8_t& byte, std::chrono::milliseconds timeout);
    // Drops whatever is in the receive queue.
    void clearInput();

    Error error() const { return error_; }
    // A sentence for the user naming the cause of the last failure (open in particular).
    // Calls made on a closed port do not replace it, so after a failed open it still
    // names why the port did not open.
    const std::string& errorText() const { return errorText_; }
    // The parts of the last LineError seen by wait or readByte.
    LineEvents lineEvents() const { return lineEvents_; }
    // True once the line has hung up; the handle is then useless and must be reopened.
    bool hungUp() const { return hungUp_; }

private:
    void setError(Error error, int errnoValue, const std::string& what);
    // The line settings as they stand; false (and the error set) when unreadable.
    bool currentSettings(termios& settings);
    // Waits up to the timeout for input and moves what is there into the buffer.
    Event fill(std::chrono::milliseconds timeout);
    Event lineError(bool error, bool hangUp);

    int fd_ = -1;
    std::string path_;
    Error error_ = Error::None;
    std::string errorText_;
    LineEvents lineEvents_;
    bool hungUp_ = false;
    // Bytes already read from the device but not yet handed out: one read call takes
    // everything that has arrived, readByte then serves it without further calls.
    std::array<uint8_t, 4096> input_{};
    size_t inputHead_ = 0;
    size_t inputTail_ = 0;
};

}  // namespace vantrel::link

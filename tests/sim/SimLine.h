#pragma once
// The tool's end of the line, kept minimal for the simulator's own tests: raw
// frames out, raw bytes in, every read bounded.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::test {

class SimLine {
public:
    explicit SimLine(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) return;
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
    ~SimLine() {
        if (fd_ >= 0) ::close(fd_);
    }
    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    static std::array<uint8_t, 11> frame(uint8_t command, uint8_t address = 0, uint8_t d1 = 0,
                                         uint8_t d2 = 0, uint8_t d3 = 0) {
        std::array<uint8_t, 11> f = {'H', 'H', 'C', '0', '2', command, address, d1, d2, d3, 0};
        for (int i = 0; i < 10; ++i)
            f[10] = static_cast<uint8_t>(f[10] + f[i]);
        return f;
    }

    bool write(const uint8_t* bytes, size_t count) {
        return ::write(fd_, bytes, count) == static_cast<ssize_t>(count);
    }
    bool send(uint8_t command, uint8_t address = 0, uint8_t d1 = 0, uint8_t d2 = 0,
              uint8_t d3 = 0) {
        const auto f = frame(command, address, d1, d2, d3);
        return write(f.data(), f.size());
    }

    // Reads up to count bytes; stops early when nothing arrives for quietMs.
    std::vector<uint8_t> read(size_t count, int quietMs = 1000) {
        std::vector<uint8_t> bytes;
        while (bytes.size() < count) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, quietMs) <= 0 || !(p.revents & POLLIN)) break;
            uint8_t chunk[512];
            const ssize_t n = ::read(fd_, chunk, std::min(sizeof chunk, count - bytes.size()));
            if (n <= 0) break;
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        return bytes;
    }

    // Sends a frame and reads its 12-byte reply (fewer bytes when the reply is missing).
    std::vector<uint8_t> exchange(uint8_t command, uint8_t address = 0, uint8_t d1 = 0,
                                  uint8_t d2 = 0, uint8_t d3 = 0) {
        send(command, address, d1, d2, d3);
        return read(12);
    }

    // True when the other side hung up.
    bool hungUp(int waitMs = 1000) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, waitMs) <= 0) return false;
        if (p.revents & (POLLHUP | POLLERR)) return true;
        uint8_t byte;
        return ::read(fd_, &byte, 1) < 0;
    }

private:
    int fd_ = -1;
};

}  // namespace vantrel::test

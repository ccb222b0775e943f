#include "sim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "link/Commands.h"

namespace vantrel::sim {

using Clock = std::chrono::steady_clock;

namespace {

// Paced output goes out in small pieces, each when its last byte would have left.
constexpr size_t kPacedChunkBytes = 16;
// When nobody drains the terminal for this long, the rest of the output is dropped.
constexpr auto kStallLimit = std::chrono::seconds(2);
constexpr size_t kReadChunkBytes = 256;
constexpr auto kDrainLimit = std::chrono::milliseconds(500);
constexpr auto kDrainPoll = std::chrono::milliseconds(5);

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

PtyServer::PtyServer(Actuator& actuator) : actuator_(actuator) {}

PtyServer::~PtyServer() {
    stop();
}

void PtyServer::onFrame(std::function<void(const std::array<uint8_t, 11>&)> callback) {
    onFrame_ = std::move(callback);
}

void PtyServer::onNewTerminal(std::function<void(const std::string&)> callback) {
    onNewTerminal_ = std::move(callback);
}

bool PtyServer::start() {
    if (thread_.joinable()) return true;
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    if (!openTerminal()) {
        closeFd(wakeRead_);
        closeFd(wakeWrite_);
        return false;
    }
    stopping_ = false;
    thread_ = std::thread([this] { serve(); });
    return true;
}

void PtyServer::stop() {
    if (thread_.joinable()) {
        stopping_ = true;
        const char byte = 1;
        [[maybe_unused]] auto n = ::write(wakeWrite_, &byte, 1);
        thread_.join();
    }
    closeTerminal();
    closeFd(wakeRead_);
    closeFd(wakeWrite_);
}

std::string PtyServer::path() const {
    std::lock_guard lock(pathMutex_);
    return path_;
}

bool PtyServer::openTerminal() {
    int master = -1, slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return false;
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B115200);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    char name[PATH_MAX] = {};
    if (::ttyname_r(slave, name, sizeof name) != 0) {
        ::close(master);
        ::close(slave);
        return false;
    }
    master_ = master;
    slave_ = slave;
    std::lock_guard lock(pathMutex_);
    path_ = name;
    return true;
}

void PtyServer::closeTerminal() {
    closeFd(master_);
    closeFd(slave_);
}

void PtyServer::serve() {
    while (!stopping_) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents) break;
        if (!(fds[0].revents & POLLIN)) continue;
        uint8_t chunk[kReadChunkBytes];
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n <= 0) continue;
        input_.insert(input_.end(), chunk, chunk + n);
        takeFrames();
    }
}

// Takes every complete frame out of the input, syncing on the frame header; bytes
// before a header are line noise and dropped.
void PtyServer::takeFrames() {
    const auto header = std::begin(link::kFrameHeader);
    const auto headerEnd = std::end(link::kFrameHeader);
    while (true) {
        auto start = std::search(input_.begin(), input_.end(), header, headerEnd);
        if (start == input_.end()) {
            // Keep a tail that may be the beginning of a header.
            const size_t keep = std::min<size_t>(input_.size(), std::size(link::kFrameHeader) - 1);
            input_.erase(input_.begin(), input_.end() - keep);
            return;
        }
        input_.erase(input_.begin(), start);
        if (input_.size() < static_cast<size_t>(link::kCommandFrameBytes)) return;
        std::array<uint8_t, 11> frame;
        std::copy_n(input_.begin(), frame.size(), frame.begin());
        input_.erase(input_.begin(), input_.begin() + frame.size());
        if (onFrame_) onFrame_(frame);
        // On a paced line the frame itself took its wire time to arrive: the reply
        // cannot start before the last byte of the command is in.
        if (actuator_.paced())
            wireFree_ =
                std::max(wireFree_, Clock::now() + kByteTime * int64_t{link::kCommandFrameBytes});
        for (const auto& output : actuator_.handle(frame)) {
            if (stopping_) return;
            if (output.hangUp) {
                waitForDrain();
                closeTerminal();
                input_.clear();
                const bool reopened = openTerminal();
                ++hangUps_;
                if (reopened && onNewTerminal_) onNewTerminal_(path());
                return;
            }
            send(output);
        }
    }
}

void PtyServer::send(const Output& output) {
    const bool pace = actuator_.paced();
    if (output.delayMs > 0) {
        wireFree_ = std::max(Clock::now(), wireFree_) + std::chrono::milliseconds(output.delayMs);
        if (!sleepUntil(wireFree_)) return;
    }
    if (!pace) {
        writeAll(output.bytes.data(), output.bytes.size());
        return;
    }
    // Schedule against absolute time from when the line is free, so it does not drift.
    const auto start = std::max(Clock::now(), wireFree_);
    const size_t total = output.bytes.size();
    for (size_t offset = 0; offset < total; offset += kPacedChunkBytes) {
        const size_t end = std::min(total, offset + kPacedChunkBytes);
        if (!sleepUntil(start + kByteTime * static_cast<int64_t>(end))) return;
        if (!writeAll(output.bytes.data() + offset, end - offset)) break;
    }
    wireFree_ = start + kByteTime * static_cast<int64_t>(total);
}

// A terminal that closes loses what its reader has not taken yet, so a hang-up first
// gives the reader a bounded moment to take what was sent before it.
void PtyServer::waitForDrain() {
    const auto deadline = Clock::now() + kDrainLimit;
    int unread = 0;
    while (::ioctl(slave_, FIONREAD, &unread) == 0 && unread > 0 && Clock::now() < deadline) {
        if (!sleepUntil(Clock::now() + kDrainPoll)) return;
    }
    // Bytes still on their way into the terminal's queue get the same moment.
    sleepUntil(Clock::now() + kDrainPoll);
}

bool PtyServer::writeAll(const uint8_t* bytes, size_t count) {
    auto lastProgress = Clock::now();
    while (count > 0 && !stopping_) {
        const ssize_t n = ::write(master_, bytes, count);
        if (n > 0) {
            bytes += n;
            count -= static_cast<size_t>(n);
            lastProgress = Clock::now();
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (Clock::now() - lastProgress > kStallLimit) {
            // Nobody reads the terminal: drop what is queued for it and the rest.
            ::tcflush(slave_, TCIFLUSH);
            return false;
        }
        pollfd fds[2] = {{master_, POLLOUT, 0}, {wakeRead_, POLLIN, 0}};
        ::poll(fds, 2, 50);
    }
    return count == 0;
}

bool PtyServer::sleepUntil(Clock::time_point until) {
    while (!stopping_) {
        const auto left = until - Clock::now();
        if (left <= Clock::duration::zero()) return true;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timespec timeout{static_cast<time_t>(ns / 1'000'000'000),
                         static_cast<long>(ns % 1'000'000'000)};
        pollfd wake{wakeRead_, POLLIN, 0};
        if (::ppoll(&wake, 1, &timeout, nullptr) > 0) return false;
    }
    return false;
}

}  // namespace vantrel::sim

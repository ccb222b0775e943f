#include "link/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantrel::link {

namespace {

using Clock = std::chrono::steady_clock;

struct Cause {
    SerialPort::Error error;
    const char* sentence;  // null: use the system's own words
};

// The one place that turns a system error into our error and the user's sentence.
Cause causeOf(int errnoValue) {
    using E = SerialPort::Error;
    switch (errnoValue) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return {E::NotFound, "no such device"};
        case EACCES:
        case EPERM:
            return {E::PermissionDenied, "permission denied; is the user in the dialout group?"};
        case EBUSY:
#if EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK:
#endif
        case EAGAIN:
            return {E::Busy, "in use by another program"};
        case ENOTTY:
            return {E::NotATerminal, "not a serial device"};
        case EISDIR:
            return {E::NotATerminal, "is a directory, not a serial device"};
        case EIO:
            return {E::Io, "input/output error; was the adapter unplugged?"};
        case ETIMEDOUT:
            return {E::Timeout, "timed out"};
        default:
            return {E::Other, nullptr};
    }
}

// Milliseconds left until the deadline, rounded up so a short remainder still waits.
int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Modem-line ioctls fail this way on devices without modem lines (pseudo-terminals).
bool unsupported(int errnoValue) {
    return errnoValue == EINVAL || errnoValue == ENOTTY || errnoValue == ENOTSUP ||
           errnoValue == EOPNOTSUPP;
}

}  // namespace

SerialPort::~SerialPort() {
    close();
}

void SerialPort::setError(Error error, int errnoValue, const std::string& what) {
    error_ = error;
    std::string sentence = what;
    if (errnoValue != 0) {
        const Cause cause = causeOf(errnoValue);
        sentence += cause.sentence ? cause.sentence : std::strerror(errnoValue);
    }
    errorText_ = path_.empty() ? sentence : path_ + ": " + sentence;
}

bool SerialPort::open(const std::string& path) {
    close();
    path_ = path;
    lineEvents_ = {};
    hungUp_ = false;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int e = errno;
        setError(causeOf(e).error, e, "");
        return false;
    }
    if (!::isatty(fd)) {
        ::close(fd);
        setError(Error::NotATerminal, ENOTTY, "");
        return false;
    }
    // flock keeps out a second program even when it runs as root (TIOCEXCL does not).
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(fd);
        setError(causeOf(e).error, e, "");
        return false;
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        const int e = errno;
        ::close(fd);
        setError(causeOf(e).error, e, "");
        return false;
    }
    fd_ = fd;
    inputHead_ = inputTail_ = 0;
    error_ = Error::None;
    errorText_.clear();
    return true;
}

bool SerialPort::currentSettings(termios& settings) {
    if (fd_ < 0) {
        error_ = Error::Closed;
        return false;
    }
    if (::tcgetattr(fd_, &settings) != 0) {
        setError(Error::Settings, errno, "cannot read the line settings: ");
        return false;
    }
    return true;
}

bool SerialPort::readSettings() {
    termios settings{};
    return currentSettings(settings);
}

bool SerialPort::applySettings() {
    termios settings{};
    if (!currentSettings(settings)) return false;
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    // With VMIN 1 a non-blocking read of an empty queue fails with EAGAIN rather than
    // returning 0, which is kept for end of file; every wait is a bounded poll.
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, B115200) != 0 || ::cfsetospeed(&settings, B115200) != 0 ||
        ::tcsetattr(fd_, TCSANOW, &settings) != 0) {
        setError(Error::Settings, errno, "cannot apply the line settings: ");
        return false;
    }
    // The infrared adapter draws its power from DTR and RTS.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd_, TIOCMBIS, &lines) != 0 && !unsupported(errno)) {
        setError(Error::Settings, errno, "cannot raise DTR and RTS: ");
        return false;
    }
    return true;
}

void SerialPort::close() {
    if (fd_ >= 0) {
        // Exclusive mode would otherwise outlive us while anyone else holds the device.
        ::ioctl(fd_, TIOCNXCL);
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    fd_ = -1;
    inputHead_ = inputTail_ = 0;
}

bool SerialPort::write(const uint8_t* bytes, size_t count, std::chrono::milliseconds timeout) {
    if (fd_ < 0) {
        error_ = Error::Closed;
        return false;
    }
    const auto deadline = Clock::now() + timeout;
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            setError(causeOf(errno).error, errno, "cannot write: ");
            return false;
        }
        pollfd p{fd_, POLLOUT, 0};
        const int left = millisecondsUntil(deadline);
        if (left == 0) {
            setError(Error::Timeout, 0, "cannot write: the device does not take the data");
            return false;
        }
        const int ready = ::poll(&p, 1, left);
        if (ready < 0 && errno != EINTR) {
            setError(Error::Io, errno, "cannot write: ");
            return false;
        }
        if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) && !(p.revents & POLLOUT)) {
            setError(Error::Io, EIO, "cannot write: ");
            return false;
        }
    }
    return true;
}

SerialPort::Event SerialPort::lineError(bool error, bool hangUp) {
    lineEvents_ = {error, hangUp};
    hungUp_ = hungUp_ || hangUp;
    error_ = Error::Io;
    errorText_ = path_ + (hangUp ? ": the line hung up" : ": error on the line");
    return Event::LineError;
}

SerialPort::Event SerialPort::fill(std::chrono::milliseconds timeout) {
    if (fd_ < 0) {
        error_ = Error::Closed;
        return Event::LineError;
    }
    if (inputHead_ == inputTail_) inputHead_ = inputTail_ = 0;
    const auto deadline = Clock::now() + timeout;
    bool sawError = false;
    bool sawHangUp = false;
    for (;;) {
        // Take whatever is already there before waiting: it costs one call.
        const ssize_t n = ::read(fd_, input_.data() + inputTail_, input_.size() - inputTail_);
        if (n > 0) {
            inputTail_ += static_cast<size_t>(n);
            return Event::Received;
        }
        // End of file or EIO: the far side of the line is gone.
        if (n == 0 || (n < 0 && errno == EIO)) return lineError(sawError, true);
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return lineError(true, sawHangUp);
        // Nothing to read: after a hang-up or error was seen, nothing more will come.
        if (sawError || sawHangUp) return lineError(sawError, sawHangUp);

        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, millisecondsUntil(deadline));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return lineError(true, false);
        }
        // A device that keeps saying "ready" yet delivers nothing must not hold the
        // caller past its deadline.
        if (ready == 0 || Clock::now() >= deadline) {
            error_ = Error::Timeout;
            return Event::None;
        }
        // Read once more even then: bytes that came before the hang-up still count.
        // A hung-up terminal also reports an error; the hang-up says all there is.
        sawHangUp = (p.revents & POLLHUP) != 0;
        sawError = !sawHangUp && (p.revents & (POLLERR | POLLNVAL)) != 0;
    }
}

SerialPort::Event SerialPort::wait(std::chrono::milliseconds timeout) {
    if (inputHead_ < inputTail_) return Event::Received;
    return fill(timeout);
}

bool SerialPort::readByte(uint8_t& byte, std::chrono::milliseconds timeout) {
    if (inputHead_ == inputTail_ && fill(timeout) != Event::Received) return false;
    byte = input_[inputHead_++];
    return true;
}

void SerialPort::clearInput() {
    inputHead_ = inputTail_ = 0;
    if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

}  // namespace vantrel::link

#include "link/LinkTrace.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "link/Commands.h"
#include "link/Crc16.h"

namespace vantrel::link {

namespace {

constexpr int kFrameCommandByte = 5;  // in the 11 bytes on the wire
constexpr int kStatusByte = 5;        // in the 12-byte reply
constexpr int kChecksumByte = 11;
constexpr int kRecordNumberByte = 5;
constexpr int kRecordDataByte = 6;
constexpr int kRecordCrcLowByte = kRecordDataByte + kRecordDataBytes;
constexpr mode_t kTraceMode = 0644;

void appendTime(std::string& line) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    char text[32];
    std::snprintf(text, sizeof text, "%lld",
                  static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
    line += text;
}

void appendName(std::string& line, uint8_t command) {
    line += ' ';
    if (const char* name = commandName(command)) {
        line += name;
    } else {
        char text[16];
        std::snprintf(text, sizeof text, "UNKNOWN_%02X", command);
        line += text;
    }
}

void appendFlags(std::string& line, uint32_t flags) {
    char text[24];
    std::snprintf(text, sizeof text, " flags=%04X", static_cast<unsigned>(flags));
    line += text;
}

void appendHex(std::string& line, const uint8_t* bytes, int count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < count; ++i) {
        line += ' ';
        line += kDigits[bytes[i] >> 4];
        line += kDigits[bytes[i] & 0x0F];
    }
}

}  // namespace

LinkTrace::~LinkTrace() {
    if (fd_ >= 0) ::close(fd_);
}

bool LinkTrace::open(const std::string& path) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, kTraceMode);
    if (fd_ < 0) {
        errorText_ = path + ": " + std::strerror(errno);
        return false;
    }
    errorText_.clear();
    return true;
}

void LinkTrace::writeLine(std::string& line) {
    line += '\n';
    // One write per line: a line is either in the file whole or not at all. A trace
    // that cannot be written must not stop the exchange it describes.
    const char* next = line.data();
    size_t left = line.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, next, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        next += n;
        left -= static_cast<size_t>(n);
    }
}

void LinkTrace::frameSent(const uint8_t* frame, bool written, uint32_t flags) {
    if (fd_ < 0) return;
    std::string line;
    appendTime(line);
    line += " >";
    appendName(line, frame[kFrameCommandByte]);
    if (!written) line += " write-failed";
    appendFlags(line, flags);
    appendHex(line, frame, kCommandFrameBytes);
    writeLine(line);
}

void LinkTrace::replyReceived(uint8_t command, const uint8_t* reply, int arrived, uint32_t flags) {
    if (fd_ < 0) return;
    std::string line;
    appendTime(line);
    line += " <";
    appendName(line, command);
    if (arrived == 0) {
        line += " no-reply";
    } else if (arrived < kReplyFrameBytes) {
        line += " short";
    } else {
        const uint8_t status = reply[kStatusByte];
        char text[32];
        if (status >= 0x21 && status < 0x7F)
            std::snprintf(text, sizeof text, " status=%c", status);
        else
            std::snprintf(text, sizeof text, " status=%02X", status);
        line += text;
        line += frameChecksum(reply) == reply[kChecksumByte] ? " sum=ok" : " sum=bad";
    }
    appendFlags(line, flags);
    appendHex(line, reply, arrived);
    writeLine(line);
}

void LinkTrace::recordReceived(const uint8_t* record, int arrived, uint32_t flags) {
    if (fd_ < 0) return;
    std::string line;
    appendTime(line);
    line += " < record";
    if (arrived < kRecordBytes) {
        line += " short";
    } else {
        const uint8_t* number = record + kRecordNumberByte;
        const uint16_t crc =
            crc16(record + kRecordDataByte, kRecordDataBytes, crc16(number, 1, kCrcStart));
        const bool good = record[kRecordCrcLowByte] == (crc & 0xFF) &&
                          record[kRecordCrcLowByte + 1] == (crc >> 8);
        char text[32];
        std::snprintf(text, sizeof text, " number=%u crc=%s", *number, good ? "ok" : "bad");
        line += text;
    }
    appendFlags(line, flags);
    appendHex(line, record, arrived);
    writeLine(line);
}

}  // namespace vantrel::link

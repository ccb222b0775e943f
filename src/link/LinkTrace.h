#pragma once
// The link trace: one line for every frame sent and every reply or record received,
//   TIME DIR WHAT [status=S sum=ok|bad] [crc=ok|bad] flags=FFFF HEX...
// TIME is the monotonic clock in microseconds, DIR ">" for sent and "<" for received,
// WHAT the command's name (or "record"). Each line goes to the file with one write
// call as the exchange happens, so the trace of a run that hangs or is killed holds
// everything up to that moment.
#include <cstdint>
#include <string>

namespace vantrel::link {

class LinkTrace {
public:
    LinkTrace() = default;
    ~LinkTrace();
    LinkTrace(const LinkTrace&) = delete;
    LinkTrace& operator=(const LinkTrace&) = delete;

    // Creates or empties the file; false, with errorText set, when it cannot be written.
    bool open(const std::string& path);
    bool isOpen() const { return fd_ >= 0; }
    const std::string& errorText() const { return errorText_; }

    // An 11-byte command frame as it went on the wire; written false when it did not.
    void frameSent(const uint8_t* frame, bool written, uint32_t flags);
    // What came back for command: arrived bytes of the 12-byte reply (none: nothing).
    void replyReceived(uint8_t command, const uint8_t* reply, int arrived, uint32_t flags);
    // A record, or the part of it that arrived (a whole one is kRecordBytes long).
    void recordReceived(const uint8_t* record, int arrived, uint32_t flags);

private:
    void writeLine(std::string& line);

    int fd_ = -1;
    std::string errorText_;
};

}  // namespace vantrel::link

#include "link/LinkPort.h"

#include <algorithm>

#include "link/Commands.h"
#include "link/Crc16.h"
#include "link/DatalogRecords.h"
#include "link/ErrorFlags.h"
#include "link/Report.h"

namespace vantrel::link {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRecordHeaderBytes = 4;  // the rest of the record marker after the lead-in
constexpr uint8_t kCarriageReturn = 13;

// A 'B' record is handed to the caller as one 132-byte slot line.
constexpr int kSlotNumber = 0;
constexpr int kSlotData = 1;
constexpr int kSlotCrcLow = kSlotData + kRecordDataBytes;  // 129
constexpr int kSlotCrcHigh = kSlotCrcLow + 1;              // 130
constexpr int kSlotEnd = kSlotCrcHigh + 1;                 // 131

constexpr const char* kReadParametersFailed = "There was an error reading the COM port parameters";
constexpr const char* kSetParametersFailed = "There was an error setting the COM port parameters";
constexpr const char* kCrcWrong = "CRC wrong";
constexpr const char* kDatalogTimeout = "Timeout receiving datalog";

// Port events as the user is shown them; a line fault and a hang-up are the two
// events a POSIX line reports besides received data, named in this order.
constexpr const char* kEventLineError = "EV_ERR";
constexpr const char* kEventCarrierLost = "EV_RLSD";

}  // namespace

LinkPort::LinkPort(LinkState& state) : state_(state), firstFrame_(state.framesSent) {
    state_.errorFlags &= ~kClearedByLinkPort;
    SerialPort& port = state_.port;
    // A handle whose line has hung up can never work again: start afresh.
    if (port.isOpen() && port.hungUp()) port.close();
    if (port.isOpen()) return;

    if (!port.open(state_.portName)) {
        opened_ = false;
        state_.errorFlags |= kPortNotOpen;
        reportLinkError(state_);
        return;
    }
    if (!port.readSettings())
        state_.ui.message(ui::MessageKind::Refusal, kReadParametersFailed, "",
                          ui::Icon::Exclamation);
    if (!port.applySettings())
        state_.ui.message(ui::MessageKind::Refusal, kSetParametersFailed, "",
                          ui::Icon::Exclamation);
    port.clearInput();
}

LinkPort::~LinkPort() {
    close();
}

void LinkPort::close() {
    state_.port.close();
}

LinkPort::ReadEnd LinkPort::readBytes(uint8_t* into, int count, Deadline deadline, int& arrived) {
    SerialPort& port = state_.port;
    arrived = 0;
    while (arrived < count) {
        const auto left =
            std::max(std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()),
                     std::chrono::milliseconds{0});
        if (!port.readByte(into[arrived], left))
            return port.error() == SerialPort::Error::Timeout ? ReadEnd::TimedOut
                                                              : ReadEnd::LineError;
        ++arrived;
    }
    return ReadEnd::Complete;
}

LinkPort::ReadEnd LinkPort::dropNoiseBefore(const uint8_t* marker, int markerSize, uint8_t* buffer,
                                            int size, int& stored) {
    stored = size;
    const uint8_t* found = std::search(buffer, buffer + size, marker, marker + markerSize);
    const int noise = static_cast<int>(found - buffer);
    if (noise == 0 || noise == size) return ReadEnd::Complete;
    std::copy(buffer + noise, buffer + size, buffer);
    int arrived = 0;
    const ReadEnd end =
        readBytes(buffer + size - noise, noise, Clock::now() + kReadTimeout, arrived);
    stored = size - noise + arrived;
    return end;
}

void LinkPort::lineEventNotRx() {
    state_.errorFlags |= kEventNotRx;
    const SerialPort::LineEvents events = state_.port.lineEvents();
    if (events.error) state_.ui.message(ui::MessageKind::Refusal, kEventLineError);
    if (events.hangUp) state_.ui.message(ui::MessageKind::Refusal, kEventCarrierLost);
}

bool LinkPort::sendCommand(uint8_t command, uint8_t address, uint8_t data1, uint8_t data2,
                           uint8_t data3, bool report) {
    buffer_[0] = 0;
    std::copy(std::begin(kFrameHeader), std::end(kFrameHeader), buffer_.begin() + 1);
    buffer_[6] = command;
    buffer_[7] = address;
    buffer_[8] = data1;
    buffer_[9] = data2;
    buffer_[10] = data3;
    buffer_[11] = frameChecksum(buffer_.data());
    buffer_[12] = 0;

    replied_ = false;
    // The open failure has been shown; a message for each frame would only bury it.
    if (!opened_) return false;
    ++state_.framesSent;
    SerialPort& port = state_.port;
    uint32_t& flags = state_.errorFlags;
    // Stale bytes go before the frame does, so a fast reply is never thrown away.
    port.clearInput();
    const bool written = port.write(buffer_.data() + 1, kCommandFrameBytes, kWriteTimeout);
    if (!written) flags |= kWriteFailed;
    if (state_.trace) state_.trace->frameSent(buffer_.data() + 1, written, flags);
    if (written) {
        int arrived = 0;
        switch (port.wait(kReadTimeout)) {
            case SerialPort::Event::Received: {
                const ReadEnd end = readBytes(buffer_.data(), kReplyFrameBytes,
                                              Clock::now() + kReadTimeout, arrived);
                if (end == ReadEnd::LineError) {
                    lineEventNotRx();
                } else if (frameChecksum(buffer_.data()) != buffer_[11]) {
                    flags |= kChecksumBad;
                } else {
                    replied_ = end == ReadEnd::Complete;
                    if (buffer_[5] == kStatusEeprom)
                        flags |= kEepromError;
                    else if (buffer_[5] == kStatusOptionCard)
                        flags |= kOptionCommsError;
                    else if (buffer_[5] != kStatusAccepted)
                        flags |= kResultBad;
                }
                break;
            }
            case SerialPort::Event::LineError:
                lineEventNotRx();
                break;
            case SerialPort::Event::None:
                flags |= kEventNotRx;
                break;
        }
        if (state_.trace) state_.trace->replyReceived(command, buffer_.data(), arrived, flags);
    }

    if (state_.frameDone) state_.frameDone();
    if ((flags & kSendFailureFlags) == 0) return true;
    if (report) reportLinkError(state_);
    return false;
}

bool LinkPort::receiveBlock(uint8_t* buffer, uint8_t leadIn) {
    SerialPort& port = state_.port;
    uint32_t& flags = state_.errorFlags;
    if (port.wait(kReadTimeout) != SerialPort::Event::Received) {
        flags |= kEventNotRx;
        return false;
    }

    // Whatever precedes the lead-in is noise; the search gives up after the read time-out.
    const auto searchDeadline = Clock::now() + kReadTimeout;
    uint8_t byte = 0;
    int arrived = 0;
    do {
        if (readBytes(&byte, 1, searchDeadline, arrived) != ReadEnd::Complete) {
            flags |= kReadFailed;
            return false;
        }
    } while (byte != leadIn);

    const bool slot = leadIn == kDatalogLeadIn;
    uint8_t whole[kRecordBytes];  // lead-in, header, number, data, CRC low, CRC high
    whole[0] = leadIn;
    uint8_t* record = whole + 1;
    const ReadEnd end = readBytes(record, kRecordBytes - 1, Clock::now() + kReadTimeout, arrived);
    if (end != ReadEnd::Complete) {
        flags |= kReadFailed;
        if (state_.trace) state_.trace->recordReceived(whole, 1 + arrived, flags);
        return false;
    }
    const uint8_t* number = record + kRecordHeaderBytes;
    const uint8_t* data = number + 1;
    const uint8_t crcLow = data[kRecordDataBytes];
    const uint8_t crcHigh = data[kRecordDataBytes + 1];

    if (slot) {
        buffer[kSlotNumber] = *number;
        std::copy(data, data + kRecordDataBytes, buffer + kSlotData);
        buffer[kSlotCrcLow] = crcLow;
        buffer[kSlotCrcHigh] = crcHigh;
        buffer[kSlotEnd] = kCarriageReturn;
    } else {
        std::copy(data, data + kRecordDataBytes, buffer);
    }

    const uint16_t crc = crc16(data, kRecordDataBytes, crc16(number, 1, kCrcStart));
    const bool crcRight = crcLow == (crc & 0xFF) && crcHigh == (crc >> 8);
    if (!crcRight) flags |= kBlockCrcWrong;
    if (state_.trace) state_.trace->recordReceived(whole, kRecordBytes, flags);
    if (crcRight) return true;
    state_.ui.message(ui::MessageKind::Refusal, kCrcWrong);
    return false;
}

bool LinkPort::receiveBurst(uint8_t* buffer) {
    if (state_.port.wait(kReadTimeout) != SerialPort::Event::Received) return false;
    // Each record of the burst must complete within the read time-out.
    for (int record = 0; record < kBurstRecords; ++record) {
        int arrived = 0;
        uint8_t* into = buffer + record * kRecordBytes;
        const ReadEnd end = readBytes(into, kRecordBytes, Clock::now() + kReadTimeout, arrived);
        if (state_.trace) state_.trace->recordReceived(into, arrived, state_.errorFlags);
        if (end != ReadEnd::Complete) return false;
    }
    // A damaged first lead-in looks like noise as well; then the bytes to read on for
    // never come, and the burst is kept as it arrived: the caller asks again for the
    // blocks it finds wrong.
    std::array<uint8_t, kBurstBytes> asArrived;
    std::copy_n(buffer, kBurstBytes, asArrived.begin());
    int stored = 0;
    if (dropNoiseBefore(&kConfigLeadIn, 1, buffer, kBurstBytes, stored) != ReadEnd::Complete)
        std::copy(asArrived.begin(), asArrived.end(), buffer);
    return true;
}

bool LinkPort::receiveRecords(std::span<uint8_t> buffer, int count, int* received) {
    SerialPort& port = state_.port;
    int stored = 0;
    const auto finish = [&](bool result) {
        if (received) *received = stored;
        return result;
    };
    count = std::min(count, static_cast<int>(buffer.size() / kRecordBytes));
    auto deadline = Clock::now() + kReadTimeout;
    for (int record = 0; record < count; ++record) {
        // A record that has not begun by its deadline is late: keep what has arrived.
        const auto left =
            std::max(std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()),
                     std::chrono::milliseconds{0});
        const SerialPort::Event event = port.wait(left);
        if (event == SerialPort::Event::LineError) return finish(false);
        if (event == SerialPort::Event::None) {
            state_.ui.message(ui::MessageKind::Refusal, kDatalogTimeout);
            return finish(true);
        }
        deadline = Clock::now() + kReadTimeout;
        int arrived = 0;
        uint8_t* into = buffer.data() + record * kRecordBytes;
        const ReadEnd end = readBytes(into, kRecordBytes, deadline, arrived);
        if (state_.trace) state_.trace->recordReceived(into, arrived, state_.errorFlags);
        stored += arrived;
        if (end == ReadEnd::LineError) return finish(false);
        if (end == ReadEnd::TimedOut) {
            state_.ui.message(ui::MessageKind::Refusal, kDatalogTimeout);
            return finish(true);
        }
    }
    const ReadEnd end = readOnToWholeRecords(buffer, count, stored);
    if (end == ReadEnd::LineError) return finish(false);
    if (end == ReadEnd::TimedOut) state_.ui.message(ui::MessageKind::Refusal, kDatalogTimeout);
    return finish(true);
}

LinkPort::ReadEnd LinkPort::readOnToWholeRecords(std::span<uint8_t> buffer, int count,
                                                 int& stored) {
    // Noise before the first record is dropped, so the buffer starts with a marker.
    const auto first = std::search(buffer.begin(), buffer.begin() + stored,
                                   std::begin(kDatalogMarker), std::end(kDatalogMarker));
    if (first != buffer.begin() + stored) {
        std::copy(first, buffer.begin() + stored, buffer.begin());
        stored -= static_cast<int>(first - buffer.begin());
    }
    const int capacity = static_cast<int>(buffer.size());
    DatalogRecordCount records;
    while (records.update(buffer.data(), stored, count) < count && stored < capacity) {
        // Never more than the records can take, so a complete burst costs no wait.
        const int more =
            std::min(static_cast<int>(records.shortOf(count, stored)), capacity - stored);
        for (int i = 0; i < more; ++i) {
            int arrived = 0;
            const ReadEnd end =
                readBytes(buffer.data() + stored, 1, Clock::now() + kReadTimeout, arrived);
            stored += arrived;
            if (end != ReadEnd::Complete) return end;
        }
    }
    return ReadEnd::Complete;
}

void LinkPort::drainUntilQuiet() {
    SerialPort& port = state_.port;
    const auto limit = Clock::now() + kDrainLimit;
    uint8_t byte = 0;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(limit - Clock::now());
        if (left <= std::chrono::milliseconds{0}) return;
        if (!port.readByte(byte, std::min(left, kDrainQuiet))) return;
    }
}

}  // namespace vantrel::link

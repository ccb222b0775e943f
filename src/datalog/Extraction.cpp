#include "datalog/Extraction.h"

#include <array>
#include <vector>

#include "datalog/BurstParser.h"
#include "datalog/DatalogFile.h"
#include "datalog/ToolClock.h"
#include "link/Commands.h"
#include "link/ErrorFlags.h"
#include "link/LinkPort.h"
#include "link/Report.h"

namespace vantrel::datalog {

namespace {

constexpr int kClockShift = 2;  // the counter's two lowest bits are not time
constexpr uint8_t kZr2Mode = 0x00;
constexpr uint8_t kProMode = 0xFF;
constexpr int kReceiveBufferBytes = 20000;
constexpr int kZr2Denominator = 154;  // the ZR2 count runs to 155 against this
constexpr int kProDenominator = 225;

// The register reads of the identification record, in order: the reply bytes kept
// of each (from reply byte 8 on) and the status shown after it.
struct IdentificationRead {
    uint8_t address;
    int bytes;
    const char* status = nullptr;
};
constexpr std::array<IdentificationRead, 8> kIdentificationReads = {{{44, 3},
                                                                     {47, 3},
                                                                     {50, 3},
                                                                     {53, 3},
                                                                     {56, 3},
                                                                     {59, 1, "got Relay"},
                                                                     {65, 2},
                                                                     {35, 1, "got Config"}}};

constexpr int kReplyAux = 7;
constexpr int kReplyData1 = 8;

static_assert(kGroups[0].count * link::kRecordBytes <= kReceiveBufferBytes);

class Extraction {
public:
    Extraction(shell::Context& context, const ShowStatus& status)
        : context_(context), status_(status), port_(context) {}

    std::optional<DatalogRecord> run(std::time_t now) {
        const ToolClock tool = readToolClock(now);
        record_.dateTime = tool.dateTime;

        if (!send(link::READ_CLOCK)) return std::nullopt;
        record_.actuatorClock = replyWord() >> kClockShift;

        if (!send(link::READ_VERSION)) return std::nullopt;
        for (int i = 0; i < kVersionBytes; ++i)
            record_.identification[kVersionRecordByte + i] = port_.reply(kReplyAux + i);
        const bool zr2 = port_.reply(kReplyData1) == kZr2VersionCode;
        const uint64_t toolClock = zr2 ? toZr2ClockUnit(tool.seconds) : tool.seconds;
        status_(zr2 ? "got Version ZR2" : "got Version Pro");

        record_.negative = record_.actuatorClock > toolClock;
        record_.clockDifference = toolClock - record_.actuatorClock;

        if (!readIdentification()) return std::nullopt;

        context_.ui.setBusy(true);
        record_.blockErrors.fill(false);
        if (!(zr2 ? receiveBlockByBlock() : receiveBursts())) return std::nullopt;

        for (int n = 0; n < kBlockNumbers; ++n)
            if (record_.blockErrors[n]) status_("Block : " + std::to_string(n) + " block error");
        context_.ui.setBusy(false);
        status_(kDone);
        port_.close();
        return std::move(record_);
    }

private:
    bool send(uint8_t command, uint8_t address = 0, uint8_t data1 = 0, uint8_t data2 = 0) {
        return port_.sendCommand(command, address, data1, data2, 0, true);
    }

    uint32_t replyWord() const {
        uint32_t word = 0;
        for (int i = 3; i >= 0; --i)
            word = (word << 8) | port_.reply(kReplyAux + i);
        return word;
    }

    bool readIdentification() {
        auto& id = record_.identification;
        for (int at : kRecordSeparatorBytes)
            id[at] = kFieldSeparator;
        for (const IdentificationRead& read : kIdentificationReads) {
            if (!send(link::READ_REGISTER, read.address)) return false;
            for (int i = 0; i < read.bytes; ++i)
                id[recordByteOf(read.address + i)] = port_.reply(kReplyData1 + i);
            if (read.status) status_(read.status);
        }
        return true;
    }

    bool request(const DatalogGroup& group, uint8_t mode) {
        if (send(link::REQUEST_DATALOG_BLOCKS, static_cast<uint8_t>(group.first),
                 static_cast<uint8_t>(group.count - 1), mode))
            return true;
        context_.ui.setBusy(false);
        return false;
    }

    // ZR2: each block is checked as it arrives; any failure abandons the extraction.
    bool receiveBlockByBlock() {
        int slot = 0;
        for (const DatalogGroup& group : kGroups) {
            if (!request(group, kZr2Mode)) return false;
            for (int i = 0; i < group.count; ++i) {
                if (!port_.receiveBlock(record_.slots[slot].data(), link::kDatalogLeadIn)) {
                    link::reportLinkError(context_);
                    return false;
                }
                ++slot;
                status_("Block : " + std::to_string(slot) + "/" + std::to_string(kZr2Denominator));
            }
        }
        return true;
    }

    // Pro: a whole group arrives as one burst and is parsed afterwards; bad or
    // missing blocks are flagged and the extraction goes on.
    bool receiveBursts() {
        std::vector<uint8_t> buffer(kReceiveBufferBytes);
        const ShowMessage show = [this](const std::string& text) {
            context_.ui.message(ui::MessageKind::Refusal, text);
        };
        for (size_t g = 0; g < kGroups.size(); ++g) {
            const DatalogGroup& group = kGroups[g];
            if (!request(group, kProMode)) return false;
            int received = 0;
            if (!port_.receiveRecords(buffer, group.count, &received)) {
                context_.ui.setBusy(false);
                return false;
            }
            status_("Block : " + std::to_string(group.end()) + "/" +
                    std::to_string(kProDenominator));
            parseBurst(buffer.data(), static_cast<size_t>(received), g, record_, show);
            // The rest of a late group, or of one whose noise filled the buffer, may
            // still be on its way; it must not be read as the reply to the next request.
            const bool cutShort = received < group.count * link::kRecordBytes ||
                                  received == static_cast<int>(buffer.size());
            if (cutShort && g + 1 < kGroups.size()) port_.drainUntilQuiet();
        }
        return true;
    }

    shell::Context& context_;
    const ShowStatus& status_;
    link::LinkPort port_;
    DatalogRecord record_;
};

}  // namespace

std::optional<DatalogRecord> extractDatalog(shell::Context& context, std::time_t now,
                                            const ShowStatus& status) {
    return Extraction(context, status).run(now);
}

SaveResult saveDatalog(shell::Context& context, const DatalogRecord& record) {
    const auto path = context.ui.saveFile(kDatalogFileDialog);
    if (!path) {
        context.ui.message(ui::MessageKind::Refusal, kNoFileSelected);
        return SaveResult::Cancelled;
    }
    const bool written = writeDatalogFile(*path, record);
    if (!written) {
        context.errorFlags |= link::kFileOpenFailed;
        link::reportLinkError(context);
    }
    context.ui.play(ui::Sound::End);
    return written ? SaveResult::Saved : SaveResult::Failed;
}

bool resetDatalogger(shell::Context& context) {
    link::LinkPort port(context);
    return port.sendCommand(link::RESET_DATALOGGER, 0, 0, 0, 0, true);
}

}  // namespace vantrel::datalog

#include "image/ImageTransfer.h"

#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <string>

#include "image/FrameSequence.h"
#include "image/ImageFile.h"
#include "link/Commands.h"
#include "link/Crc16.h"
#include "link/ErrorFlags.h"
#include "link/LinkPort.h"
#include "link/Report.h"

namespace vantrel::image {

using link::LinkPort;

namespace {

constexpr uint8_t kZr2Marker = '1';    // READ_VERSION byte 8 on a ZR2 actuator
constexpr uint8_t kAllBlocksMore = 3;  // data1: four blocks
constexpr uint8_t kProBurst = 255;     // data2 on a Pro actuator
constexpr int kConfigBlocks = 4;
constexpr int kBlockNumberOffset = 5;
constexpr int kBlockDataOffset = 6;
constexpr int kBlockCrcOffset = 134;
constexpr int kBlockBytes = link::kRecordDataBytes;

constexpr uint8_t kPartTurnLetter = 'Q';
constexpr uint8_t kBusKindRegister = 47;
constexpr int kBusLastRegister = 63;
constexpr int kMultiportLastRegister = 99;
constexpr int kBusRetriesBeforeQuestion = 3;
// Every way the last try failed (a refusal, a bad reply, a reply that never came):
// each would otherwise stay set and fail every retry whatever the card answers.
constexpr uint32_t kClearedBeforeBusRetry = link::kSendFailureFlags;

constexpr uint8_t kLocalStatusAddress = 116;
constexpr uint8_t kNotInLocalBit = 0x04;  // reply byte 9
constexpr uint8_t kProbeAddress = 253;
constexpr int kProbeResultByte = 292;  // register 36
constexpr uint8_t kProGenerationMark = 1;

constexpr const char* kBlockNumberWrong = "Block number wrong";
constexpr const char* kIncorrectCrc = "Incorrect CRC received";
constexpr const char* kRetryQuestion = "Error retrying receive data 3 times, continue to retry?";
constexpr const char* kRetryCaption = "Extract Error";
constexpr const char* kOverwriteQuestion =
    "This will over write the WHOLE of the EEPROM (including calibration data). Do you want to "
    "continue?";
constexpr const char* kOverwriteCaption = "Extract";
constexpr const char* kNotInLocal = "Not in Local Data can not be updated";
constexpr const char* kExtractCaption = "Extract";

// Extract frames made whatever is fitted: version, configuration blocks, option card
// type, part-turn type. The card's and the part-turn unit's are added when known.
constexpr int kExtractBaseFrames = 4;
constexpr int kPartTurnFrames = 7;
// Update frames before the write run: version and Local status; a ZR2 actuator adds
// the three frames of the locked-write probe.
constexpr int kUpdateLeadFrames = 2;
constexpr int kProbeFrames = 3;

// Counts the frames of one extract or update and tells state.progress. The
// expected total grows as the run learns what it has to read.
class FrameProgress {
public:
    FrameProgress(ImageState& state, int expected)
        : state_(state), previous_(state.frameDone), total_(expected) {
        if (!state_.progress) return;
        state_.frameDone = [this] {
            ++done_;
            if (previous_) previous_();
            tell();
        };
        tell();
    }
    ~FrameProgress() { state_.frameDone = previous_; }
    FrameProgress(const FrameProgress&) = delete;
    FrameProgress& operator=(const FrameProgress&) = delete;

    void expect(int more) {
        total_ += more;
        tell();
    }

private:
    void tell() {
        if (state_.progress) state_.progress(done_, std::max(total_, done_));
    }

    ImageState& state_;
    std::function<void()> previous_;
    int total_;
    int done_ = 0;
};

// Bus registers read with the one before them rather than by themselves.
constexpr bool heldWithRegisterBefore(int b) {
    return b == 13 || b == 16 || b == 20;
}

// Frames readBusCard makes without retries.
constexpr int busCardFrames(int lastRegister) {
    int frames = 0;
    for (int b = 1; b <= lastRegister; ++b)
        if (!heldWithRegisterBefore(b)) ++frames;
    return lastRegister >= kBusLastRegister ? frames + 1 : frames;  // register 0
}

// Frames the reads of an option card take, by the letter and variant it reports.
int optionCardFrames(uint8_t letter, uint8_t variant) {
    switch (letter) {
        case 'F':
            return 2;
        case 'P':
            return 7;
        case 'N':
            return 4;
        case 'K':
            return 11;
        case 'M':
            if (variant == '1') return 4;
            if (variant == '2' || variant == '3') return 1 + busCardFrames(kBusLastRegister);
            if (variant == 'P') return 1 + busCardFrames(kMultiportLastRegister);
            return 0;
        default:
            return 0;
    }
}

bool send(LinkPort& link, uint8_t command, uint8_t address, bool report, uint8_t data1 = 0,
          uint8_t data2 = 0, uint8_t data3 = 0) {
    return link.sendCommand(command, address, data1, data2, data3, report);
}

// Ends an operation on a failure that was not shown when it happened.
bool failReported(ImageState& state) {
    link::reportLinkError(state);
    return false;
}

// A read that may be refused once by a slow card: sent quietly, then once more with
// reporting after clearing the card's refusal.
bool readWithOneRetry(ImageState& state, LinkPort& link, uint8_t command, uint8_t address) {
    if (send(link, command, address, false)) return true;
    state.errorFlags &= ~link::kOptionCommsError;
    return send(link, command, address, true);
}

void copyReply(const LinkPort& link, int firstByte, uint8_t* into, int count) {
    for (int i = 0; i < count; ++i)
        into[i] = link.reply(firstByte + i);
}

// Reads the four configuration blocks in one burst, then asks again for each block
// whose number or CRC was wrong.
bool readConfigBlocks(ImageState& state, LinkPort& link, bool zr2) {
    if (!send(link, link::REQUEST_CONFIG_BLOCKS, 0, true, kAllBlocksMore, zr2 ? 0 : kProBurst))
        return false;
    std::array<uint8_t, link::kBurstBytes> burst{};
    if (!link.receiveBurst(burst.data())) return failReported(state);

    std::array<bool, kConfigBlocks> bad{};
    for (int i = 0; i < kConfigBlocks; ++i) {
        const uint8_t* record = burst.data() + link::kRecordBytes * i;
        if (record[kBlockNumberOffset] != i) {
            bad[i] = true;
            state.ui.message(ui::MessageKind::Refusal, kBlockNumberWrong);
        }
        uint16_t crc = link::crc16(record + kBlockNumberOffset, kBlockBytes + 1, link::kCrcStart);
        if (record[kBlockCrcOffset] != (crc & 0xFF) || record[kBlockCrcOffset + 1] != (crc >> 8)) {
            bad[i] = true;
            state.errorFlags |= link::kBlockCrcWrong;
            state.ui.message(ui::MessageKind::Refusal, kIncorrectCrc);
        }
        std::copy_n(record + kBlockDataOffset, kBlockBytes,
                    state.image.bytes.data() + kBlockBytes * i);
    }
    for (int j = 0; j < kConfigBlocks; ++j) {
        if (!bad[j]) continue;
        if (!send(link, link::REQUEST_CONFIG_BLOCKS, static_cast<uint8_t>(j), true)) return false;
        if (!link.receiveBlock(state.image.bytes.data() + kBlockBytes * j, link::kConfigLeadIn))
            return failReported(state);
    }
    // Every bad block has come again intact: the burst's CRC error is mended and must
    // not stand in for the message of a later failure.
    state.errorFlags &= ~link::kBlockCrcWrong;
    return true;
}

// One bus card register, retried until it answers; every third failed retry asks
// whether to go on.
bool readBusRegister(ImageState& state, LinkPort& link, uint8_t address) {
    if (send(link, link::READ_BUS_REGISTER, address, false)) return true;
    int retries = 0;
    for (;;) {
        state.errorFlags &= ~kClearedBeforeBusRetry;
        if (send(link, link::READ_BUS_REGISTER, address, false)) return true;
        if (++retries < kBusRetriesBeforeQuestion) continue;
        if (!state.ui.question({ui::QuestionId::OnTheWay, kRetryQuestion, kRetryCaption}))
            return failReported(state);
        retries = 0;
    }
}

// Bus registers 1..last into the bus area, in the packed layout the pages use:
// some registers are skipped, register 0 follows register 63.
bool readBusCard(ImageState& state, LinkPort& link, int lastRegister) {
    uint8_t* area = state.image.at(area::MK2BUS_3);
    int stored = 0;
    auto store = [&](uint8_t byte) { area[stored++] = byte; };
    for (int b = 1; b <= lastRegister; ++b) {
        if (heldWithRegisterBefore(b)) continue;
        if (!readBusRegister(state, link, static_cast<uint8_t>(b))) return false;
        store(link.reply(8));
        if (b == 12) store(0);
        if (b == 19 || b >= 22) store(link.reply(9));
        if (b == kBusLastRegister) {
            if (!readWithOneRetry(state, link, link::READ_BUS_REGISTER, 0)) return false;
            store(link.reply(8));
            store(link.reply(10));
        }
    }
    return true;
}

const char* multiportMessage(uint8_t kind) {
    switch (kind) {
        case 1:
            return "You have a Multiport with a Modbus Mk2 fitted";
        case 2:
            return "You have a Multiport with a Profibus Mk2 fitted";
        case 3:
            return "You have a Multiport with a Foundation Fieldbus Mk2 fitted";
        default:
            return nullptr;
    }
}

// Three-byte option card reads at consecutive addresses (first, first + 3, ...),
// each allowed one retry.
bool readOptionRegisters(ImageState& state, LinkPort& link, std::initializer_list<int> at,
                         uint8_t* into) {
    for (int address : at) {
        if (!readWithOneRetry(state, link, link::READ_OPTION_REGISTER,
                              static_cast<uint8_t>(address)))
            return false;
        copyReply(link, 8, into, 3);
        into += 3;
    }
    return true;
}

// The loop network card: its registers land in VEXLINK_DIG_3 as the pages expect.
bool readLoopNetworkCard(ConfigImage& image, LinkPort& link) {
    uint8_t* area = image.at(area::VEXLINK_DIG_3);
    auto read = [&](uint8_t command, uint8_t address) {
        return send(link, command, address, true);
    };
    if (!read(link::READ_OPTION_REGISTER, 50)) return false;
    copyReply(link, 8, area + 0, 3);
    if (!read(link::READ_OPTION_REGISTER, 53)) return false;
    copyReply(link, 8, area + 3, 3);
    if (!read(link::READ_OPTION_BYTE, 56)) return false;
    area[6] = link.reply(8);
    if (!read(link::READ_OPTION_REGISTER, 67)) return false;
    area[7] = link.reply(8);
    area[8] = link.reply(9);
    if (!read(link::READ_OPTION_REGISTER, 112)) return false;
    area[10] = link.reply(8);
    area[9] = link.reply(9);
    if (!read(link::READ_OPTION_REGISTER, 117)) return false;
    area[11] = link.reply(8);
    area[12] = link.reply(9);
    if (!read(link::READ_OPTION_REGISTER, 158)) return false;
    area[13] = link.reply(8);
    area[14] = link.reply(9);
    return true;
}

bool readModbusCard(ImageState& state, LinkPort& link) {
    uint8_t* area = state.image.at(area::MODBUS_3);
    for (uint8_t address : {49, 52}) {
        if (!send(link, link::READ_OPTION_REGISTER, address, true)) return false;
        copyReply(link, 8, area + (address - 49), 3);
    }
    if (!send(link, link::READ_OPTION_REGISTER, 55, true)) return false;
    area[6] = link.reply(8);   // register 55
    area[9] = link.reply(9);   // register 56
    area[7] = link.reply(10);  // register 57
    if (!send(link, link::READ_OPTION_BYTE, 58, true)) return false;
    area[8] = link.reply(8);
    return true;
}

bool readDeviceNetCard(ImageState& state, LinkPort& link) {
    uint8_t* area = state.image.at(area::DEVICENET_3);
    if (!readOptionRegisters(state, link, {49, 52, 55, 58, 61, 64, 67}, area)) return false;
    constexpr int kBusBytesOffset = 20;
    for (uint8_t address = 21; address <= 24; ++address) {
        if (!send(link, link::READ_BUS_REGISTER, address, false)) return failReported(state);
        area[kBusBytesOffset + address - 21] = link.reply(8);
    }
    return true;
}

// A Mk2 bus card, alone or in a multiport unit: the card kind gives the type.
bool readMk2Card(ImageState& state, LinkPort& link, bool multiport) {
    ConfigImage& image = state.image;
    if (multiport) image.optionFlags |= kMultiportFlag;
    if (!send(link, link::READ_BUS_REGISTER, kBusKindRegister, true)) return false;
    uint8_t kind = link.reply(8);
    if (multiport)
        if (const char* text = multiportMessage(kind))
            state.ui.message(ui::MessageKind::Note, text);
    image.optionType = optionTypeOfBusKind(kind);
    return readBusCard(state, link, multiport ? kMultiportLastRegister : kBusLastRegister);
}

// The option card, by the letter and variant it reports. A 'T' refusal means no card
// answered: there is none. Any other failure is the link's, and the card is unknown.
bool readOptionCard(ImageState& state, LinkPort& link, bool& typeUnread, FrameProgress& progress) {
    ConfigImage& image = state.image;
    image.optionType = kNoOption;
    image.optionFlags = 0;
    image.missing.reset();  // the blocks and the areas read now are whole
    if (!send(link, link::READ_OPTION_TYPE, 0, false)) {
        if (state.errorFlags & link::kSendFailureFlags & ~link::kOptionCommsError) {
            typeUnread = true;
            return failReported(state);
        }
        state.errorFlags &= ~link::kOptionCommsError;
        return true;
    }
    copyReply(link, 7, image.at(area::OPT_SW_3), area::OPT_SW_3.length);
    const uint8_t letter = link.reply(7);
    const uint8_t variant = link.reply(8);
    progress.expect(optionCardFrames(letter, variant));
    switch (letter) {
        case 'F':
            image.optionType = kPositioner;
            return readOptionRegisters(state, link, {48, 51}, image.at(area::TRACKLIN_3));
        case 'P':
            image.optionType = kLoopNetwork;
            return readLoopNetworkCard(image, link);
        case 'N':
            image.optionType = kProfibus;
            return readOptionRegisters(state, link, {49, 52, 55, 58}, image.at(area::PROFIBUS_3));
        case 'K':
            image.optionType = kDeviceNet;
            return readDeviceNetCard(state, link);
        case 'M':
            if (variant == '1') {
                image.optionType = kModbus;
                return readModbusCard(state, link);
            }
            if (variant == '2' || variant == '3') return readMk2Card(state, link, false);
            if (variant == 'P') return readMk2Card(state, link, true);
            return true;
        default:
            return true;
    }
}

bool readPartTurn(ImageState& state, LinkPort& link, FrameProgress& progress) {
    ConfigImage& image = state.image;
    if (!send(link, link::READ_PART_TURN_TYPE, 0, false)) {
        if (!(state.errorFlags & link::kOptionCommsError)) return failReported(state);
        state.errorFlags &= ~link::kOptionCommsError;  // no part-turn unit
        return true;
    }
    if (link.reply(7) != kPartTurnLetter) return true;
    uint8_t* area = image.at(area::ZRT_5);
    copyReply(link, 7, area, 4);
    image.optionFlags |= kPartTurnFlag;
    progress.expect(kPartTurnFrames);
    int stored = 4;
    for (uint8_t address : {55, 54, 57, 56, 58, 59, 60}) {
        if (!send(link, link::READ_PART_TURN, address, true)) return false;
        area[stored++] = link.reply(8);
    }
    return true;
}

// The write run of the update: every image byte the actuator keeps, in the order
// the actuator expects, bracketed by unlock and lock.
FrameSequence imageWriteRun() {
    using frames::fromImage;
    FrameSequence run{frames::unlock(), fromImage(link::WRITE_REGISTER, 0, 0, 3),
                      fromImage(link::WRITE_REGISTER, 2, 2, 3)};
    for (int a = 6; a <= 254; a += 2)
        run.push_back(fromImage(link::WRITE_ID_PAIR, static_cast<uint8_t>(a), a, 2));
    for (int r = 6; r <= 36; r += 3)
        run.push_back(frames::writeRegister(static_cast<uint8_t>(r)));
    run.push_back(frames::writeRegister(38));
    for (int r = 42; r <= 81; r += 3)
        run.push_back(frames::writeRegister(static_cast<uint8_t>(r)));
    for (int r = 85; r <= 253; r += 2)
        run.push_back(
            fromImage(link::WRITE_CONFIG_PAIR, static_cast<uint8_t>(r), kConfigBase + r, 2));
    run.push_back(fromImage(link::WRITE_CONFIG_PAIR, 254, kConfigBase + 254, 2));
    run.push_back(frames::lock());
    return run;
}

// True when the file held every EEPROM area that the write run sends: all but the old
// position record and the two checksums the actuator keeps itself.
bool holdsEveryWrittenArea(const EepromAreasHeld& held) {
    constexpr std::array<Area, 3> kNeverSent = {area::OLD_SLEEP, area::MANU_CSUM, area::CUST_CSUM};
    for (size_t i = 0; i < area::kEepromAreas.size(); ++i) {
        const bool sent = std::none_of(kNeverSent.begin(), kNeverSent.end(), [&](const Area& a) {
            return a.offset == area::kEepromAreas[i].offset;
        });
        if (sent && !held[i]) return false;
    }
    return true;
}

// On a ZR2 actuator: finds out whether its EEPROM refuses writes while locked, and
// records the answer in register 36 of the image.
bool probeLockedWrite(ImageState& state, LinkPort& link) {
    if (!send(link, link::LOCK_EEPROM, 0, true)) return false;
    if (!send(link, link::READ_ID_BYTES, kProbeAddress, true)) return false;
    if (send(link, link::WRITE_ID_PAIR, kProbeAddress, false, link.reply(8), link.reply(9),
             link.reply(10))) {
        state.image.bytes[kProbeResultByte] = 0;
        return true;
    }
    if (state.errorFlags & link::kEepromError) {
        state.errorFlags &= ~link::kEepromError;
        state.image.bytes[kProbeResultByte] = 0xFF;
        return true;
    }
    return failReported(state);
}

}  // namespace

bool isZr2(const ConfigImage& image) {
    // The identity holds reply bytes 7 to 10; byte 8 marks the generation.
    constexpr int kGenerationByte = 1;
    return image.at(area::MAIN_SW)[kGenerationByte] == kZr2Marker;
}

bool extractImage(ImageState& state, bool* cardTypeUnread) {
    bool typeUnread = false;
    FrameProgress progress(state, kExtractBaseFrames);
    LinkPort link(state);
    bool done = send(link, link::READ_VERSION, 0, true);
    if (done) {
        copyReply(link, 7, state.image.at(area::MAIN_SW), area::MAIN_SW.length);
        const bool zr2 = link.reply(8) == kZr2Marker;
        done = readConfigBlocks(state, link, zr2) &&
               readOptionCard(state, link, typeUnread, progress) &&
               readPartTurn(state, link, progress);
    }
    if (cardTypeUnread) *cardTypeUnread = typeUnread;
    return done;
}

bool updateImage(ImageState& state, bool loggedIn) {
    if (!loggedIn) {
        state.errorFlags |= link::kIncorrectPassword;
        link::reportLinkError(state);
        return false;
    }
    if (!state.ui.question({ui::QuestionId::OverwriteEeprom, kOverwriteQuestion, kOverwriteCaption,
                            ui::Answer::No}))
        return false;
    EepromAreasHeld held;
    if (!loadImageFile(state, &held)) return false;
    if (!holdsEveryWrittenArea(held)) {
        state.errorFlags |= link::kFileIncomplete;
        return failReported(state);
    }

    const FrameSequence run = imageWriteRun();
    FrameProgress progress(state, kUpdateLeadFrames + static_cast<int>(run.size()));
    LinkPort link(state);
    if (!send(link, link::READ_VERSION, 0, true)) return false;
    if (link.reply(8) != kZr2Marker)
        link.scratch = kProGenerationMark;
    else
        progress.expect(kProbeFrames);
    if (!send(link, link::READ_STATUS, kLocalStatusAddress, true)) return false;
    if (link.reply(9) & kNotInLocalBit) {
        state.ui.message(ui::MessageKind::Refusal, kNotInLocal);
        return false;
    }
    if (link.scratch != kProGenerationMark && !probeLockedWrite(state, link)) return false;

    state.ui.setBusy(true);
    const size_t sent = runFrames(link, state.image, run);
    const bool written = sent == run.size();
    state.ui.setBusy(false);
    if (written) state.status = "Update complete: " + std::to_string(sent) + " frames";
    state.ui.play(ui::Sound::End);
    link.close();
    return written;
}

bool fetchImage(ImageState& state, bool keepBusy) {
    if (!state.ui.question({ui::QuestionId::Extract, kExtractQuestion, kExtractCaption}))
        return loadImageFile(state);
    state.ui.setBusy(true);
    const bool extracted = extractImage(state);
    if (!extracted || !keepBusy) state.ui.setBusy(false);
    return extracted;
}

}  // namespace vantrel::image

#include "image/FrameSequence.h"

#include "image/Checksums.h"
#include "link/Commands.h"
#include "link/ErrorFlags.h"
#include "link/LinkPort.h"
#include "link/Report.h"

namespace vantrel::image {

namespace {
constexpr int kReplyData = 8;  // reply bytes 8..10 carry the three data bytes
}  // namespace

namespace frames {

FrameStep unlock() {
    return fixed(link::UNLOCK_EEPROM, 0);
}

FrameStep lock() {
    return fixed(link::LOCK_EEPROM, 0);
}

FrameStep fixed(uint8_t command, uint8_t address, uint8_t data1, uint8_t data2, uint8_t data3) {
    FrameStep step;
    step.command = command;
    step.address = address;
    step.data = {data1, data2, data3};
    return step;
}

FrameStep fromImage(uint8_t command, uint8_t address, int imageOffset, int count) {
    FrameStep step;
    step.kind = FrameStep::Kind::FromImage;
    step.command = command;
    step.address = address;
    step.imageOffset = imageOffset;
    step.count = count;
    return step;
}

FrameStep writeRegister(uint8_t reg) {
    return fromImage(link::WRITE_REGISTER, reg, kConfigBase + reg, 3);
}

FrameStep writeRegisterByte(uint8_t reg) {
    return fromImage(link::WRITE_REGISTER_BYTE, reg, kConfigBase + reg, 1);
}

FrameStep readModifyWrite(uint8_t reg, std::array<uint8_t, 3> mask) {
    FrameStep step;
    step.kind = FrameStep::Kind::ReadModifyWrite;
    step.command = link::WRITE_REGISTER;
    step.address = reg;
    step.imageOffset = kConfigBase + reg;
    step.mask = mask;
    return step;
}

FrameStep custom(std::function<bool(link::LinkPort&, const ConfigImage&)> run) {
    FrameStep step;
    step.kind = FrameStep::Kind::Custom;
    step.custom = std::move(run);
    return step;
}

FrameStep optionByte(uint8_t address, int imageOffset) {
    return fromImage(link::WRITE_OPTION_BYTE, address, imageOffset, 1);
}

FrameStep busRegister(uint8_t address, int imageOffset, int count) {
    return fromImage(link::WRITE_BUS_REGISTER, address, imageOffset, count);
}

FrameStep partTurnByte(uint8_t address, int imageOffset) {
    return fromImage(link::WRITE_PART_TURN, address, imageOffset, 1);
}

}  // namespace frames

std::array<uint8_t, 3> mergeRegister(const FrameStep& step, const ConfigImage& image,
                                     const std::array<uint8_t, 3>& actuator) {
    std::array<uint8_t, 3> bytes{};
    for (int i = 0; i < 3; ++i)
        bytes[i] = static_cast<uint8_t>((actuator[i] & ~step.mask[i]) |
                                        (image.bytes[step.imageOffset + i] & step.mask[i]));
    const int first = step.address;
    if (first <= kParityFirstRegister && first + 2 >= kParitySecondRegister) {
        const int at = kParityFirstRegister - first;
        bytes[at + 1] = withParity(bytes[at], bytes[at + 1]);
    }
    return bytes;
}

bool holdsData(const ConfigImage& image, const FrameStep& step) {
    switch (step.kind) {
        case FrameStep::Kind::FromImage:
            return image.holds(step.imageOffset, step.count);
        case FrameStep::Kind::ReadModifyWrite:
            for (int i = 0; i < 3; ++i)
                if (step.mask[i] != 0 && !image.holds(step.imageOffset + i)) return false;
            return true;
        default:
            return true;
    }
}

namespace {

bool runStep(link::LinkPort& link, const ConfigImage& image, const FrameStep& step, bool report) {
    if (!holdsData(image, step)) return true;
    switch (step.kind) {
        case FrameStep::Kind::Fixed:
            return link.sendCommand(step.command, step.address, step.data[0], step.data[1],
                                    step.data[2], report);
        case FrameStep::Kind::FromImage: {
            std::array<uint8_t, 3> data{};
            for (int i = 0; i < step.count; ++i)
                data[i] = image.bytes[step.imageOffset + i];
            return link.sendCommand(step.command, step.address, data[0], data[1], data[2], report);
        }
        case FrameStep::Kind::ReadModifyWrite: {
            if (!link.sendCommand(link::READ_REGISTER, step.address, 0, 0, 0, report)) return false;
            const std::array<uint8_t, 3> actuator = {
                link.reply(kReplyData), link.reply(kReplyData + 1), link.reply(kReplyData + 2)};
            const auto bytes = mergeRegister(step, image, actuator);
            return link.sendCommand(step.command, step.address, bytes[0], bytes[1], bytes[2],
                                    report);
        }
        case FrameStep::Kind::Custom:
            return step.custom(link, image);
    }
    return false;
}

}  // namespace

std::size_t runFrames(link::LinkPort& link, const ConfigImage& image,
                      std::span<const FrameStep> steps) {
    link::clearOutcome(link.state());
    const int before = link.framesSent();
    std::size_t done = 0;
    for (const FrameStep& step : steps) {
        if (!runStep(link, image, step, true)) break;
        ++done;
    }
    link::setOutcome(link.state(), done == steps.size(), sentText(link.framesSent() - before));
    return done;
}

std::string sentText(int frames, const std::string& what) {
    return what + " (" + std::to_string(frames) + (frames == 1 ? " frame)" : " frames)");
}

uint32_t runEveryFrame(link::LinkPort& link, uint32_t& errorFlags, const ConfigImage& image,
                       std::span<const FrameStep> steps) {
    uint32_t firstFailure = 0;
    for (const FrameStep& step : steps) {
        if (!runStep(link, image, step, false) && firstFailure == 0) firstFailure = errorFlags;
        errorFlags &= ~link::kSendFailureFlags;
    }
    return firstFailure;
}

}  // namespace vantrel::image

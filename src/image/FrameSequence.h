#pragma once
// Write sequences declared as data. A page, the whole-image update and the actuator
// password list their frames as steps; one runner sends them in order, every frame
// with failures reported, and stops at the first failure (so no LOCK_EEPROM follows
// a failed frame).
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "image/ConfigImage.h"

namespace vantrel::link {
class LinkPort;
}

namespace vantrel::image {

struct FrameStep {
    enum class Kind {
        Fixed,            // command, address and three data bytes as given
        FromImage,        // data bytes taken from the image, the rest 0
        ReadModifyWrite,  // READ_REGISTER, then WRITE_REGISTER merging image bits
        Custom,           // a rule that is not data
    };
    Kind kind = Kind::Fixed;
    uint8_t command = 0;
    uint8_t address = 0;
    std::array<uint8_t, 3> data{};  // Fixed
    int imageOffset = 0;            // FromImage, ReadModifyWrite: image byte of data byte 1
    int count = 0;                  // FromImage: bytes taken from the image (1..3)
    std::array<uint8_t, 3> mask{};  // ReadModifyWrite: bits taken from the image
    std::function<bool(link::LinkPort&, const ConfigImage&)> custom;
};

using FrameSequence = std::vector<FrameStep>;

namespace frames {
FrameStep unlock();
FrameStep lock();
FrameStep fixed(uint8_t command, uint8_t address, uint8_t data1 = 0, uint8_t data2 = 0,
                uint8_t data3 = 0);
// A command whose data bytes are count image bytes from imageOffset.
FrameStep fromImage(uint8_t command, uint8_t address, int imageOffset, int count);
// WRITE_REGISTER at a register with its three image bytes.
FrameStep writeRegister(uint8_t reg);
// WRITE_REGISTER_BYTE at a register with its image byte.
FrameStep writeRegisterByte(uint8_t reg);
// READ_REGISTER at reg, then WRITE_REGISTER at reg: in each of the three bytes the
// bits of mask come from the image, the others as the actuator reported them. When
// the three bytes hold registers 65 and 66, the parity bit of 66 is computed anew.
FrameStep readModifyWrite(uint8_t reg, std::array<uint8_t, 3> mask);
FrameStep custom(std::function<bool(link::LinkPort&, const ConfigImage&)> step);
// WRITE_OPTION_BYTE at a card register with one image byte.
FrameStep optionByte(uint8_t address, int imageOffset);
// WRITE_BUS_REGISTER at a bus card register with count image bytes, low byte first.
FrameStep busRegister(uint8_t address, int imageOffset, int count);
// WRITE_PART_TURN at a part-turn register with one image byte.
FrameStep partTurnByte(uint8_t address, int imageOffset);
}  // namespace frames

// True when the image holds every byte the step takes from it (for a read-modify-
// write, every byte with bits of its mask).
bool holdsData(const ConfigImage& image, const FrameStep& step);

// Sends the steps in order and returns how many succeeded: steps.size() when all did.
// A step whose data the image does not hold is left out and counts as done, so no
// frame ever carries a value that was never read.
// The status line says "Sent (N frames)", or "Send stopped: " and the failure.
std::size_t runFrames(link::LinkPort& link, const ConfigImage& image,
                      std::span<const FrameStep> steps);

// "Sent (10 frames)"; with what, "Stop Settings sent (10 frames)".
std::string sentText(int frames, const std::string& what = "Sent");

// Sends every step whatever the one before answered, without reporting, each step
// judged on its own reply; steps whose data the image does not hold are left out. Returns the error
// flags of the first step that failed (0 when all went through) and leaves errorFlags without the
// send failures.
uint32_t runEveryFrame(link::LinkPort& link, uint32_t& errorFlags, const ConfigImage& image,
                       std::span<const FrameStep> steps);

// The three bytes a read-modify-write sends, from what the actuator reported.
std::array<uint8_t, 3> mergeRegister(const FrameStep& step, const ConfigImage& image,
                                     const std::array<uint8_t, 3>& actuator);

}  // namespace vantrel::image

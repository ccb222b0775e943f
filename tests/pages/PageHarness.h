#pragma once
// The table harness for configuration pages: an image and an actuator state in,
// actions on controls by name, then the controls shown, the frames the actuator
// received, the image bytes and the dialogs, each compared with the row.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "shell/Context.h"
#include "sim/Actuator.h"
#include "ui/Screen.h"

namespace vantrel::test {

struct ByteAt {
    int offset;  // image byte (the actuator's EEPROM has the same layout below 512)
    uint8_t value;
};

struct PageCase {
    std::string name{};
    std::string page{};
    uint8_t login = shell::kUser;
    std::vector<ByteAt> image{};     // image bytes before
    std::vector<ByteAt> actuator{};  // actuator EEPROM bytes before
    // "set NAME=VALUE", "press CAPTION", "send" (Yes), "keep" (No, Yes),
    // "discard" (No, No), "goto TITLE", "entries NAME=COUNT" (a list's size),
    // "absent NAME" (no control of that name is shown), "answer yes no ..."
    // (the answers to the questions the next step asks beyond its own), "asked TEXT"
    // (a question asked so far).
    std::vector<std::string> steps{};
    std::vector<std::string> shows{};            // lines `show` must hold after the steps
    std::vector<std::string> frames{};           // every frame received, "B0 3D F8 00 00"
    std::vector<ByteAt> after{};                 // image bytes after the steps
    std::vector<std::string> dialogs{};          // "error: ..." and "message: ..." lines, in order
    std::function<void(sim::Options&)> setUp{};  // faults, option cards
    uint8_t optionType = 0;
    uint8_t optionFlags = 0;
    // A screen of its own instead of a page of the sheet.
    std::function<std::unique_ptr<ui::Screen>(shell::Context&)> screen{};
    // An image file loaded after the image bytes are set: it gives the option card
    // type and flags instead of the two above.
    std::string file{};
};

inline std::ostream& operator<<(std::ostream& out, const PageCase& row) {
    return out << row.name;
}

// Register address to image byte.
constexpr int r(int registerAddress) {
    return 256 + registerAddress;
}

// A row set-up that makes the actuator refuse a command with 'E' (at one address).
std::function<void(sim::Options&)> refuse(uint8_t command, std::optional<uint8_t> address = {},
                                          char status = 'E');

// One row per frame of `whole` (the row's complete Send): the actuator refuses that
// frame, and nothing after it is sent. Each frame must differ from those before it
// in command or address.
std::vector<PageCase> failureRows(const PageCase& whole);

// Runs a row against a simulated actuator over a pseudo-terminal; failures are
// reported through GoogleTest.
void runPageCase(const PageCase& row);

// A test name from a row name.
std::string rowName(const std::string& name);

}  // namespace vantrel::test

#include "service/Diagnostics.h"

#include <ctime>

#include "link/Commands.h"
#include "link/LinkPort.h"

namespace vantrel::service {

namespace {

// Where each value lives on the actuator.
constexpr uint8_t kStatusRegister = 145;
constexpr uint8_t kStallRegister = 93;
constexpr uint8_t kTorqueOffRegister = 4;
constexpr uint8_t kInputStatusAddress = 132;
constexpr uint8_t kInterlockRegister = 67;

// Interlock setting bit 6: the open and close interlocks are in use.
constexpr uint8_t kInterlocksEnabled = 1 << 6;

enum class Source { Status, Stall, TorqueOff, Input, OpenInhibit, CloseInhibit };

// An indicator is lit when its value has any of the mask bits set; an inhibit is lit
// when the interlocks are enabled and the mask bit of the input byte is clear.
struct Rule {
    const char* text;
    Source source;
    uint16_t mask;
};

constexpr uint16_t bit(int n) {
    return static_cast<uint16_t>(1u << n);
}

constexpr std::array<Rule, kIndicatorCount> kRules = {{
    {"Position error", Source::Status, bit(0)},
    {"EEPROM error", Source::Status, bit(1) | bit(2)},
    {"Watchdog", Source::Status, bit(10)},
    {"Batt low on Pup", Source::Status, bit(4)},
    {"Battery Flat/Low", Source::Status, bit(13) | bit(14)},
    {"ESD Active", Source::Status, bit(15)},
    {"OIL-Open Inhibited", Source::OpenInhibit, bit(3)},
    {"CIL-Close Inhibited", Source::CloseInhibit, bit(4)},
    {"Torque Transducer fault", Source::Status, bit(9)},
    {"Local fault", Source::Status, bit(5) | bit(11) | bit(12)},
    {"T-stat trip", Source::Input, bit(7)},
    {"Phase Loss", Source::Status, bit(7)},
    {"Stalled", Source::Stall, bit(1)},
    {"Toff Open", Source::TorqueOff, bit(3)},
    {"Toff Close", Source::TorqueOff, bit(2)},
}};

bool isLit(const Rule& rule, const DiagnosticReadings& r) {
    auto any = [&rule](auto value) { return value && (*value & rule.mask) != 0; };
    auto inhibited = [&] {
        return r.interlock && r.input && (*r.interlock & kInterlocksEnabled) != 0 &&
               (*r.input & rule.mask) == 0;
    };
    switch (rule.source) {
        case Source::Status:
            return any(r.status);
        case Source::Stall:
            return any(r.stall);
        case Source::TorqueOff:
            return any(r.torqueOff);
        case Source::Input:
            return any(r.input);
        case Source::OpenInhibit:
        case Source::CloseInhibit:
            return inhibited();
    }
    return false;
}

constexpr std::array<const char*, kIndicatorCount> indicatorTexts() {
    std::array<const char*, kIndicatorCount> texts{};
    for (int i = 0; i < kIndicatorCount; ++i)
        texts[i] = kRules[i].text;
    return texts;
}

}  // namespace

const std::array<const char*, kIndicatorCount> kIndicatorTexts = indicatorTexts();

std::array<bool, kIndicatorCount> litIndicators(const DiagnosticReadings& readings) {
    std::array<bool, kIndicatorCount> lit{};
    for (int i = 0; i < kIndicatorCount; ++i)
        lit[i] = isLit(kRules[i], readings);
    return lit;
}

CDiagnostics::CDiagnostics(shell::Context& context) : NavigationScreen(context, "Diagnostics ") {
    section({}, 2, true);
    for (int i = 0; i < kIndicatorCount; ++i)
        lamps_[i] = &addLamp(kRules[i].text);
    section();
    addButton("Update", [this] { update(); });
    addNavigationButton("Back", shell::kMainMenu).isExit = true;
    addHelpButton();
}

void CDiagnostics::update() {
    link::LinkPort port(context_);
    portOpened_ = context_.port.isOpen();
    auto readWord = [&port](uint8_t command, uint8_t address) -> std::optional<uint16_t> {
        if (!port.sendCommand(command, address, 0, 0, 0, true)) return std::nullopt;
        return static_cast<uint16_t>(port.reply(8) | port.reply(9) << 8);
    };
    auto readByte = [&port](uint8_t command, uint8_t address) -> std::optional<uint8_t> {
        if (!port.sendCommand(command, address, 0, 0, 0, true)) return std::nullopt;
        return port.reply(8);
    };

    // Every read is made even after a failure; each failure is reported by itself.
    DiagnosticReadings readings;
    readings.status = readWord(link::READ_REGISTER, kStatusRegister);
    readings.stall = readWord(link::READ_REGISTER, kStallRegister);
    readings.torqueOff = readByte(link::READ_REGISTER, kTorqueOffRegister);
    readings.input = readByte(link::READ_STATUS, kInputStatusAddress);
    readings.interlock = readByte(link::READ_REGISTER, kInterlockRegister);
    port.close();

    const auto lit = litIndicators(readings);
    for (int i = 0; i < kIndicatorCount; ++i)
        lamps_[i]->lit = lit[i];
    const bool allRead = readings.status && readings.stall && readings.torqueOff &&
                         readings.input && readings.interlock;
    if (portOpened_) {
        char time[sizeof "hh:mm:ss"] = {};
        const std::time_t now = std::time(nullptr);
        std::strftime(time, sizeof time, "%H:%M:%S", std::localtime(&now));
        context_.status =
            std::string(allRead ? "Diagnostics read at " : "Diagnostics partly read at ") + time;
    }
}

}  // namespace vantrel::service

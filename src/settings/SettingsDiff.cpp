#include "settings/SettingsDiff.h"

#include <array>
#include <cstdio>
#include <span>

namespace vantrel::settings {

namespace {

namespace area = image::area;

// The areas after the EEPROM image, in image order. Where two of them overlap the
// first that holds a byte names it.
constexpr std::array<image::Area, 9> kOptionAreas = {
    area::MK2BUS_3,   area::VEXLINK_DIG_3, area::DEVICENET_3, area::MODBUS_3, area::PROFIBUS_3,
    area::TRACKLIN_3, area::ZRT_5,         area::OPT_SW_3,    area::MAIN_SW};

const image::Area* areaOf(int offset) {
    const auto holding = [offset](std::span<const image::Area> areas) -> const image::Area* {
        for (const image::Area& area : areas)
            if (offset >= area.offset && offset < area.offset + area.length) return &area;
        return nullptr;
    };
    const image::Area* found = holding(area::kEepromAreas);
    return found ? found : holding(kOptionAreas);
}

const Setting* find(const std::vector<Setting>& settings, const std::string& key) {
    for (const Setting& setting : settings)
        if (setting.key() == key) return &setting;
    return nullptr;
}

void markShown(const std::vector<Setting>& settings,
               std::array<uint8_t, image::kImageBytes>& shown) {
    for (const Setting& setting : settings)
        for (const auto& byte : setting.bytes)
            shown[byte.offset] |= byte.mask;
}

std::string hexByte(uint8_t byte) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", byte);
    return digits;
}

}  // namespace

std::string differenceValue(const Setting& setting) {
    if (setting.known || setting.raw.empty()) return setting.shown();
    return setting.shown() + " (raw " + setting.raw + ")";
}

Difference compare(const image::ConfigImage& a, const std::vector<Setting>& settingsA,
                   const image::ConfigImage& b, const std::vector<Setting>& settingsB) {
    Difference difference;
    for (const Setting& setting : settingsA) {
        const Setting* other = find(settingsB, setting.key());
        std::string valueA = differenceValue(setting);
        std::string valueB = other ? differenceValue(*other) : kNotOnSheet;
        if (valueA == valueB && other && setting.raw != other->raw) {
            // The same text for different stored values (an entry that stands for
            // several): the stored values tell them apart.
            valueA += " (raw " + setting.raw + ")";
            valueB += " (raw " + other->raw + ")";
        }
        if (valueA != valueB)
            difference.settings.push_back(
                {setting.page, setting.name, setting.key(), valueA, valueB});
    }
    for (const Setting& setting : settingsB)
        if (!find(settingsA, setting.key()))
            difference.settings.push_back(
                {setting.page, setting.name, setting.key(), kNotOnSheet, differenceValue(setting)});

    std::array<uint8_t, image::kImageBytes> shown{};
    markShown(settingsA, shown);
    markShown(settingsB, shown);
    for (int offset = 0; offset < image::kImageBytes; ++offset) {
        if (!a.holds(offset) || !b.holds(offset)) continue;
        const uint8_t byteA = a.bytes[offset];
        const uint8_t byteB = b.bytes[offset];
        if (((byteA ^ byteB) & ~shown[offset]) == 0) continue;
        const image::Area* in = areaOf(offset);
        difference.bytes.push_back(
            {in ? in->key : std::string_view{}, in ? offset - in->offset : offset, byteA, byteB});
    }
    return difference;
}

std::vector<std::string> differenceLines(const Difference& difference) {
    std::vector<std::string> lines;
    for (const auto& setting : difference.settings)
        lines.push_back(setting.key + ": " + setting.a + " -> " + setting.b);
    for (const auto& byte : difference.bytes) {
        const std::string where = byte.area.empty()
                                      ? "image byte " + std::to_string(byte.offset)
                                      : std::string(byte.area) + " +" + std::to_string(byte.offset);
        lines.push_back(where + ": " + hexByte(byte.a) + " -> " + hexByte(byte.b));
    }
    return lines;
}

void markDifferences(shell::Context& context, ui::Sheet& sheet, const image::ConfigImage& other) {
    const image::ConfigImage shown = context.image;
    const std::vector<Setting> settingsShown = readSettings(context);
    context.image = other;
    const std::vector<Setting> settingsOther = readSettings(context);
    context.image = shown;
    for (const SettingDifference& setting :
         compare(shown, settingsShown, other, settingsOther).settings)
        if (ui::Screen* page = sheet.page(setting.page)) page->markedNames.insert(setting.name);
}

}  // namespace vantrel::settings

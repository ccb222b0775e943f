#include "settings/NamedSettings.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "image/ImageTransfer.h"
#include "pages/ConfigPage.h"
#include "pages/ConfigSheet.h"
#include "registry/SheetPages.h"

namespace vantrel::settings {

namespace {

// The stored value of a field: the value of its bits, or for a field whose value
// is a run of bytes (a text) the bytes in hexadecimal.
std::string rawValue(const pages::Field& field, const image::ConfigImage& image) {
    const std::vector<pages::Field::HeldByte> held = field.heldBytes();
    if (static_cast<int>(held.size()) <= field.bits().bytes)
        return std::to_string(field.bits().read(image, field.bits().offset));
    std::string text;
    char digits[3];
    for (const auto& byte : held) {
        std::snprintf(digits, sizeof digits, "%02X", image.bytes[byte.offset] & byte.mask);
        text += digits;
    }
    return text;
}

// A setting lives in the identification half (serial numbers, notes).
bool inIdentificationHalf(const std::vector<pages::Field::HeldByte>& bytes) {
    if (bytes.empty()) return false;
    for (const auto& byte : bytes)
        if (byte.offset >= image::kConfigBase) return false;
    return true;
}

bool editable(const ui::Control& control) {
    if (!control.enabled) return false;
    if (control.kind == ui::ControlKind::Edit)
        return !static_cast<const ui::Edit&>(control).readOnly;
    return true;
}

}  // namespace

void readView(const ui::Screen& page, int view, const shell::Context& context,
              std::vector<Setting>& settings) {
    const auto* configPage = dynamic_cast<const pages::ConfigPage*>(&page);
    const uint8_t pageLevel = configPage ? configPage->rules().sendLevel : uint8_t{shell::kUser};
    const uint8_t sendLevel = std::max<uint8_t>(pageLevel, shell::kUser);
    for (const ui::ShownValue& shown : ui::shownValues(page)) {
        const pages::Field* field = configPage ? configPage->fieldOf(*shown.control) : nullptr;
        // A two-state button that no field stands behind switches the page's view
        // (the contact groups); it holds no setting.
        if (!field && shown.control->kind == ui::ControlKind::Button) continue;
        Setting setting;
        setting.page = page.title();
        setting.view = view;
        setting.name = shown.name;
        setting.value = shown.value;
        setting.known = !showsNothing(shown, field, context.image);
        if (field) {
            setting.raw = rawValue(*field, context.image);
            setting.bytes = field->heldBytes();
        }
        setting.changeable = editable(*shown.control) && context.loginLevel >= sendLevel;
        setting.identity = inIdentificationHalf(setting.bytes);
        settings.push_back(std::move(setting));
    }
}

std::string settingLine(const Setting& setting) {
    std::string line = setting.key() + ": " + setting.shown();
    if (!setting.known && !setting.raw.empty()) line += " (raw " + setting.raw + ")";
    return line;
}

bool showsNothing(const ui::ShownValue& shown, const pages::Field* field,
                  const image::ConfigImage& image) {
    if (shown.control->kind == ui::ControlKind::ComboBox &&
        static_cast<const ui::ComboBox&>(*shown.control).selected < 0)
        return true;
    if (field)
        for (const auto& byte : field->heldBytes())
            if (!image.holds(byte.offset)) return true;
    return false;
}

std::vector<Setting> readSettings(shell::Context& context) {
    const bool defaultView = context.defaultView;
    std::vector<Setting> settings;
    for (const std::string& title : pages::sheetPageTitles(context.image, context.loginLevel)) {
        std::unique_ptr<ui::Screen> page = registry::makePage(context, title);
        if (!page) continue;
        page->setUp();
        auto* configPage = dynamic_cast<pages::ConfigPage*>(page.get());
        const int views = configPage ? configPage->viewCount() : 1;
        for (int view = 0; view < views; ++view) {
            if (view > 0) configPage->showView(view);
            readView(*page, view, context, settings);
        }
    }
    context.defaultView = defaultView;
    return settings;
}

Identity readIdentity(shell::Context& context, const std::vector<Setting>& settings) {
    const image::ConfigImage& image = context.image;
    Identity identity;
    for (const Setting& setting : settings)
        if (setting.identity) identity.identification.emplace_back(setting.name, setting.value);
    const auto text = [&image](const image::Area& area) {
        std::string chars;
        for (int i = 0; i < area.length; ++i)
            if (const uint8_t byte = image.bytes[area.offset + i]) chars += static_cast<char>(byte);
        return chars;
    };
    identity.softwareVersion = text(image::area::MAIN_SW);
    identity.generation = image::isZr2(image) ? "ZR2" : "Pro";
    if (image.optionType != image::kNoOption) identity.optionCard = text(image::area::OPT_SW_3);
    identity.partTurn = (image.optionFlags & image::kPartTurnFlag) != 0;
    return identity;
}

}  // namespace vantrel::settings

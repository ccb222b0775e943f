#pragma once
// Every setting of the configuration sheet by name. A setting is a page's title and
// a control's name exactly as the page shows them, and its value is the control's
// text. Settings are read by building the sheet's pages on an image and loading
// them in each of their views, so a control added to a page is a setting with no
// further code, and nothing here knows an address or a bit.
#include <cstdint>
#include <string>
#include <vector>

#include "pages/Field.h"
#include "shell/Context.h"
#include "ui/ScreenDriver.h"

namespace vantrel::settings {

struct Setting {
    std::string page;
    int view = 0;  // the page's view that shows it (0 for a page of one view)
    std::string name;
    std::string value;  // the control's text
    bool known = true;  // false: the control shows nothing for the stored value
    // The field's stored value: a number, or for a text the bytes in hexadecimal.
    // Empty for a control that no field stands behind.
    std::string raw;
    std::vector<pages::Field::HeldByte> bytes;  // the image bytes it lives in
    bool changeable = false;                    // the login level may change and send it
    bool identity = false;                      // a serial number or note

    std::string key() const { return page + " / " + name; }
    // The value as printed: "?" when the control shows nothing.
    std::string shown() const { return known ? value : "?"; }
};

// "PAGE / NAME: VALUE", or "PAGE / NAME: ? (raw R)" for a control that shows nothing.
std::string settingLine(const Setting& setting);

// Whether a control shows nothing for its setting: a list with no entry selected,
// or a field whose bytes the image does not hold.
bool showsNothing(const ui::ShownValue& shown, const pages::Field* field,
                  const image::ConfigImage& image);

// Appends the settings of the view a page shows, loaded from the context's image.
void readView(const ui::Screen& page, int view, const shell::Context& context,
              std::vector<Setting>& settings);

// Every setting of every page the sheet holds for the context's image and login
// level, in sheet order, each page in each of its views. The pages are built on
// the context and loaded from its image; nothing is sent and the image is unchanged.
std::vector<Setting> readSettings(shell::Context& context);

// What identifies the actuator an image was read from.
struct Identity {
    // The serial numbers and notes: name, text.
    std::vector<std::pair<std::string, std::string>> identification;
    std::string softwareVersion;  // the main software's four identity characters
    std::string generation;       // "ZR2" or "Pro"
    std::string optionCard;       // the card's identity characters, empty without a card
    bool partTurn = false;
};

Identity readIdentity(shell::Context& context, const std::vector<Setting>& settings);

}  // namespace vantrel::settings

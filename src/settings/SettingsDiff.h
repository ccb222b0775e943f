#pragma once
// The difference between two images by setting name, then the bytes that differ
// where no page shows them (calibration, checksums, carried and option areas), by
// the image file's key for the area and the offset in it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/NamedSettings.h"
#include "ui/Sheet.h"

namespace vantrel::settings {

inline constexpr const char* kNotOnSheet = "(not on the sheet)";

struct SettingDifference {
    std::string page;
    std::string name;
    std::string key;  // "PAGE / NAME"
    std::string a;    // the value in the first image, kNotOnSheet when its sheet lacks it
    std::string b;
};

struct ByteDifference {
    std::string_view area;  // the image file's key; empty for a byte of no area
    int offset = 0;         // in the area (the image offset when there is no area)
    uint8_t a = 0;
    uint8_t b = 0;
};

struct Difference {
    std::vector<SettingDifference> settings;
    std::vector<ByteDifference> bytes;
    bool empty() const { return settings.empty() && bytes.empty(); }
};

// The value as a difference shows it: the shown value, with the raw value when the
// control shows nothing.
std::string differenceValue(const Setting& setting);

// Compares two images and the settings read from each: a setting differs when its
// text or its stored value does. Bytes that either image does not hold (a file cut
// short) are not compared.
Difference compare(const image::ConfigImage& a, const std::vector<Setting>& settingsA,
                   const image::ConfigImage& b, const std::vector<Setting>& settingsB);

// "PAGE / NAME: A -> B" and "AREA +OFFSET: AA -> BB", one a line.
std::vector<std::string> differenceLines(const Difference& difference);

// Marks on the sheet's pages (built on the context's image) every control whose
// setting differs in the other image; a page with a marked control marks its tab.
void markDifferences(shell::Context& context, ui::Sheet& sheet, const image::ConfigImage& other);

}  // namespace vantrel::settings

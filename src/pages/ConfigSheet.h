#pragma once
// The configuration sheet: which pages it holds, in which order, for the image's
// option card and the login level; building it with the menu's progress bar; and
// Done, which saves the image and closes the sheet.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/Context.h"
#include "ui/Screen.h"
#include "ui/Sheet.h"

namespace vantrel::pages {

inline constexpr const char* kSheetTitle = "Configuration";

// Page titles.
inline constexpr const char* kStopSettings = "Stop Settings";
inline constexpr const char* kContacts = "Contacts S1 to S8";
inline constexpr const char* kProtection = "Protection";
inline constexpr const char* kEsd = "ESD";
inline constexpr const char* kControl = "Control";
inline constexpr const char* kServiceNotes = "Service Notes";
inline constexpr const char* kMisc = "Misc";
inline constexpr const char* kVexlink1 = "Option - Vexlink 1";
inline constexpr const char* kVexlink2 = "Option - Vexlink 2";
inline constexpr const char* kTracklin = "Option - Tracklin";
inline constexpr const char* kModbus = "Option - Modbus";
inline constexpr const char* kProfibus = "Option - Profibus";
inline constexpr const char* kBusMk2Page1 = "Option - BUS mk2 page 1";
inline constexpr const char* kBusMk2Page2 = "Option - BUS mk2 page 2";
inline constexpr const char* kMultiport = "Multiport";
inline constexpr const char* kPartTurn = "ZRT";
inline constexpr const char* kSinglePhase = "Single Phase";

inline constexpr const char* kSaveQuestion = "Do you want to Save to file?";

// The titles of the pages a sheet holds, in tab order.
std::vector<std::string> sheetPageTitles(const image::ConfigImage& image, uint8_t loginLevel);

// Makes the page with a title; nullptr for a page this build does not have.
using PageMaker = std::function<std::unique_ptr<ui::Screen>(shell::Context&, const std::string&)>;

// Builds the sheet for the image in memory, moving the progress bar as the pages
// are created. Pages the maker does not have are left out.
std::unique_ptr<ui::Sheet> buildSheet(shell::Context& context, const PageMaker& makePage,
                                      ui::ProgressBar& progress);

// "Done": with a login, asks whether to save; on Yes puts parity and checksums right
// and saves the image to a file. Then closes the sheet through the page.
void doneSheet(shell::Context& context, ui::Screen& page);

}  // namespace vantrel::pages

#pragma once
// The datalogger operations on the link: the extraction (clock, version and
// identification registers, then the five groups, block by block for a ZR2 and in
// bursts for a Pro), saving its result to a .dfg file, and clearing the datalogger.
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "datalog/DatalogData.h"
#include "shell/Context.h"
#include "ui/Ui.h"

namespace vantrel::datalog {

inline constexpr const char* kDone = "DONE!!";
inline constexpr const char* kNoFileSelected = "No File Selected";
inline const ui::FileDialog kDatalogFileDialog{"DatalogData", "dfg", "Datalogger Files (*.dfg)",
                                               "*.dfg"};

// Shows one status text; it replaces the previous one.
using ShowStatus = std::function<void(const std::string&)>;

// Runs the extraction with the local time now, showing its progress. The port is
// closed again on return. Nothing when it was abandoned (the cause has been shown).
std::optional<DatalogRecord> extractDatalog(shell::Context& context, std::time_t now,
                                            const ShowStatus& status);

enum class SaveResult { Saved, Cancelled, Failed };

// Asks for the file with the save dialog and writes it; reports what went wrong.
SaveResult saveDatalog(shell::Context& context, const DatalogRecord& record);

// Sends RESET_DATALOGGER; a failure has been reported when it returns false.
bool resetDatalogger(shell::Context& context);

}  // namespace vantrel::datalog

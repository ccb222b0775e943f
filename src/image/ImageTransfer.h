#pragma once
// Whole-image extract and update over the link.
#include "shell/Context.h"

namespace vantrel::image {

// Reads the EEPROM image, option card, part-turn unit and identities.
bool extractImage(shell::Context& context);
// "Update EEPROM" (the caller moves the focus to "BACK" first): login check, question, file load,
// Local check, probe, write run.
bool updateImage(shell::Context& context);
// Asks "Do you want to extract from Actuator?": Yes extracts with the busy cursor on,
// No loads a file the user picks. The cursor is restored unless keepBusy is set and
// the extract succeeded (the caller goes on working and restores it). True when the
// image was filled.
bool fetchImage(shell::Context& context, bool keepBusy = false);

}  // namespace vantrel::image

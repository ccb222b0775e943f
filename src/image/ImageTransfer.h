#pragma once
// Whole-image extract and update over the link.
#include "shell/Context.h"

namespace vantrel::image {

// Reads the EEPROM image, option card, part-turn unit and identities.
bool extractImage(shell::Context& context);
// "Update EEPROM" (the caller moves the focus to "BACK" first): login check, question, file load,
// Local check, probe, write run.
bool updateImage(shell::Context& context);

}  // namespace vantrel::image

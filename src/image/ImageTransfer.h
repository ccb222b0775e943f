#pragma once
// Whole-image extract and update over the link.
#include "image/ImageState.h"

namespace vantrel::image {

// Reads the EEPROM image, option card, part-turn unit and identities.
bool extractImage(ImageState& state);
// "Update EEPROM" (the caller moves the focus to "BACK" first): login check (refused
// unless loggedIn), question, file load, Local check, probe, write run.
bool updateImage(ImageState& state, bool loggedIn);

}  // namespace vantrel::image

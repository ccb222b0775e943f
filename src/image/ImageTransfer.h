#pragma once
// Whole-image extract and update over the link.
#include "image/ImageState.h"

namespace vantrel::image {

inline constexpr const char* kExtractQuestion = "Do you want to extract from Actuator?";

// Reads the EEPROM image, option card, part-turn unit and identities. cardTypeUnread,
// when given, is set when the extract failed because the link failed as the option
// card type was asked for: the image then holds the EEPROM and the main identity,
// no option card and no part-turn unit, and may be saved as it stands.
bool extractImage(ImageState& state, bool* cardTypeUnread = nullptr);
// "Update EEPROM" (the caller moves the focus to "BACK" first): login check (refused
// unless loggedIn), question, file load, Local check, probe, write run.
bool updateImage(ImageState& state, bool loggedIn);
// Asks "Do you want to extract from Actuator?": Yes extracts with the busy cursor on,
// No loads a file the user picks. The cursor is restored unless keepBusy is set and
// the extract succeeded (the caller goes on working and restores it). True when the
// image was filled.
bool fetchImage(ImageState& state, bool keepBusy = false);
// Whether the main software identity the image holds names a ZR2 actuator (else Pro).
bool isZr2(const ConfigImage& image);

}  // namespace vantrel::image

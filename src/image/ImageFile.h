#pragma once
// Image files (*.ucf): one line per image area, key, tab, the bytes in hexadecimal.
#include <string>

#include "image/ImageFileFormat.h"
#include "image/ImageState.h"

namespace vantrel::image {

// What a save wrote: the file's name (without its folder) and its size in bytes.
struct SavedFile {
    std::string name;
    size_t bytes = 0;
};

// The status line after a save that did not happen.
inline constexpr const char* kNotSaved = "Not saved";

// Asks for a file with the save dialog and writes the image to it; saved, when
// given, is told what was written.
bool saveImageFile(ImageState& state, SavedFile* saved = nullptr);
// Asks for a file with the open dialog and fills the image from it; held, when
// given, is set to the EEPROM areas the file holds whole.
bool loadImageFile(ImageState& state, EepromAreasHeld* held = nullptr);

}  // namespace vantrel::image

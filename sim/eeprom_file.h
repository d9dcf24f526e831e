// The EEPROM images of all simulated chips as a text file, so that a test can look at them from
// outside the process that programs them (the whole program under Wine).
#pragma once

#include <string>
#include <vector>

#include "eeprom.h"

namespace sim {

// One line a chip, in device order, tab-separated: "device=K", "fields=" and the bytes of the
// chip's FT_PROGRAM_DATA record in hexadecimal (string pointers and header zero), then
// "manufacturer=", "manufacturer_id=", "description=" and "serial=" with the texts.
std::string EepromImagesText(const std::vector<const Eeprom*>& chips);

// Replaces the file's content with the images; a file that cannot be written is skipped.
void WriteEepromFile(const std::string& path, const std::vector<const Eeprom*>& chips);

}  // namespace sim

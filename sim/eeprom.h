// The configuration memory of one simulated FT232R, read and programmed through FT_PROGRAM_DATA.
#pragma once

#include <cstdint>
#include <string>

#include "d2xx.h"

namespace sim {

struct Eeprom {
  FT_PROGRAM_DATA fields{};  // all but the header and the string pointers
  std::string manufacturer;
  std::string manufacturerId;
  std::string description;
  std::string serial;
};

// A fresh chip as it leaves the factory, with the given description and serial number. The flag
// bytes of the version-2 layout differ from chip to chip (by `chip`), so that a field lost, or
// carried over from another chip, shows when the image is compared.
Eeprom FactoryEeprom(const std::string& description, const std::string& serial, uint32_t chip);

// Fills the caller's record and string buffers (32, 16, 64 and 16 bytes, as is usual).
FT_STATUS ReadEeprom(const Eeprom& eeprom, FT_PROGRAM_DATA* data);
// Takes the caller's record; strings that are missing, unterminated within those sizes, or a
// manufacturer and description longer than 40 characters together are refused.
FT_STATUS ProgramEeprom(const FT_PROGRAM_DATA* data, Eeprom* eeprom);

}  // namespace sim
